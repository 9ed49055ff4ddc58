// The platform's enumeration source: the graphics layer's driver, modes and devices.
#include "d3dframe/d3denum_source.h"

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/direct3d.h"

namespace {

class Platform_Source final : public D3DEnum_Source {
public:
    std::vector<Enum_Driver_Offer> Drivers() override
    {
        std::vector<Enum_Driver_Offer> drivers;
        DirectDrawEnumerateExA(
            [](GUID* guid, char* description, char*, void* context, void*) -> BOOL {
                Enum_Driver_Offer offer;
                offer.Has_Guid = guid != nullptr;
                if (guid)
                    offer.Guid = *guid;
                offer.Description = description ? description : "";
                static_cast<std::vector<Enum_Driver_Offer>*>(context)->push_back(offer);
                return TRUE;
            },
            &drivers,
            DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES);
        return drivers;
    }

    Driver_Open Open(const Enum_Driver_Offer& driver, Enum_Driver_Contents* contents) override
    {
        GUID guid = driver.Guid;
        void* object = nullptr;
        if (FAILED(DirectDrawCreateEx(driver.Has_Guid ? &guid : nullptr, &object, IID_IDirectDraw7, nullptr)))
            return Driver_Open::No_DirectDraw;
        IDirectDraw7* directdraw = static_cast<IDirectDraw7*>(object);
        IDirect3D7* direct3d = nullptr;
        if (FAILED(Query_Direct3D7(directdraw, &direct3d))) {
            directdraw->Release();
            return Driver_Open::No_Direct3D;
        }
        contents->Driver_Caps.dwSize = sizeof(DDCAPS);
        contents->Hel_Caps.dwSize = sizeof(DDCAPS);
        directdraw->GetCaps(&contents->Driver_Caps, &contents->Hel_Caps);
        directdraw->EnumDisplayModes(0, nullptr, &contents->Modes, [](DDSURFACEDESC2* mode, void* context) {
            static_cast<std::vector<DDSURFACEDESC2>*>(context)->push_back(*mode);
            return DDENUMRET_OK;
        });
        direct3d->EnumDevices(
            [](char* description, char* name, D3DDEVICEDESC7* caps, void* context) {
                static_cast<std::vector<Enum_Device_Offer>*>(context)->push_back(
                    {description ? description : "", name ? name : "", *caps});
                return D3DENUMRET_OK;
            },
            &contents->Devices);
        direct3d->Release();
        directdraw->Release();
        return Driver_Open::Opened;
    }
};

D3DEnum_Source* Installed = nullptr;

} // namespace

D3DEnum_Source& Enumeration_Source()
{
    static Platform_Source platform;
    return Installed ? *Installed : platform;
}

void Set_Enumeration_Source(D3DEnum_Source* source)
{
    Installed = source;
}
