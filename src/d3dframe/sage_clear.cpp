// Sage::Clear.
#include "d3dframe/sage_clear.h"

#include "log/error_log.h"
#include "platform/graphics/surface.h"

#include <cstdio>

bool Sage::Clear(IDirectDrawSurface7* surface)
{
    if (!surface) {
        return false;
    }
    DDBLTFX fx{};
    fx.dwSize = sizeof(DDBLTFX);
    fx.dwFillColor = 0;
    for (int attempt = 0; attempt < Clear_Retries; ++attempt) {
        HRESULT hr = surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
        if (hr == DD_OK) {
            return true;
        }
        if (hr == DDERR_LOCKEDSURFACES) {
            Report("Clear(): DDERR_LOCKEDSURFACES I think you need to free a surface!");
            return false;
        }
        if (hr == DDERR_SURFACELOST) {
            return false;
        }
    }
    return false;
}
