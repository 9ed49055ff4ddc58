// The Direct3D object and its device table.
#include "platform/graphics/direct3d.h"

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/pixel_format.h"
#include "platform/graphics/rasterizer_device.h"

#include <cstring>

bool Direct3D_Unavailable = false;

namespace {

std::vector<Direct3D_Device_Entry> Default_Devices()
{
    return {
        {"Software rasterizer of Lucivanta",
         "Software Rasterizer",
         Rasterizer_Device_Description(IID_IDirect3DRGBDevice),
         {16, 24, 32},
         true},
        {"Exact reference rasterizer of Lucivanta",
         "Reference Rasterizer",
         Rasterizer_Device_Description(IID_IDirect3DRefDevice),
         {16, 24, 32},
         true},
    };
}

const Direct3D_Device_Entry* Find_Device(REFGUID type)
{
    for (const Direct3D_Device_Entry& entry : Direct3D_Devices())
        if (entry.Caps.deviceGUID == type)
            return &entry;
    return nullptr;
}

} // namespace

std::vector<Direct3D_Device_Entry>& Direct3D_Devices()
{
    static std::vector<Direct3D_Device_Entry> devices = Default_Devices();
    return devices;
}

void Reset_Direct3D_Devices()
{
    Direct3D_Devices() = Default_Devices();
    Direct3D_Unavailable = false;
}

IDirect3D7::IDirect3D7(IDirectDraw7* directdraw) : DirectDraw(directdraw)
{
    DirectDraw->AddRef();
}

IDirect3D7::~IDirect3D7()
{
    DirectDraw->Release();
}

HRESULT IDirect3D7::EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context)
{
    if (!callback)
        return DDERR_INVALIDPARAMS;
    for (const Direct3D_Device_Entry& entry : std::vector<Direct3D_Device_Entry>(Direct3D_Devices())) {
        std::string description = entry.Description, name = entry.Name;
        D3DDEVICEDESC7 caps = entry.Caps;
        if (callback(description.data(), name.data(), &caps, context) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT IDirect3D7::CreateDevice(REFGUID device_type, IDirectDrawSurface7* target, IDirect3DDevice7** device)
{
    if (!device)
        return DDERR_INVALIDPARAMS;
    *device = nullptr;
    const Direct3D_Device_Entry* entry = Find_Device(device_type);
    if (!entry || !entry->Creatable || !target)
        return DDERR_INVALIDPARAMS;
    const DDPIXELFORMAT& format = target->Format();
    Raster::Pixel_Format raster_format;
    if (!Raster_Format_Of(format, &raster_format) || !Raster::Is_Target_Format(raster_format))
        return DDERR_INVALIDPIXELFORMAT;
    // Hardware types are drawn by the software rasterizer when a test stages them.
    *device = new Rasterizer_Device(entry->Caps, target);
    return D3D_OK;
}

HRESULT IDirect3D7::EnumZBufferFormats(REFGUID device_type, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                       void* context)
{
    const Direct3D_Device_Entry* entry = Find_Device(device_type);
    if (!callback || !entry)
        return DDERR_INVALIDPARAMS;
    for (DWORD depth : entry->Z_Buffer_Depths) {
        DDPIXELFORMAT format = Make_Z_Buffer_Format(depth);
        if (callback(&format, context) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT Query_Direct3D7(IDirectDraw7* directdraw, IDirect3D7** direct3d)
{
    if (!direct3d)
        return DDERR_INVALIDPARAMS;
    *direct3d = nullptr;
    if (!directdraw || Direct3D_Unavailable)
        return E_NOINTERFACE;
    *direct3d = new IDirect3D7(directdraw);
    return D3D_OK;
}
