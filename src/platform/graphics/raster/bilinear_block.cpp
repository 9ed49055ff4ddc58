// The vector blocks built for AVX2, chosen at run time.
#include "platform/graphics/raster/bilinear_block.h"

#include <cstring>
#include <immintrin.h>

namespace Raster::Avx2 {
#define BLOCK_TARGET __attribute__((target("avx2")))
bool Block_Available()
{
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
#include "platform/graphics/raster/bilinear_block_lanes.h"

const Block_Functions Blocks = {Block_Available, Shade_Bilinear_Block, Avx2_Shade_Run, nullptr, 1,
                                Add_Block_32,    Store_Block_16};

#undef BLOCK_TARGET
} // namespace Raster::Avx2

namespace Raster {
const Block_Functions& Avx2_Blocks = Avx2::Blocks;
}
