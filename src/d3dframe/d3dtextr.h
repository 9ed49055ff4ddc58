// The texture manager: every texture of the program in one process-wide list under a text name
// (compared without regard to case, newest first). A texture is created from an image file
// (".bmp" or ".tga") or empty with a size; its surface is made for a device by a restore and
// released by an invalidate, while the decoded image stays in memory for the next restore.
// Results are status codes: S_OK, or a negative code (nothing is logged here; callers report).
#pragma once

#include "platform/graphics/d3d_device.h"

#include <cstdint>
#include <memory>

inline constexpr DWORD TEXTR_WHITE_KEY = 0x01;
inline constexpr DWORD TEXTR_BLACK_KEY = 0x02;
inline constexpr DWORD TEXTR_32BPP = 0x04;
inline constexpr DWORD TEXTR_16BPP = 0x08;
inline constexpr DWORD TEXTR_WITH_ALPHA = 0x10;

// Names hold at most 79 characters, paths 259; longer ones are refused with E_INVALIDARG.
inline constexpr std::size_t Texture_Name_Size = 80;
inline constexpr std::size_t Texture_Path_Size = 260;

struct NamedTexture {
    NamedTexture* next = nullptr;
    char name[Texture_Name_Size] = {};
    DWORD width = 0;
    DWORD height = 0;
    DWORD stage = 0;
    DWORD bpp = 0;
    DWORD flags = 0;
    BOOL has_alpha = FALSE;
    IDirectDrawSurface7* surface = nullptr;
    HANDLE bitmap = nullptr;          // a bitmap from LoadImageA (".bmp")
    std::unique_ptr<uint32_t[]> rgba; // width × height 0xRRGGBBAA words, top row first (".tga")
};

HRESULT D3DTextr_CreateTextureFromFile(const char* name, DWORD stage = 0, DWORD flags = 0);
HRESULT D3DTextr_CreateEmptyTexture(const char* name, DWORD width, DWORD height, DWORD stage, DWORD flags);
HRESULT D3DTextr_RestoreTexture(const char* name, IDirect3DDevice7* device);
HRESULT D3DTextr_RestoreAll(IDirect3DDevice7* device);
HRESULT D3DTextr_InvalidateTexture(const char* name);
HRESULT D3DTextr_InvalidateAll();
HRESULT D3DTextr_DeleteTexture(const char* name);
// The texture's surface (no reference added), or null.
IDirectDrawSurface7* D3DTextr_FindSurface(const char* name);

// ---- Ours: the list's head and a way back to an empty list (tests, process exit).
NamedTexture* D3DTextr_First();
void D3DTextr_DestroyAll();
// The record of a name, or null.
NamedTexture* D3DTextr_Find(const char* name);
// Loads a record's image source from the file of its name (resources, then the texture folder,
// then the media folder): S_OK, DDERR_NOTFOUND, E_NOTIMPL (no or another extension) or E_FAIL.
HRESULT D3DTextr_LoadImageData(NamedTexture& texture);
