// The plasma's texture: its creation from the desktop's depth and the per-frame lock and fill
// (see plasma.h and effect_texture.h).
#include <cstdio>

#include "effects/effect_texture.h"
#include "effects/plasma.h"
#include "log/error_log.h"

HRESULT Plasma::Initialise_Plasma_Texture(const char* name, int32_t side)
{
    static constexpr Texture_Creation_Texts texts = {
        "Initialise_Plasma_Texture",
        "Plasma::Initialise_Plasma_Texture: Grab_Current_Display_Mode FAILED",
        "Plasma::Initialise_Plasma_Texture: Invalid desktop bpp %d",
        "Plasma::Initialise_Plasma_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return code %d",
    };
    return Create_Effect_Texture(name, side, Depth_Choice::Desktop_24_As_32, created_flags, texts);
}

HRESULT Plasma::Frame_Move(const char* name, double dt)
{
    // A plasma whose tables could not be built shows nothing and keeps the frame going.
    if (!Has_Tables())
        return 0;
    Trace_Enter("Plasma::Frame_Move");
    bool drawn = false;
    const HRESULT hr = Update_Effect_Texture(name, [&](const Locked_Pixels& locked) -> HRESULT {
        is_565 = (locked.green_mask == Green_Mask_565);
        int filled = 0;
        switch (locked.bit_count) {
        case 15:
        case 16:
            filled = Multi_Colour_Plasma_16(locked.pixels, locked.pitch, locked.width, locked.height, dt);
            break;
        case 24:
            filled = Multi_Colour_Plasma_24(locked.pixels, locked.pitch, locked.width, locked.height, dt);
            break;
        case 32:
            filled = Multi_Colour_Plasma_32(locked.pixels, locked.pitch, locked.width, locked.height, dt);
            break;
        default:
            // Reported, but the frame goes on without the plasma moving.
            Report("Plasma::Frame_Move(): Unhandled texure bpp %d", static_cast<int>(locked.bit_count));
            return 0;
        }
        drawn = (filled != 0);
        return drawn ? 0 : E_FAIL;
    });
    if (drawn)
        Trace_Exit("Plasma::Frame_Move");
    return hr;
}
