// The gradient's texture: creation and the per-frame lock and fill (see gradient.h and
// effect_texture.h).
#include <cstdio>

#include "effects/effect_texture.h"
#include "effects/gradient.h"
#include "log/error_log.h"

HRESULT Gradient::Initialise_Gradient_Texture(const char* name, int32_t side)
{
    static constexpr Texture_Creation_Texts texts = {
        "Initialise_Gradient_Texture",
        "Gradient::Initialise_Gradient_Texture: Grab_Current_Display_Mode FAILED",
        "Gradient::Initialise_Gradient_Texture: Invalid bpp %d",
        "Gradient::Initialise_Gradient_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return code "
        "%d",
    };
    // Every failure, a failed creation included, answers 0.
    return Create_Effect_Texture(name, side, Depth_Choice::Desktop_24_As_16, created_flags, texts) == 1 ? 1
                                                                                                        : 0;
}

HRESULT Gradient::Frame_Move(const char* name, double dt)
{
    Trace_Enter("Gradient::Frame_Move");
    const HRESULT hr = Update_Effect_Texture(name, [&](const Locked_Pixels& locked) -> HRESULT {
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
            Report("Gradient::Frame_Move(): Unhandled texture bpp %d", static_cast<int>(locked.bit_count));
            return E_FAIL;
        }
        if (!filled) {
            Report(failure);
            return E_FAIL;
        }
        return 0;
    });
    if (hr == 0)
        Trace_Exit("Gradient::Frame_Move");
    return hr;
}
