// Widened copies of textures for the software rasterizer. Its fast kernels read 32-bit
// texels only, so a texture of any other format (16-bit, 24-bit, palettised) is sampled
// through an X8R8G8B8 copy holding, texel for texel, the channels Fetch_Texel decodes from
// the original: the samples, and so the pixels, stay the reference's. A copy is taken when a
// state is queued, and kept over later flushes while the texture's revision stays the same;
// so are the row pairs (Texture::row_pairs) of a texture whose texels a run may read far apart.
#pragma once

#include "platform/graphics/raster/raster_types.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace Raster {

// Writes the width x height texels of texture as 0x00RRGGBB words, rows width words apart.
void Widen_Texels(const Texture& texture, uint32_t* out);

class Texture_Shadows {
public:
    // What to sample in place of texture: itself when it has 32-bit texels, else a copy.
    // The copy stays valid until the End_Flush after its last use.
    Texture Widened(const Texture& texture);
    // Widened(texture) with its row pairs, where the texture has at least 2 x 2 texels and
    // its pairs fit offsets of 31 bits.
    Texture With_Row_Pairs(const Texture& texture);
    // Ends a flush: copies not used for a while are dropped.
    void End_Flush();

private:
    std::vector<uint32_t> Free_Buffer(const Texture& texture, size_t size, bool row_pairs);
    const uint32_t* Kept(const Texture& texture, bool row_pairs);
    const uint32_t* Keep(const Texture& texture, std::vector<uint32_t> texels, bool row_pairs);

    struct Shadow {
        Texture source;
        std::vector<uint32_t> texels;
        uint64_t last_used = 0;
        bool row_pairs = false; // else the widened texels
    };
    std::deque<Shadow> kept_;                   // by revision, over flushes
    std::deque<std::vector<uint32_t>> retired_; // copies of this flush only
    uint64_t flush_ = 1;
};

} // namespace Raster
