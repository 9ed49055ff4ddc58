// One enumerated Direct3D device with the display modes it can render in (sorted by width,
// height, then bits per pixel), the full-screen mode it uses and its windowed and stereo
// flags. The list of records lives in d3denum; the records never move, so the GUID pointers
// may point into the record itself.
#pragma once

#include "platform/graphics/d3d_types.h"
#include "platform/graphics/ddraw_types.h"
#include "platform/graphics/guid.h"

#include <vector>

struct DeviceRecord {
    char description[40]; // at most 39 characters and a terminator
    GUID* device_guid_ptr;
    D3DDEVICEDESC7 device_desc;
    bool is_hardware;
    GUID* driver_guid_ptr; // none for the primary display driver
    DDCAPS driver_caps;
    DDCAPS hel_caps;
    DDSURFACEDESC2 fullscreen_mode;
    bool windowed;
    bool stereo;
    GUID device_guid;
    GUID driver_guid;
    std::vector<DDSURFACEDESC2> modes;
    DWORD mode_count;
    DWORD current_mode;
    bool desktop_compatible;
    bool stereo_compatible;
};

// The display-mode order: width, then height, then bits per pixel, each ascending.
bool Mode_Before(const DDSURFACEDESC2& a, const DDSURFACEDESC2& b);
