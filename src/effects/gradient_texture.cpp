// The gradient's texture: creation and the per-frame lock and fill (see gradient.h and
// effect_texture.h).
#include <cstdio>

#include "effects/effect_texture.h"
#include "effects/gradient.h"
#include "log/error_log.h"
#include "platform/graphics/surface.h"

HRESULT Gradient::Initialise_Gradient_Texture(const char* name, int32_t side)
{
    Trace_Enter("Initialise_Gradient_Texture");
    static constexpr Texture_Creation_Texts texts = {
        "Gradient::Initialise_Gradient_Texture: Grab_Current_Display_Mode FAILED",
        "Gradient::Initialise_Gradient_Texture: Invalid bpp %d",
        "Gradient::Initialise_Gradient_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return code "
        "%d",
    };
    const HRESULT hr =
        Create_Effect_Texture(name, side, Depth_Choice::Desktop_24_As_16, created_flags, texts);
    if (hr != 1)
        return 0; // every failure, a failed creation included, answers 0
    Trace_Exit("Initialise_Gradient_Texture");
    return 1;
}

HRESULT Gradient::Frame_Move(const char* name, double dt)
{
    Trace_Enter("Gradient::Frame_Move");
    IDirectDrawSurface7* surface = Effect_Textures().Find_Surface(name);
    if (surface == nullptr)
        return E_FAIL;
    Locked_Pixels locked;
    const HRESULT hr = Lock_Effect_Texture(surface, locked);
    if (FAILED(hr))
        return hr;
    is_565 = (locked.green_mask == Green_Mask_565);

    int filled = 0;
    const char* failure = nullptr;
    switch (locked.bit_count) {
    case 15:
    case 16:
        filled = Frame_Move_16(locked.pixels, locked.pitch, locked.width, locked.height, dt);
        failure = "Gradient::Frame_Move(): Frame_Move_16 FAILED";
        break;
    case 32:
        filled = Frame_Move_32(locked.pixels, locked.pitch, locked.width, locked.height, dt);
        failure = "Gradient::Frame_Move(): Frame_Move_32 FAILED";
        break;
    default:
        snprintf(Message_Buffer, sizeof Message_Buffer, "Gradient::Frame_Move(): Unhandled texture bpp %d",
                 static_cast<int>(locked.bit_count));
        Report(Message_Buffer);
        surface->Unlock(nullptr);
        return E_FAIL;
    }
    surface->Unlock(nullptr);
    if (!filled) {
        snprintf(Message_Buffer, sizeof Message_Buffer, "%s", failure);
        Report(Message_Buffer);
        return E_FAIL;
    }
    Trace_Exit("Gradient::Frame_Move");
    return 0;
}
