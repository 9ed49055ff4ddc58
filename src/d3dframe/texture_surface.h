// Inside the texture manager: making a record's surface for a device (size rules, format
// search, creation) and filling it from the record's bitmap or rgba data.
#pragma once

#include "d3dframe/d3dtextr.h"

// Releases the record's surface and makes a new one; the result of the creation or the copy.
HRESULT Make_Texture_Surface(NamedTexture& texture, IDirect3DDevice7* device);

// The size rules: power of two, the device maximum (0 counts as 256), square only.
void Apply_Texture_Size_Rules(const D3DDEVICEDESC7& caps, DWORD& width, DWORD& height);

HRESULT Copy_Bitmap_To_Surface(NamedTexture& texture);
HRESULT Copy_Rgba_To_Surface(NamedTexture& texture);
