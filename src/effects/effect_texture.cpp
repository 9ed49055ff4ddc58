// Creating an effect's texture and locking it (see effect_texture.h).
#include "effects/effect_texture.h"

#include <algorithm>
#include <cstdio>

#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/graphics/surface.h"

namespace {

Effect_Texture_Store* Installed_Store = nullptr;

int32_t As_Extent(DWORD value)
{
    return static_cast<int32_t>(std::min<DWORD>(value, 0x7FFFFFFF));
}

} // namespace

Effect_Texture_Store& Default_Effect_Texture_Store();

Effect_Texture_Store& Effect_Textures()
{
    return Installed_Store != nullptr ? *Installed_Store : Default_Effect_Texture_Store();
}

void Set_Effect_Texture_Store(Effect_Texture_Store* store)
{
    Installed_Store = store;
}

HRESULT Create_Effect_Texture(const char* name, int32_t side, Depth_Choice choice, uint32_t& created_flags,
                              const Texture_Creation_Texts& texts)
{
    Trace_Enter(texts.trace);
    int width = 0, height = 0, bits = 0;
    if (!Sage::Grab_Current_Display_Mode(width, height, bits)) {
        Report(texts.grab_failed);
        return 0;
    }
    DWORD flags = 0;
    if (bits == 15 || bits == 16)
        flags = TEXTR_16BPP;
    else if (bits == 24)
        flags = (choice == Depth_Choice::Desktop_24_As_32) ? TEXTR_32BPP : TEXTR_16BPP;
    else if (bits == 32)
        flags = TEXTR_32BPP;
    else {
        Report(texts.invalid_bpp, bits);
        return 0;
    }
    if (flags == created_flags) {
        // The texture exists in this depth; the manager's restore gives it a surface.
        Trace_Exit(texts.trace);
        return 1;
    }

    Effect_Texture_Store& store = Effect_Textures();
    if (created_flags != 0) {
        store.Invalidate_Texture(name);
        store.Delete_Texture(name);
    }
    const DWORD edge = static_cast<DWORD>(std::max(side, int32_t{0}));
    HRESULT hr = store.Create_Empty_Texture(name, edge, edge, 0, flags | TEXTR_WITH_ALPHA);
    if (FAILED(hr))
        hr = store.Create_Empty_Texture(name, edge, edge, 0, flags);
    if (FAILED(hr))
        hr = store.Create_Empty_Texture(name, edge, edge, 0, TEXTR_16BPP);
    if (FAILED(hr)) {
        // Forget the flags, so the next device creation tries again instead of believing a
        // texture exists.
        created_flags = 0;
        Report(texts.create_failed, static_cast<int>(hr));
        return hr;
    }
    created_flags = flags;
    Trace_Exit(texts.trace);
    return 1;
}

HRESULT Lock_Effect_Texture(IDirectDrawSurface7* surface, Locked_Pixels& locked)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    const HRESULT hr = surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (FAILED(hr))
        return hr;
    locked.pixels = static_cast<uint8_t*>(desc.lpSurface);
    locked.pitch = desc.lPitch > 0 ? static_cast<uint32_t>(desc.lPitch) : 0;
    locked.width = As_Extent(desc.dwWidth);
    locked.height = As_Extent(desc.dwHeight);
    locked.bit_count = desc.ddpfPixelFormat.dwRGBBitCount;
    locked.green_mask = desc.ddpfPixelFormat.dwGBitMask;
    return hr;
}

void Unlock_Effect_Texture(IDirectDrawSurface7* surface)
{
    surface->Unlock(nullptr);
}
