// A display-mode description as the DirectDraw object reports one, for staging modes in tests.
#pragma once

#include "platform/graphics/ddraw_types.h"

inline DDSURFACEDESC2 Mode(DWORD width, DWORD height, DWORD bits, bool stereo = false)
{
    DDSURFACEDESC2 mode{};
    mode.dwSize = DDSURFACEDESC2_SIZE;
    mode.dwWidth = width;
    mode.dwHeight = height;
    mode.ddpfPixelFormat.dwRGBBitCount = bits;
    mode.ddsCaps.dwCaps2 = stereo ? DDSCAPS2_STEREOSURFACELEFT : 0;
    return mode;
}
