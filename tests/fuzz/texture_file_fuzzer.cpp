// Any bytes as a texture's image file, ".bmp" or ".tga" by the first byte, with the creation
// flags of the second: created or refused, and a created texture restored on a device, lost
// and restored again from the image it keeps, then deleted without a trace.
#include "d3dframe/d3dtextr.h"
#include "fuzz_device.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    IDirect3DDevice7* device = fuzz::Texture_Device();
    const std::string path = fuzz::Write_Input_File(data + 2, size - 2, data[0] & 1 ? ".tga" : ".bmp");
    const DWORD flags =
        data[1] & (TEXTR_WHITE_KEY | TEXTR_BLACK_KEY | TEXTR_32BPP | TEXTR_16BPP | TEXTR_WITH_ALPHA);
    if (FAILED(D3DTextr_CreateTextureFromFile(path.c_str(), 0, flags))) {
        if (D3DTextr_First() != nullptr)
            std::abort();
        return 0;
    }
    const NamedTexture* texture = D3DTextr_Find(path.c_str());
    if (texture == nullptr || texture->width == 0 || texture->height == 0)
        std::abort();
    for (int pass = 0; pass < 2; ++pass) {
        if (SUCCEEDED(D3DTextr_RestoreTexture(path.c_str(), device)) &&
            D3DTextr_FindSurface(path.c_str()) == nullptr)
            std::abort();
        D3DTextr_InvalidateTexture(path.c_str());
    }
    D3DTextr_DeleteTexture(path.c_str());
    if (D3DTextr_First() != nullptr)
        std::abort();
    return 0;
}
