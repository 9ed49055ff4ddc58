// The Direct3D object (IDirect3D7): lists the drawing devices, makes a device on a render
// target, and lists the z-buffer formats of a device. It is reached from a DirectDraw object
// as the platform's QueryInterface would (Query_Direct3D7).
//
// The device table holds what is offered: by default the software rasterizer (the plain
// software identity, IID_IDirect3DRGBDevice) and the reference rasterizer
// (IID_IDirect3DRefDevice). Tests stage other tables (hardware devices, z-buffer formats,
// capabilities, failures) and Reset_Direct3D_Devices puts the default back.
#pragma once

#include "platform/graphics/d3d_device.h"
#include "platform/graphics/directdraw.h"

#include <string>
#include <vector>

using LPD3DENUMDEVICESCALLBACK7 = HRESULT (*)(char* description, char* name, D3DDEVICEDESC7* desc,
                                              void* context);

struct Direct3D_Device_Entry {
    std::string Description; // the long text
    std::string Name;        // the short name shown to the user
    D3DDEVICEDESC7 Caps{};   // deviceGUID identifies the device type
    std::vector<DWORD> Z_Buffer_Depths;
    bool Creatable = true; // false: CreateDevice fails (a device that cannot start)
};

std::vector<Direct3D_Device_Entry>& Direct3D_Devices();
void Reset_Direct3D_Devices();
// When set, Query_Direct3D7 fails (tests of the paths without Direct3D).
extern bool Direct3D_Unavailable;

class IDirect3D7 : public Ref_Counted {
public:
    explicit IDirect3D7(IDirectDraw7* directdraw);

    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context);
    // The device draws into target (a 16- or 32-bit RGB surface); a reference to target is kept.
    HRESULT CreateDevice(REFGUID device_type, IDirectDrawSurface7* target, IDirect3DDevice7** device);
    HRESULT EnumZBufferFormats(REFGUID device_type, LPD3DENUMPIXELFORMATSCALLBACK callback, void* context);

private:
    ~IDirect3D7() override;
    IDirectDraw7* DirectDraw; // a reference is held, as the interface shares its object
};

// QueryInterface of a DirectDraw object for IID_IDirect3D7 (a new reference on success).
HRESULT Query_Direct3D7(IDirectDraw7* directdraw, IDirect3D7** direct3d);
