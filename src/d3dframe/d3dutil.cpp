// Description initialisers.
#include "d3dframe/d3dutil.h"

#include <cstring>

void D3DUtil_InitSurfaceDesc(DDSURFACEDESC2& desc, DWORD flags, DWORD caps)
{
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
}

void D3DUtil_InitMaterial(D3DMATERIAL7& material, D3DVALUE r, D3DVALUE g, D3DVALUE b, D3DVALUE a)
{
    std::memset(&material, 0, sizeof material);
    material.diffuse = material.ambient = D3DCOLORVALUE{r, g, b, a};
}
