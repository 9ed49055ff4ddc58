// The fuzz targets' device.
#include "fuzz_device.h"

#include "platform/graphics/device_base.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/directdraw.h"
#include "platform/graphics/pixel_format.h"
#include "platform/system/display_mode.h"

#include <cstdlib>

namespace fuzz {

IDirect3DDevice7* Texture_Device()
{
    static IDirect3DDevice7* const device = [] {
        static Fixed_Display_Mode desktop(64, 64, 32);
        Set_Display_Mode_Source(&desktop);
        IDirectDraw7* directdraw = nullptr;
        if (DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directdraw), IID_IDirectDraw7, nullptr) !=
            DD_OK)
            std::abort();
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = desc.dwHeight = 64;
        desc.ddsCaps.dwCaps = DDSCAPS_3DDEVICE;
        desc.ddpfPixelFormat = Make_Pixel_Format(Pixel_Layout::X8R8G8B8);
        IDirectDrawSurface7* target = nullptr;
        if (directdraw->CreateSurface(&desc, &target) != DD_OK)
            std::abort();
        return static_cast<IDirect3DDevice7*>(new Caps_Only_Device(IID_IDirect3DRGBDevice, target));
    }();
    return device;
}

} // namespace fuzz
