// The titles texture: its creation in the texture manager, and redrawing it with a new title.
// Creation follows the effects' pattern, except that the titles never ask for an alpha
// channel: the text's brightness on the screen comes from the quad's colour.
#include "effects/effect_texture.h"
#include "effects/titles.h"

#include "d3dframe/sage_clear.h"
#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/graphics/surface.h"

#include <algorithm>
#include <cstdio>

namespace {

// Creates the texture in the depth chosen, or in 16 bits; the last code when both fail.
HRESULT Create_Titles_Texture(const char* name, int side, uint32_t flags)
{
    const DWORD edge = static_cast<DWORD>(std::max(side, 0));
    Effect_Texture_Store& store = Effect_Textures();
    HRESULT result = store.Create_Empty_Texture(name, edge, edge, 0, flags);
    if (FAILED(result))
        result = store.Create_Empty_Texture(name, edge, edge, 0, TEXTR_16BPP);
    return result;
}

} // namespace

int Titles_Image::Initialise_Titles_Texture(const char* texture_name, int side)
{
    Trace_Enter("Initialise_Titles_Texture");
    int width = 0, height = 0, bits_per_pixel = 0;
    if (!Sage::Grab_Current_Display_Mode(width, height, bits_per_pixel)) {
        Report("Titles::Initialise_Titles_Texture: Grab_Current_Display_Mode FAILED");
        return 0;
    }
    uint32_t flags = 0;
    if (bits_per_pixel == 15 || bits_per_pixel == 16) {
        flags = TEXTR_16BPP;
    } else if (bits_per_pixel == 24 || bits_per_pixel == 32) {
        flags = TEXTR_32BPP;
    } else {
        Report("Titles::Initialise_Titles_Texture: Invalid desktop bpp %d", bits_per_pixel);
        return 0;
    }
    if (flags != Created_Flags) {
        if (Created_Flags != 0) {
            Effect_Textures().Invalidate_Texture(texture_name);
            Effect_Textures().Delete_Texture(texture_name);
        }
        const HRESULT result = Create_Titles_Texture(texture_name, side, flags);
        if (FAILED(result)) {
            // Nothing exists now, so the next attempt (the scene retries at 256) must create.
            Created_Flags = 0;
            Report("Titles::Initialise_Titles_Texture(): D3DTextr_CreateEmptyTexture Titles FAILED with "
                   "return code %d",
                   static_cast<int>(result));
            return result;
        }
        Created_Flags = flags;
    }
    Trace_Exit("Initialise_Titles_Texture");
    return 1;
}

int Titles_Image::Update_Title_Text(const char* texture_name, const char* title)
{
    IDirectDrawSurface7* surface = Effect_Textures().Find_Surface(texture_name);
    if (!surface)
        return 0;
    Sage::Clear(surface);
    // The lock only reads the surface's size; the text goes in through a device context.
    DDSURFACEDESC2 description{};
    description.dwSize = DDSURFACEDESC2_SIZE;
    const HRESULT locked = surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (FAILED(locked))
        return locked;
    char text[256]; // at most 255 characters of the title
    snprintf(text, sizeof text, "%s", title ? title : "");
    const auto width = static_cast<int>(description.dwWidth);
    const auto height = static_cast<int>(description.dwHeight);
    surface->Unlock(nullptr);
    Output_Title_Text(surface, 0, 0, text, width, height);
    return 1;
}
