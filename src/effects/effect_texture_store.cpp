// The store the effects use when no test has installed one: the texture manager itself.
#include "d3dframe/d3dtextr.h"
#include "effects/effect_texture.h"

namespace {

class Texture_Manager_Store : public Effect_Texture_Store {
public:
    IDirectDrawSurface7* Find_Surface(const char* name) override { return D3DTextr_FindSurface(name); }
    HRESULT Create_Empty_Texture(const char* name, DWORD width, DWORD height, DWORD stage,
                                 DWORD flags) override
    {
        return D3DTextr_CreateEmptyTexture(name, width, height, stage, flags);
    }
    HRESULT Invalidate_Texture(const char* name) override { return D3DTextr_InvalidateTexture(name); }
    HRESULT Delete_Texture(const char* name) override { return D3DTextr_DeleteTexture(name); }
};

} // namespace

Effect_Texture_Store& Default_Effect_Texture_Store()
{
    static Texture_Manager_Store store;
    return store;
}
