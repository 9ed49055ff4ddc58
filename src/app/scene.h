// The scene: the program's application class. Each frame it composes five layers on black,
// back to front — background kaleidoscope, music title, midground kaleidoscope, wall image,
// foreground kaleidoscope turning about the viewing axis — and gives every kaleidoscope layer
// that has faded to black a new symmetry and a new texture.
#pragma once

#include "app/d3dapp.h"

#include <cstdint>
#include <functional>

class Scene : public CD3DApplication {
public:
    static constexpr int Name_Size = 260;

    Scene();

    int32_t Sine_Size = 256;
    int32_t Gradient_Size = 256;
    int32_t Titles_Size = 256;
    int32_t Plasma_Size = 256;
    char Foreground_Texture[Name_Size] = "PlasmaTexture";
    char Midground_Texture[Name_Size] = "SineTexture";
    char Background_Texture[Name_Size] = "SineTexture";
    char Backdrop_A[Name_Size] = "";
    char Backdrop_B[Name_Size] = "";
    // False when the plasma's tables could not be built: the plasma is then never chosen.
    bool Plasma_Usable = true;

    HRESULT OneTimeSceneInit() override;
    HRESULT InitDeviceObjects() override;
    HRESULT Release_Device_Objects() override;
    HRESULT Render() override;
    HRESULT FrameMove(float time) override;
    HRESULT Restore_Surfaces() override { return S_OK; }
    HRESULT FinalCleanup() override;
    LRESULT MsgProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void Set_Paused(bool pausing) override;

private:
    // The program's own menu commands (the frame handles its own after them).
    void Command(HWND window, int id);
    void Update_Music_Title();
    bool Advance_Rotation(double dt);
    HRESULT Move_Effects(double dt);
    HRESULT Replace_Wall_Image();
    HRESULT Rebuild_Layers();
    void Choose_Texture(char* name, int choice);
    HRESULT Load_Backdrop(char* name);
    void Randomise_Unused_Effects();
    bool Layer_Uses(char letter) const;
};

// The scene's device test: a device is accepted only if it can add source to destination.
HRESULT Scene_Device_Test(DDCAPS* driver, D3DDEVICEDESC7* desc);

// Process-wide scene state.
struct Scene_State {
    float Rotation_Angle = 0.0f;
    float Rotation_Direction = -1.0f;
    uint8_t Titles_Pending = 1;
};
Scene_State& Program_Scene_State();
void Reset_Scene_State();

// Where the scene's random seed comes from: the current time in seconds, unless a run that
// must be reproduced installs its own (nullptr puts the clock back).
void Set_Scene_Seed_Source(std::function<uint32_t()> source);
