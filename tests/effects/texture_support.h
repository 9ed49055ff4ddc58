// A stand-in for the texture manager that hands out real surfaces and records what the
// effects asked of it, and a fixed desktop mode, for the effects' creation and frame tests.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "effects/effect_texture.h"
#include "platform/graphics/directdraw.h"
#include "platform/graphics/pixel_format.h"
#include "platform/system/display_mode.h"

namespace effects_test {

class Fake_Texture_Store : public Effect_Texture_Store {
public:
    Fake_Texture_Store()
    {
        DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&Directdraw), IID_IDirectDraw7, nullptr);
        Set_Effect_Texture_Store(this);
    }
    ~Fake_Texture_Store() override
    {
        Set_Effect_Texture_Store(nullptr);
        for (auto& [name, surface] : Surfaces)
            surface->Release();
        Directdraw->Release();
    }

    // A texture surface of the given layout, found under the name.
    IDirectDrawSurface7* Add(const std::string& name, Pixel_Layout layout, DWORD width, DWORD height)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddpfPixelFormat = Make_Pixel_Format(layout);
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(Directdraw->CreateSurface(&desc, &surface), DD_OK);
        if (auto old = Surfaces.find(name); old != Surfaces.end())
            old->second->Release();
        Surfaces[name] = surface;
        return surface;
    }

    IDirectDrawSurface7* Find_Surface(const char* name) override
    {
        Calls.push_back(std::string("find ") + name);
        auto found = Surfaces.find(name);
        return found == Surfaces.end() ? nullptr : found->second;
    }
    HRESULT Create_Empty_Texture(const char* name, DWORD width, DWORD height, DWORD stage,
                                 DWORD flags) override
    {
        Calls.push_back("create " + std::string(name) + " " + std::to_string(width) + "x" +
                        std::to_string(height) + " stage " + std::to_string(stage) + " flags " +
                        std::to_string(flags));
        if (Create_Results.empty())
            return S_OK;
        const HRESULT hr = Create_Results.front();
        Create_Results.erase(Create_Results.begin());
        return hr;
    }
    HRESULT Invalidate_Texture(const char* name) override
    {
        Calls.push_back(std::string("invalidate ") + name);
        return S_OK;
    }
    HRESULT Delete_Texture(const char* name) override
    {
        Calls.push_back(std::string("delete ") + name);
        return S_OK;
    }

    IDirectDraw7* Directdraw = nullptr;
    std::map<std::string, IDirectDrawSurface7*> Surfaces;
    std::vector<std::string> Calls;
    std::vector<HRESULT> Create_Results; // answers of the next creations, then S_OK
};

// Installs a fixed desktop mode for the life of a test.
class Desktop_Guard {
public:
    explicit Desktop_Guard(int bits, bool available = true) : Mode(1024, 768, bits, available)
    {
        Set_Display_Mode_Source(&Mode);
    }
    ~Desktop_Guard() { Set_Display_Mode_Source(nullptr); }
    Fixed_Display_Mode Mode;
};

// The pixels of a locked surface, read back after an update.
inline uint32_t Pixel_Of(IDirectDrawSurface7* surface, DWORD x, DWORD y)
{
    const DWORD bytes = Bytes_Per_Pixel(surface->Format());
    uint32_t value = 0;
    std::memcpy(&value, surface->Bits() + y * surface->Pitch() + x * bytes, bytes);
    return value;
}

} // namespace effects_test
