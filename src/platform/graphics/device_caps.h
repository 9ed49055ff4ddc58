// What the program's rasterizing devices (software and reference) report about themselves:
// the device-type identifiers, the capability description, and the texture formats they sample,
// offered in this order: 5-6-5, X1-5-5-5, A1-5-5-5, A4-4-4-4, R8G8B8, X8R8G8B8, A8R8G8B8,
// 8-bit palettised. Every device of ours takes these from here, so the texture manager sees the
// same answers whichever device draws.
#pragma once

#include "platform/graphics/d3d_types.h"

#include <span>

// Device types. Only equality matters; the values are our own.
extern const GUID IID_IDirect3DRGBDevice;    // plain software rasterizer
extern const GUID IID_IDirect3DRefDevice;    // reference rasterizer
extern const GUID IID_IDirect3DHALDevice;    // hardware rasterization
extern const GUID IID_IDirect3DTnLHalDevice; // hardware transform, lighting and rasterization
extern const GUID IID_IDirect3D7;

// Capabilities of a software rasterizer of the given type: no hardware rasterization, render
// depths 16 and 32, z depths 16, 24, 32, textures up to 4096 × 4096 with no power-of-two or
// square-only rule, blend factors ZERO and ONE on both sides, point and bilinear filtering,
// wrap and clamp addressing, modulate and select.
D3DDEVICEDESC7 Rasterizer_Device_Description(REFGUID device_type);

std::span<const DDPIXELFORMAT> Rasterizer_Texture_Formats();

// Offers each format to the callback in order until it answers D3DENUMRET_CANCEL.
HRESULT Enumerate_Pixel_Formats(std::span<const DDPIXELFORMAT> formats,
                                LPD3DENUMPIXELFORMATSCALLBACK callback, void* context);
