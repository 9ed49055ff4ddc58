// The framework's message table and its message box.
#include "d3dframe/framework_error.h"

#include "platform/graphics/dd_codes.h"
#include "platform/system/message_box.h"

#include <cstdio>
#include <cstring>

namespace {

struct Message {
    HRESULT Code;
    const char* Text;
};

const Message Messages[] = {
    {ENUMERR_NO_DIRECTDRAW, "Could not create DirectDraw!"},
    {ENUMERR_ENUMERATION_FAILED,
     "Enumeration failed. Your system may be in an\nunstable state and need to be rebooted"},
    {ENUMERR_SUGGEST_REFERENCE, "Could not find any compatible devices.\n\nTry enabling the reference "
                                "rasterizer using\nEnableRefRast.reg."},
    {ENUMERR_NO_COMPATIBLE_DEVICE, "Could not find any compatible Direct3D\ndevices."},
    {FWERR_INIT_FAILED, "Generic initialization error.\n\nEnable debug output for detailed information."},
    {FWERR_NO_DIRECTDRAW, "No DirectDraw"},
    {FWERR_NO_COOP_LEVEL, "Could not set Cooperative Level"},
    {FWERR_NO_DIRECT3D, "No Direct3D"},
    {FWERR_NO_DEVICE, "Could not create the Direct3DDevice object."},
    {FWERR_NO_ZBUFFER, "No ZBuffer"},
    {FWERR_BAD_ZBUFFER_DEPTH,
     "Invalid Z-buffer depth. Try switching modes\nfrom 16- to 32-bit (or vice versa)"},
    {FWERR_NO_VIEWPORT, "No Viewport"},
    {FWERR_NO_PRIMARY, "No primary"},
    {FWERR_NO_CLIPPER, "No Clipper"},
    {FWERR_BAD_DISPLAY_MODE, "Bad display mode"},
    {FWERR_NO_BACKBUFFER, "No backbuffer"},
    {FWERR_REFCOUNT_LEFT,
     "A DDraw object has a non-zero reference\ncount (meaning it was not properly cleaned up)."},
    {FWERR_NO_RENDER_TARGET, "No render target"},
    {FWERR_DESKTOP_TOO_FEW_COLOURS,
     "This sample requires a 16-bit (or higher) display mode\nto run in a window.\n\n"
     "Please switch your desktop settings accordingly."},
    {E_OUTOFMEMORY, "Not enough memory!"},
    {DDERR_OUTOFVIDEOMEMORY, "There was insufficient video memory to use the\nhardware device."},
};

const char* Text_Of(HRESULT code)
{
    for (const Message& m : Messages) {
        if (m.Code == code) {
            return m.Text;
        }
    }
    return "Generic application error.\n\nEnable debug output for detailed information.";
}

void Append(char* buffer, std::size_t size, const char* text)
{
    std::size_t used = std::strlen(buffer);
    if (used + 1 < size) {
        std::snprintf(buffer + used, size - used, "%s", text);
    }
}

} // namespace

UINT Framework_Error_Text(HRESULT code, DWORD kind, char* buffer, std::size_t size)
{
    if (!buffer || size == 0) {
        return MB_ICONWARNING;
    }
    std::snprintf(buffer, size, "%s", Text_Of(code));
    if (kind == ERRMSG_MUST_EXIT) {
        Append(buffer, size, "\n\nThis sample will now exit.");
        return MB_ICONERROR;
    }
    if (kind == ERRMSG_SWITCHED_TO_SOFTWARE) {
        if (code == FWERR_NO_DEVICE) {
            Append(buffer, size,
                   "\nThe 3D hardware chipset may not support\nrendering in the current display mode.");
        }
        Append(buffer, size, "\n\nSwitching to software rasterizer.");
    }
    return MB_ICONWARNING;
}

void ShowFrameworkError(HRESULT code, DWORD kind, const char* window_title)
{
    char text[512];
    UINT icon = Framework_Error_Text(code, kind, text, sizeof text);
    MessageBoxA(nullptr, text, window_title ? window_title : "", icon);
}
