// Initialisers of the device layer's description records: a zeroed surface description with
// its size, flags and caps, a material with equal diffuse and ambient colours, and a screen
// quad.
#pragma once

#include "platform/graphics/d3d_types.h"

// Zeroes the description; dwSize 124, dwFlags = flags, ddsCaps.dwCaps = caps, pixel-format size 32.
void D3DUtil_InitSurfaceDesc(DDSURFACEDESC2& desc, DWORD flags = 0, DWORD caps = 0);
// Zeroes the material; diffuse = ambient = (r, g, b, a).
void D3DUtil_InitMaterial(D3DMATERIAL7& material, D3DVALUE r = 0.0f, D3DVALUE g = 0.0f, D3DVALUE b = 0.0f,
                          D3DVALUE a = 1.0f);
// Resets a screen quad drawn as a strip bottom-left, top-left, bottom-right, top-right: at
// the origin, rhw 0.5, the given colour, the texture upright (the wall and titles images).
void Initialise_Screen_Quad(D3DTLVERTEX quad[4], uint32_t colour);
