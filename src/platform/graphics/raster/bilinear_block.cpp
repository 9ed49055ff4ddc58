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

// Eight pixels a block in 32-bit lanes; AVX-512 has a run of its own.
BLOCK_TARGET static void Shade_Bilinear_Run(const Texture& texture, int64_t u, int64_t du, int64_t v,
                                            int64_t dv, uint32_t diffuse, int count, const Run_Output& output)
{
    // Lanes 0, 1, 4, 5 in the first vector and 2, 3, 6, 7 in the second (see Block_Lanes).
    __m256i ua = Biased_Lanes(u, du, 0, 4), ub = Biased_Lanes(u, du, 2, 6);
    __m256i va = Biased_Lanes(v, dv, 0, 4), vb = Biased_Lanes(v, dv, 2, 6);
    const __m256i step_u = _mm256_set1_epi64x(8 * du), step_v = _mm256_set1_epi64x(8 * dv);
    const __m256i last_x = _mm256_set1_epi32(texture.width - 2),
                  last_y = _mm256_set1_epi32(texture.height - 2);
    const __m256i pitch = _mm256_set1_epi32(texture.pitch);
    const __m256i red = _mm256_set1_epi32((diffuse >> 16) & 255),
                  green = _mm256_set1_epi32((diffuse >> 8) & 255), blue = _mm256_set1_epi32(diffuse & 255);
    const uint8_t* row0 = texture.pixels;
    const uint8_t* row1 = texture.pixels + texture.pitch;
    alignas(32) int32_t offset[8];
    for (int k = 0; k < count; k += 8) {
        __m256i x0, y0, fu, fv;
        Pair_Tap(Block_Lanes(ua, ub), last_x, x0, fu);
        Pair_Tap(Block_Lanes(va, vb), last_y, y0, fv);
        ua = _mm256_add_epi64(ua, step_u), ub = _mm256_add_epi64(ub, step_u);
        va = _mm256_add_epi64(va, step_v), vb = _mm256_add_epi64(vb, step_v);
        __m256i bytes = _mm256_add_epi32(_mm256_mullo_epi32(y0, pitch), _mm256_slli_epi32(x0, 2));
        _mm256_store_si256(reinterpret_cast<__m256i*>(offset), bytes);
        Taps taps;
        Load_Pairs(row0, offset, taps.t00, taps.t10);
        Load_Pairs(row1, offset, taps.t01, taps.t11);
        Set_Weights(taps, fu, fv);
        __m256i rgb = _mm256_or_si256(
            _mm256_slli_epi32(Channel(taps, 16, red), 16),
            _mm256_or_si256(_mm256_slli_epi32(Channel(taps, 8, green), 8), Channel(taps, 0, blue)));
        if (output.sixteen_bits) {
            Store_Lanes_16(rgb, output.pixels + 2 * k, output.five_six_five, output.add, output.dither_bias);
            continue;
        }
        __m256i* pixels = reinterpret_cast<__m256i*>(output.pixels + 4 * k);
        if (output.add)
            rgb = _mm256_and_si256(_mm256_adds_epu8(rgb, _mm256_loadu_si256(pixels)),
                                   _mm256_set1_epi32(0x00FFFFFF));
        _mm256_storeu_si256(pixels, rgb);
    }
}

const Block_Functions Blocks = {Block_Available, Shade_Bilinear_Block, Shade_Bilinear_Run, nullptr, 8,
                                Add_Block_32,    Store_Block_16};

#undef BLOCK_TARGET
} // namespace Raster::Avx2

namespace Raster {
const Block_Functions& Avx2_Blocks = Avx2::Blocks;
}
