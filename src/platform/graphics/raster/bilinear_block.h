// Eight pixels of the software rasterizer's common case at once: bilinear samples of a
// clamped 32-bit texture, modulated by the diffuse colour, with AVX2 integer lanes. The
// arithmetic is exactly that of pixel_pipeline.h (same products, sums and shifts, all in
// 32-bit lanes without overflow), so the result is the reference's to the bit.
#pragma once

#include "platform/graphics/raster/raster_types.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <cstdint>

namespace Raster {

struct Bilinear_Block {
    // Texel positions with 8 fraction bits (the 24-bit positions shifted down), limited to
    // +-2^30: beyond that both taps clamp to the same edge texel, so the limit changes nothing.
    int32_t u[8];
    int32_t v[8];
    // Diffuse colour channels 0..255.
    uint32_t red[8];
    uint32_t green[8];
    uint32_t blue[8];
};

// Source colours of a span with one diffuse colour go straight into target pixels (see
// Block_Functions::shade_run).
struct Run_Output {
    uint8_t* pixels = nullptr; // the run's first pixel
    bool sixteen_bits = false; // 16-bit pixels, else X8R8G8B8
    bool five_six_five = false;
    bool add = false;
    const uint32_t* dither_bias = nullptr; // of the first 8 pixels; the run repeats them (8 = 2 periods)
};

// The block functions built for one instruction set.
struct Block_Functions {
    // True when the processor runs them.
    bool (*available)();
    // Writes eight 0x00RRGGBB source colours. The texture must be 32 bits per texel with a
    // pitch that is a multiple of 4.
    void (*shade_block)(const Texture& texture, const Bilinear_Block& block, uint32_t out[8]);
    // Source colours of count pixels (see run_multiple) of a span with one diffuse colour
    // (0x00RRGGBB): texel positions u + i*du and v + i*dv with 24 fraction bits, each below
    // 2^45 in magnitude over the whole run. The texture must be 32 bits per texel, at least
    // 2 x 2. Texel positions are stepped in vector lanes and each 2 x 2 neighbourhood is read
    // as two 64-bit loads; a clamped tap is folded into its neighbour's weight, which gives the
    // same sum. The colours go into output as add_32 or store_16 would put them.
    void (*shade_run)(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv, uint32_t diffuse,
                      int count, const Run_Output& output);
    // Null, or whether shade_run cannot draw a run with these texel steps because the texture
    // lacks its row pairs (Texture::row_pairs).
    bool (*needs_row_pairs)(const Texture& texture, int64_t du, int64_t dv);
    // shade_run's count must be a multiple of this, a power of two (1: it masks the last block
    // itself).
    int run_multiple;
    // out[i] = saturating per-channel sum of source[i] and out[i] (X8R8G8B8 pixels).
    void (*add_32)(const uint32_t source[8], uint32_t* out);
    // Stores eight source colours into 16-bit pixels (5-6-5 or X1-5-5-5), added to what is
    // there when add is set, quantised as Store_Target does: dither_bias[i] = (2 * D + 1) * 255
    // of each pixel's ordered-dither value D, or null to round to the nearest level.
    void (*store_16)(const uint32_t source[8], uint8_t* out, bool five_six_five, bool add,
                     const uint32_t* dither_bias);
};

// Whether some block of a run with these texel steps (24 fraction bits) may have its texel
// pairs too far apart for the AVX-512 run's windows, so that it loads them from the row pairs.
bool Avx512_May_Load_Pairs(const Texture& texture, int64_t du, int64_t dv);
// Whether Avx512_Shade_Run needs row pairs the texture lacks.
bool Avx512_Needs_Row_Pairs(const Texture& texture, int64_t du, int64_t dv);

// The flat run in 16-bit lanes, sixteen pixels a block, any count (bilinear_run_avx512.cpp).
void Avx512_Shade_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv, uint32_t diffuse,
                      int count, const Run_Output& output);

// The same run in 16-bit lanes of AVX2, eight pixels a block (bilinear_run_avx2.cpp).
void Avx2_Shade_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv, uint32_t diffuse,
                    int count, const Run_Output& output);

// The covered pixels [left, right) of row y.
struct Row_Extent {
    int32_t y, left, right;
};

// The rows of one triangle with one diffuse colour, drawn as Avx512_Shade_Run draws a run:
// the texel planes u, v (their positions below 2^45 in magnitude at every pixel drawn), the
// texture (32 bits per texel, at least 2 x 2, pitch a multiple of 4) and the target.
struct Rows_Job {
    const Texture* texture = nullptr;
    Plane u, v;
    uint32_t diffuse = 0; // 0x00RRGGBB
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    bool sixteen_bits = false, five_six_five = false, add = false;
    // Null, or the (2 * D + 1) * 255 of the dither values of the eight pixels from x, y at
    // [8 * (4 * (y & 3) + (x & 3))], as Run_Output::dither_bias.
    const uint32_t* dither_biases = nullptr;
};

// The runs of count rows, the set-up shared (bilinear_run_avx512.cpp, bilinear_run_avx2.cpp).
void Avx512_Shade_Rows(const Rows_Job& job, const Row_Extent* rows, int count);
void Avx2_Shade_Rows(const Rows_Job& job, const Row_Extent* rows, int count);

extern const Block_Functions& Avx2_Blocks;
extern const Block_Functions& Avx512_Blocks;

} // namespace Raster
