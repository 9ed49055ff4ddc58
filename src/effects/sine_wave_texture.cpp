// The sine wave's texture: creation, the clear before each frame, and the per-frame lock and
// fill (see sine_wave.h and effect_texture.h).
#include <algorithm>
#include <cstdio>

#include "effects/effect_texture.h"
#include "effects/sine_wave.h"
#include "log/error_log.h"
#include "platform/graphics/surface.h"
#include "settings/settings_file.h"

namespace {

// A surface still being drawn by the device is asked again; this many times at most.
constexpr int Clear_Attempts = 1000;

} // namespace

HRESULT Sine_Wave::Initialise_Sine_Wave_Texture(const char* name, int32_t side)
{
    static constexpr Texture_Creation_Texts texts = {
        "Initialise_Sine_Wave_Texture",
        "Sine_Wave::Initialise_Sine_Wave_Texture: Grab_Current_Display_Mode FAILED",
        "Sine_Wave::Initialise_Sine_Wave_Texture: Invalid bpp %d",
        "Sine_Wave::Initialise_Sine_Wave_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return "
        "code %d",
    };
    // There is no 24-bit fill: a 24-bit desktop gets a 16-bit texture.
    return Create_Effect_Texture(name, side, Depth_Choice::Desktop_24_As_16, created_flags, texts);
}

bool Sine_Wave::Clear_Surface(IDirectDrawSurface7* surface)
{
    DDBLTFX fx{};
    fx.dwSize = sizeof(DDBLTFX);
    fx.dwFillColor = 0;
    // Only a surface that is busy is worth asking again; any other failure (locked, lost, a
    // bad surface) would fail forever.
    for (int attempt = 0; attempt < Clear_Attempts; ++attempt) {
        const HRESULT hr = surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
        if (SUCCEEDED(hr))
            return true;
        if (hr != DDERR_WASSTILLDRAWING)
            return false;
    }
    return false;
}

HRESULT Sine_Wave::Frame_Move(const char* name, double dt)
{
    Trace_Enter("Sine_Wave::Frame_Move");
    // Through the view: a damaged settings file may hold a variance below 1 (the random steps
    // divide by it) or a density that would drive the wave's time to infinity.
    const Settings_View settings = View_Of(Live_Settings());
    density = settings.Sine_Wave_Density;
    variance = settings.Sine_Wave_Variance;

    const HRESULT hr = Update_Effect_Texture(
        name, [](IDirectDrawSurface7* surface) { Clear_Surface(surface); },
        [&](const Locked_Pixels& locked) -> HRESULT {
            is_565 = (locked.green_mask == Green_Mask_565);
            uint8_t* const pixels = locked.pixels;
            int filled = 0;
            switch (locked.bit_count) {
            case 15:
            case 16:
                filled = inverted ? Inverted_Multi_Sine_Wave_16(pixels, locked.pitch, locked.width,
                                                                locked.height, dt)
                                  : Multi_Sine_Wave_16(pixels, locked.pitch, locked.width, locked.height, dt);
                break;
            case 32:
                filled = inverted ? Inverted_Multi_Sine_Wave_32(pixels, locked.pitch, locked.width,
                                                                locked.height, dt)
                                  : Multi_Sine_Wave_32(pixels, locked.pitch, locked.width, locked.height, dt);
                break;
            default:
                Report("Sine_Wave::Frame_Move(): Unhandled texture bpp %d",
                       static_cast<int>(locked.bit_count));
                return E_FAIL;
            }
            return filled ? 0 : E_FAIL;
        });
    if (hr == 0)
        Trace_Exit("Sine_Wave::Frame_Move");
    return hr;
}
