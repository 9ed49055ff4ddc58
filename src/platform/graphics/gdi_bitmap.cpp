// Bitmap loading (LoadImageA over our own reader) and the surface device contexts.
#include "platform/graphics/gdi_objects.h"
#include "platform/system/debug_output.h"
#include "platform/system/files.h"

#include <new>
#include <string>

namespace {
std::string Last_Error;
}

const char* Last_Bitmap_Error()
{
    return Last_Error.c_str();
}

HANDLE LoadImageA(HINSTANCE, const char* name, UINT type, int, int, UINT flags)
{
    Last_Error.clear();
    if (type != IMAGE_BITMAP || !name) {
        Last_Error = "not a bitmap request";
        return nullptr;
    }
    if (!(flags & LR_LOADFROMFILE)) {
        Last_Error = "no bitmap resource of that name"; // the program carries no bitmap resources
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    auto* bitmap = new (std::nothrow) Bitmap_Object();
    if (!bitmap) {
        reason = "out of memory";
    } else if (const Files::Read_Result read = Files::Read_All(name, bytes, Bmp_Max_File_Size);
               read != Files::Read_Result::Done) {
        reason = read == Files::Read_Result::Too_Large ? "file larger than 256 MiB" : "file cannot be read";
    } else {
        try {
            if (Read_Bmp(bytes.data(), bytes.size(), bitmap->Image, reason)) {
                return Gdi_Register(bitmap);
            }
        } catch (const std::bad_alloc&) {
            reason = "out of memory";
        }
    }
    delete bitmap;
    Last_Error = reason;
    std::string line = std::string("LoadImageA(\"") + name + "\"): " + reason + "\n";
    OutputDebugStringA(line.c_str());
    return nullptr;
}

HRESULT IDirectDrawSurface7::GetDC(HDC* dc)
{
    if (!dc) {
        return DDERR_INVALIDPARAMS;
    }
    *dc = nullptr;
    if (Lost) {
        return DDERR_SURFACELOST;
    }
    if (DC_Held) {
        return DDERR_DCALREADYCREATED;
    }
    if (Is_Locked()) {
        return DDERR_SURFACEBUSY;
    }
    if (!Is_Colour_Format(Format())) {
        return DDERR_CANTCREATEDC;
    }
    *dc = Gdi_Create_Surface_DC(this);
    if (!*dc) {
        return DDERR_OUTOFMEMORY;
    }
    DC_Held = true;
    Mark_Changed();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::ReleaseDC(HDC dc)
{
    if (!DC_Held || !Gdi_Delete_Surface_DC(dc, this)) {
        return DDERR_INVALIDPARAMS;
    }
    DC_Held = false;
    Mark_Changed();
    return DD_OK;
}
