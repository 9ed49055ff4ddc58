// Where device enumeration learns what the machine offers: the display drivers, and for
// each driver its capabilities, display modes and Direct3D devices. The platform source asks
// the graphics layer (DirectDrawEnumerateExA, DirectDrawCreateEx, the Direct3D object); tests
// install staged machines (secondary adapters, hardware devices, failing drivers).
#pragma once

#include "platform/graphics/d3d_types.h"
#include "platform/graphics/ddraw_types.h"
#include "platform/graphics/guid.h"

#include <string>
#include <vector>

struct Enum_Driver_Offer {
    bool Has_Guid = false; // false for the primary display driver
    GUID Guid{};
    std::string Description;
};

struct Enum_Device_Offer {
    std::string Description;
    std::string Name;
    D3DDEVICEDESC7 Caps{};
};

struct Enum_Driver_Contents {
    DDCAPS Driver_Caps{};
    DDCAPS Hel_Caps{};
    std::vector<DDSURFACEDESC2> Modes; // in the order the driver offers them
    std::vector<Enum_Device_Offer> Devices;
};

enum class Driver_Open { Opened, No_DirectDraw, No_Direct3D };

class D3DEnum_Source {
public:
    virtual ~D3DEnum_Source() = default;
    virtual std::vector<Enum_Driver_Offer> Drivers() = 0;
    virtual Driver_Open Open(const Enum_Driver_Offer& driver, Enum_Driver_Contents* contents) = 0;
};

// The installed source; the platform's own until a test installs another (null restores it).
D3DEnum_Source& Enumeration_Source();
void Set_Enumeration_Source(D3DEnum_Source* source);
