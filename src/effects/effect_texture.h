// The two patterns every procedural texture shares: creating its empty texture in a depth
// chosen from the desktop's, and locking the texture surface for one fill.
//
// The effects reach the texture manager through Effect_Texture_Store, so tests can stand in
// for it; the default store forwards to the texture manager.
#pragma once

#include <cstdint>

#include "d3dframe/d3dtextr.h"
#include "platform/graphics/ddraw_types.h"

class IDirectDrawSurface7;

class Effect_Texture_Store {
public:
    virtual ~Effect_Texture_Store() = default;
    virtual IDirectDrawSurface7* Find_Surface(const char* name) = 0;
    virtual HRESULT Create_Empty_Texture(const char* name, DWORD width, DWORD height, DWORD stage,
                                         DWORD flags) = 0;
    virtual HRESULT Invalidate_Texture(const char* name) = 0;
    virtual HRESULT Delete_Texture(const char* name) = 0;
};

Effect_Texture_Store& Effect_Textures();
// Installs a store (not owned); nullptr puts the texture manager back.
void Set_Effect_Texture_Store(Effect_Texture_Store* store);

// The trace name of one effect's texture creation and the messages it writes when its
// texture cannot be made.
struct Texture_Creation_Texts {
    const char* trace;
    const char* grab_failed;
    const char* invalid_bpp;   // with the desktop depth (%d)
    const char* create_failed; // with the last creation code (%d)
};

// Which texture depth a desktop depth gets. 15 and 16 always give 16 bits; 24 gives 32 bits
// where the effect can fill 24-bit pixels' wider cousin, else 16.
enum class Depth_Choice { Desktop_24_As_32, Desktop_24_As_16 };

// 1 when the texture exists in the right depth (made now or before); 0 when the desktop mode
// cannot be read or has an unusable depth; the last negative code when all three creation
// attempts failed. created_flags remembers the flags of the texture that exists, 0 for none.
HRESULT Create_Effect_Texture(const char* name, int32_t side, Depth_Choice choice, uint32_t& created_flags,
                              const Texture_Creation_Texts& texts);

// What a fill needs of a locked surface.
struct Locked_Pixels {
    uint8_t* pixels = nullptr;
    uint32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bit_count = 0;
    uint32_t green_mask = 0;
};

inline constexpr uint32_t Green_Mask_565 = 0x07E0;

// Locks the whole surface write-only (waiting while it is busy being drawn); the surface's
// own code on failure.
HRESULT Lock_Effect_Texture(IDirectDrawSurface7* surface, Locked_Pixels& locked);
void Unlock_Effect_Texture(IDirectDrawSurface7* surface);

// One frame's update of a named texture: find its surface (none: E_FAIL), prepare it (the
// sine wave clears it), lock it (a failure's code is returned), run fill(locked pixels) and
// unlock it whatever the fill answered. The result is the fill's.
template <typename Prepare, typename Fill>
HRESULT Update_Effect_Texture(const char* name, Prepare prepare, Fill fill)
{
    IDirectDrawSurface7* surface = Effect_Textures().Find_Surface(name);
    if (surface == nullptr)
        return E_FAIL;
    prepare(surface);
    Locked_Pixels locked;
    HRESULT hr = Lock_Effect_Texture(surface, locked);
    if (FAILED(hr))
        return hr;
    hr = fill(locked);
    Unlock_Effect_Texture(surface);
    return hr;
}

template <typename Fill> HRESULT Update_Effect_Texture(const char* name, Fill fill)
{
    return Update_Effect_Texture(
        name, [](IDirectDrawSurface7*) {}, fill);
}
