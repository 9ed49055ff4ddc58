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

void Initialise_Screen_Quad(D3DTLVERTEX quad[4], uint32_t colour)
{
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (int corner = 0; corner < 4; ++corner) {
        quad[corner] = D3DTLVERTEX{};
        quad[corner].rhw = 0.5f;
        quad[corner].color = colour;
        quad[corner].tu = uv[corner][0];
        quad[corner].tv = uv[corner][1];
    }
}
