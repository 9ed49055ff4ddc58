// Initialisers of the device layer's description records: a zeroed surface description with
// its size, flags and caps, and a material with equal diffuse and ambient colours.
#pragma once

#include "platform/graphics/d3d_types.h"

// Zeroes the description; dwSize 124, dwFlags = flags, ddsCaps.dwCaps = caps, pixel-format size 32.
void D3DUtil_InitSurfaceDesc(DDSURFACEDESC2& desc, DWORD flags = 0, DWORD caps = 0);
// Zeroes the material; diffuse = ambient = (r, g, b, a).
void D3DUtil_InitMaterial(D3DMATERIAL7& material, D3DVALUE r = 0.0f, D3DVALUE g = 0.0f, D3DVALUE b = 0.0f,
                          D3DVALUE a = 1.0f);
