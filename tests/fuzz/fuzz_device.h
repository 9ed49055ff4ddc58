// A device for the fuzz targets that make texture surfaces: a DirectDraw object, a small render
// target and a device with the rasterizers' capabilities and texture formats, on a fixed
// 32-bit desktop. Made once per process and never released (the fuzzer ends by exiting).
#pragma once

class IDirect3DDevice7;

namespace fuzz {

IDirect3DDevice7* Texture_Device();

} // namespace fuzz
