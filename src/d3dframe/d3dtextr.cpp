// The named-texture list and its operations.
#include "d3dframe/d3dtextr.h"

#include "d3dframe/texture_surface.h"
#include "d3dframe/tga_reader.h"
#include "platform/graphics/gdi.h"
#include "platform/system/files.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <strings.h>

namespace {

NamedTexture* Head = nullptr;

// The texture search folder: the program never sets it, so the bare name is tried first.
char Texture_Folder[512] = "";

// At process exit the remaining records are destroyed.
struct List_Cleanup {
    ~List_Cleanup() { D3DTextr_DestroyAll(); }
} Cleanup;

// The media folder comes from a registry value on the original platform; there is none on
// Linux, so it is the empty text.
const char* Media_Folder()
{
    return "";
}

NamedTexture* Make_Record(const char* name, DWORD stage, DWORD flags)
{
    auto* texture = new (std::nothrow) NamedTexture();
    if (!texture) {
        return nullptr;
    }
    std::snprintf(texture->name, sizeof texture->name, "%s", name);
    texture->stage = stage;
    texture->flags = flags;
    texture->next = Head;
    Head = texture;
    return texture;
}

void Destroy_Record(NamedTexture* texture)
{
    for (NamedTexture** link = &Head; *link; link = &(*link)->next) {
        if (*link == texture) {
            *link = texture->next;
            break;
        }
    }
    Safe_Release(texture->surface);
    if (texture->bitmap) {
        DeleteObject(texture->bitmap);
    }
    delete texture;
}

bool Too_Long(const char* name)
{
    return std::strlen(name) >= Texture_Name_Size;
}

bool File_Opens(const char* folder, const char* name, char (&path)[Texture_Path_Size])
{
    if (std::strlen(folder) + std::strlen(name) >= Texture_Path_Size) {
        return false;
    }
    std::size_t folder_length = std::strlen(folder);
    std::memcpy(path, folder, folder_length);
    std::memcpy(path + folder_length, name, std::strlen(name) + 1);
    int handle = Files::Open_For_Reading(path);
    if (handle == Files::Invalid_Handle) {
        return false;
    }
    Files::Close(handle);
    return true;
}

} // namespace

NamedTexture* D3DTextr_First()
{
    return Head;
}

NamedTexture* D3DTextr_Find(const char* name)
{
    if (!name) {
        return nullptr;
    }
    for (NamedTexture* t = Head; t; t = t->next) {
        if (strcasecmp(t->name, name) == 0) {
            return t;
        }
    }
    return nullptr;
}

void D3DTextr_DestroyAll()
{
    while (Head) {
        Destroy_Record(Head);
    }
}

HRESULT D3DTextr_LoadImageData(NamedTexture& texture)
{
    // The program's own bitmap resources come first; it has none, so this finds nothing.
    if (HANDLE resource = LoadImageA(nullptr, texture.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
        texture.bitmap = resource;
        return S_OK;
    }
    char path[Texture_Path_Size];
    if (!File_Opens(Texture_Folder, texture.name, path) && !File_Opens(Media_Folder(), texture.name, path)) {
        return DDERR_NOTFOUND;
    }
    const char* extension = std::strrchr(texture.name, '.');
    if (!extension) {
        return E_NOTIMPL;
    }
    if (strcasecmp(extension, ".bmp") == 0) {
        texture.bitmap = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        return texture.bitmap ? S_OK : DDERR_NOTFOUND;
    }
    if (strcasecmp(extension, ".tga") == 0) {
        Tga_Image image;
        HRESULT hr = Load_Tga_File(path, image);
        if (FAILED(hr)) {
            return hr;
        }
        texture.width = image.Width;
        texture.height = image.Height;
        texture.bpp = image.Bits_Per_Pixel;
        texture.rgba = std::move(image.Rgba);
        return S_OK;
    }
    return E_NOTIMPL;
}

HRESULT D3DTextr_CreateTextureFromFile(const char* name, DWORD stage, DWORD flags)
{
    if (!name || !name[0] || Too_Long(name)) {
        return E_INVALIDARG;
    }
    if (D3DTextr_Find(name)) {
        return S_OK;
    }
    NamedTexture* texture = Make_Record(name, stage, flags);
    if (!texture) {
        return E_OUTOFMEMORY;
    }
    if (FAILED(D3DTextr_LoadImageData(*texture))) {
        Destroy_Record(texture);
        return E_FAIL;
    }
    if (texture->bitmap) {
        BITMAP bm{};
        GetObjectA(texture->bitmap, sizeof bm, &bm);
        texture->width = static_cast<DWORD>(bm.bmWidth);
        texture->height = static_cast<DWORD>(bm.bmHeight);
        texture->bpp = bm.bmBitsPixel;
    }
    return S_OK;
}

HRESULT D3DTextr_CreateEmptyTexture(const char* name, DWORD width, DWORD height, DWORD stage, DWORD flags)
{
    if (!name || !name[0] || Too_Long(name)) {
        return E_INVALIDARG;
    }
    if (D3DTextr_Find(name)) {
        return E_FAIL;
    }
    NamedTexture* texture = Make_Record(name, stage, flags);
    if (!texture) {
        return E_OUTOFMEMORY;
    }
    texture->width = width;
    texture->height = height;
    texture->bpp = (flags & TEXTR_32BPP) ? 32 : 16;
    texture->has_alpha = (flags & TEXTR_WITH_ALPHA) ? TRUE : FALSE;
    return S_OK;
}

HRESULT D3DTextr_RestoreTexture(const char* name, IDirect3DDevice7* device)
{
    NamedTexture* texture = D3DTextr_Find(name);
    if (!texture) {
        return DDERR_NOTFOUND;
    }
    return Make_Texture_Surface(*texture, device);
}

HRESULT D3DTextr_RestoreAll(IDirect3DDevice7* device)
{
    for (NamedTexture* t = Head; t; t = t->next) {
        Make_Texture_Surface(*t, device);
    }
    return S_OK;
}

HRESULT D3DTextr_InvalidateTexture(const char* name)
{
    NamedTexture* texture = D3DTextr_Find(name);
    if (!texture) {
        return DDERR_NOTFOUND;
    }
    Safe_Release(texture->surface);
    return S_OK;
}

HRESULT D3DTextr_InvalidateAll()
{
    for (NamedTexture* t = Head; t; t = t->next) {
        Safe_Release(t->surface);
    }
    return S_OK;
}

HRESULT D3DTextr_DeleteTexture(const char* name)
{
    if (NamedTexture* texture = D3DTextr_Find(name)) {
        Destroy_Record(texture);
    }
    return S_OK;
}

IDirectDrawSurface7* D3DTextr_FindSurface(const char* name)
{
    NamedTexture* texture = D3DTextr_Find(name);
    return texture ? texture->surface : nullptr;
}
