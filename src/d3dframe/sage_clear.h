// Sage::Clear: fills a whole surface with colour 0.
#pragma once

class IDirectDrawSurface7;

namespace Sage {
// True when the surface was filled. False for no surface, a lost surface, or a locked one
// (which also writes "Clear(): DDERR_LOCKEDSURFACES I think you need to free a surface!" to the
// error log). Other failures are retried, at most Clear_Retries times, then false.
bool Clear(IDirectDrawSurface7* surface);
inline constexpr int Clear_Retries = 1000;
} // namespace Sage
