// The vector blocks built for AVX-512 (foundation, vector-length, byte/word and byte-permute
// parts), chosen at run time: the same 256-bit code with the registers and encodings AVX-512
// adds.
#include "platform/graphics/raster/bilinear_block.h"

#include <cstring>
#include <immintrin.h>

namespace Raster::Avx512 {
#define BLOCK_TARGET __attribute__((target("avx2,avx512f,avx512vl,avx512bw,avx512dq")))
bool Block_Available()
{
    static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
                                  __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
                                  __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vbmi");
    return available;
}
#include "platform/graphics/raster/bilinear_block_lanes.h"
const Block_Functions Blocks = {
    Block_Available, Shade_Bilinear_Block, Avx512_Shade_Run, Avx512_Needs_Row_Pairs, 1,
    Add_Block_32,    Store_Block_16};

#undef BLOCK_TARGET
} // namespace Raster::Avx512

namespace Raster {
const Block_Functions& Avx512_Blocks = Avx512::Blocks;
}
