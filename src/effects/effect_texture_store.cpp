// The store the effects use when no test has installed one. The texture manager has not
// joined the build yet: until it does, no effect texture can be made or found.
#include "effects/effect_texture.h"

namespace {

class Texture_Manager_Store : public Effect_Texture_Store {
public:
    IDirectDrawSurface7* Find_Surface(const char*) override { return nullptr; }
    HRESULT Create_Empty_Texture(const char*, DWORD, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT Invalidate_Texture(const char*) override { return S_OK; }
    HRESULT Delete_Texture(const char*) override { return S_OK; }
};

} // namespace

Effect_Texture_Store& Default_Effect_Texture_Store()
{
    static Texture_Manager_Store store;
    return store;
}
