// A device for the geometry tests: reports a fixed viewport and records every DrawPrimitive
// call (type, vertex format, first vertex, count), optionally failing from a given call on.
#pragma once

#include "platform/graphics/device_base.h"

#include <vector>

struct Recorded_Draw {
    D3DPRIMITIVETYPE Type;
    DWORD Format;
    const void* Vertices;
    DWORD Count;
    DWORD Flags;
};

class Recording_Device : public Caps_Only_Device {
public:
    Recording_Device() : Caps_Only_Device(D3DDEVICEDESC7{}, {}, nullptr) {}

    DWORD Width = 640;
    DWORD Height = 480;
    std::vector<Recorded_Draw> Draws;
    int Fail_From_Call = -1; // 0-based index of the first failing call, -1 for none
    HRESULT Failure = static_cast<HRESULT>(0x88760096u);

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD format, void* vertices, DWORD count,
                          DWORD flags) override
    {
        const bool fail = Fail_From_Call >= 0 && static_cast<int>(Draws.size()) >= Fail_From_Call;
        Draws.push_back({type, format, vertices, count, flags});
        return fail ? Failure : D3D_OK;
    }
    HRESULT GetViewport(D3DVIEWPORT7* viewport) override
    {
        *viewport = D3DVIEWPORT7{0, 0, Width, Height, 0.0f, 1.0f};
        return D3D_OK;
    }
};
