// One frame of the scene: FrameMove (music title, rotation, procedural textures, fades, new
// wall image, new symmetries and textures for layers that faded to black, new effect looks)
// and Render (the five layers, back to front, added onto black).
#include "app/scene.h"
#include "app/scene_reports.h"

#include "app/command_line.h"
#include "d3dframe/d3dmath.h"
#include "d3dframe/d3dtextr.h"
#include "d3dframe/d3dutil.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects/titles.h"
#include "geometry/kaleidoscope.h"
#include "geometry/wall.h"
#include "log/error_log.h"
#include "media/mp3.h"
#include "platform/system/random.h"
#include "resources/about_texts.h"
#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>

namespace {

using Scene_Reports::Copy_Name;
using Scene_Reports::Report_Code;
using Scene_Reports::Report_Name_Code;

const char* const Music_Title = "Music Title";
constexpr float Full_Turn = 2.0f * 3.14159265f;

// Draw calls of the layers answer 1 (or a non-negative count) on success.
bool Failed_Draw(int result)
{
    return result < 0;
}

} // namespace

void Scene::Update_Music_Title()
{
    Scene_State& state = Program_Scene_State();
    bool new_track = MP3::Track_State() == 1;
    if (new_track) {
        MP3::Play_Random_MP3();
    } else if (!state.Titles_Pending) {
        return;
    }
    if (std::strcmp(MP3::Title, Contact_Line) != 0) {
        Titles.Update_Title_Text(Music_Title, MP3::Title);
        if (View_Of(Live_Settings()).Titles_On) {
            Titles.Start_Fade_In();
        }
    }
    if (!new_track) {
        state.Titles_Pending = 0;
    }
}

bool Scene::Advance_Rotation(double dt)
{
    Scene_State& state = Program_Scene_State();
    float speed = static_cast<float>(View_Of(Live_Settings()).Rotation_Speed);
    state.Rotation_Angle += speed * static_cast<float>(dt) * state.Rotation_Direction;
    if (state.Rotation_Direction < 0 && state.Rotation_Angle <= -Full_Turn) {
        state.Rotation_Angle += Full_Turn;
    } else if (state.Rotation_Direction > 0 && state.Rotation_Angle >= Full_Turn) {
        state.Rotation_Angle -= Full_Turn;
    }
    D3DMATRIX world;
    D3DUtil_SetRotateZMatrix(world, state.Rotation_Angle);
    if (FAILED(Device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world))) {
        Report("Frame_Move-m_pd3dDevice->SetTransform( D3DTRANSFORMSTATE_WORLD, &matWorld ) FAILED");
        return false;
    }
    return true;
}

bool Scene::Layer_Uses(char letter) const
{
    return Foreground_Texture[0] == letter || Midground_Texture[0] == letter ||
           Background_Texture[0] == letter;
}

HRESULT Scene::Move_Effects(double dt)
{
    HRESULT hr;
    if (Layer_Uses('P') && Plasma_Usable && FAILED(hr = D3DPlasma.Frame_Move("PlasmaTexture", dt))) {
        return Report_Code("Frame_Move-Plasma.Frame_Move FAILED with return code %d", hr);
    }
    if (Layer_Uses('S') && FAILED(hr = D3DSine_Wave.Frame_Move("SineTexture", dt))) {
        return Report_Code("Frame_Move-Sine_Wave.Frame_Move FAILED with return code %d", hr);
    }
    if (Layer_Uses('G') && FAILED(hr = D3DGradient.Frame_Move("GradientTexture", dt))) {
        return Report_Code("Frame_Move-Gradient.Frame_Move FAILED with return code %d", hr);
    }
    return S_OK;
}

HRESULT Scene::Replace_Wall_Image()
{
    D3DTextr_InvalidateTexture(D3DWall.Image_Path);
    D3DTextr_DeleteTexture(D3DWall.Image_Path);
    if (!D3DWall.Select_Random_Image(D3DWall.Image_Path)) {
        Report("Main-FrameMove(): D3DWall.Select_Random_Image %s FAILED", D3DWall.Image_Path);
        return E_FAIL;
    }
    HRESULT hr = D3DTextr_CreateTextureFromFile(D3DWall.Image_Path, 0, 0);
    if (FAILED(hr)) {
        return Report_Name_Code(
            "Main-FrameMove(): D3DTextr_CreateTextureFromFile %s FAILED with return code %d",
            D3DWall.Image_Path, hr);
    }
    D3DTextr_RestoreTexture(D3DWall.Image_Path, Device);
    return S_OK;
}

HRESULT Scene::Load_Backdrop(char* name)
{
    D3DTextr_InvalidateTexture(name);
    D3DTextr_DeleteTexture(name);
    if (!D3DWall.Select_Random_Backdrop(name)) {
        Report("Main-FrameMove(): D3DWall.Select_Random_Backdrop %s FAILED", name);
        return E_FAIL;
    }
    HRESULT hr = D3DTextr_CreateTextureFromFile(name, 0, 0);
    if (FAILED(hr)) {
        return Report_Name_Code(
            "Main-FrameMove(): D3DTextr_CreateTextureFromFile %s FAILED with return code %d", name, hr);
    }
    D3DTextr_RestoreTexture(name, Device);
    return S_OK;
}

void Scene::Choose_Texture(char* name, int choice)
{
    int r = Random::rand() % 10;
    if (r <= 5) {
        // The draw is the same whether or not the plasma can be shown, so runs stay in step.
        Copy_Name(name, Plasma_Usable ? "PlasmaTexture" : "SineTexture");
    } else if (r <= 8) {
        Copy_Name(name, "SineTexture");
    } else if (choice != 0) {
        Copy_Name(name, "GradientTexture");
    }
}

HRESULT Scene::Rebuild_Layers()
{
    using K = Kaleidoscope;
    if (K::Rebuild[K::Background]) {
        int k = K::Select_Random_Symmetry(Device, K::Background);
        if (k == 0 && std::strcmp(Foreground_Texture, Backdrop_B) != 0 && Random::rand() % 10 < 8) {
            HRESULT hr = Load_Backdrop(Backdrop_A);
            if (FAILED(hr)) {
                return hr;
            }
            Copy_Name(Background_Texture, Backdrop_A);
        } else {
            Choose_Texture(Background_Texture, k);
        }
    }
    if (K::Rebuild[K::Midground]) {
        int k = K::Select_Random_Symmetry(Device, K::Midground);
        Choose_Texture(Midground_Texture, k);
    }
    if (K::Rebuild[K::Foreground]) {
        Scene_State& state = Program_Scene_State();
        if (Random::rand() % 2 == 1) {
            state.Rotation_Direction = -state.Rotation_Direction;
        }
        int k = K::Select_Random_Symmetry(Device, K::Foreground);
        if (std::strcmp(Background_Texture, Backdrop_A) != 0 && k < 6 && Random::rand() % 10 < 2) {
            HRESULT hr = Load_Backdrop(Backdrop_B);
            if (FAILED(hr)) {
                return hr;
            }
            Copy_Name(Foreground_Texture, Backdrop_B);
        } else {
            Choose_Texture(Foreground_Texture, k);
        }
    }
    return S_OK;
}

void Scene::Randomise_Unused_Effects()
{
    using K = Kaleidoscope;
    const char* names[3] = {Background_Texture, Midground_Texture, Foreground_Texture};
    const int layers[3] = {K::Background, K::Midground, K::Foreground};
    if (!K::Rebuild[K::Background] && !K::Rebuild[K::Midground] && !K::Rebuild[K::Foreground]) {
        return;
    }
    auto unused = [&](char letter) {
        for (int i = 0; i < 3; ++i) {
            if (names[i][0] == letter && !K::Rebuild[layers[i]]) {
                return false;
            }
        }
        return true;
    };
    if (unused('S')) {
        D3DSine_Wave.Choose_Random_Waves();
    }
    if (unused('P')) {
        D3DPlasma.Choose_Colours();
    }
    if (unused('G')) {
        D3DGradient.Choose_Random_Bands();
    }
}

HRESULT Scene::FrameMove(float)
{
    Trace_Enter("FrameMove");
    const double dt = Frame_Timer.elapsed_seconds;
    const Settings_View settings = View_Of(Live_Settings());
    const double fade_interval = settings.Fade_Interval;
    if (settings.Music_On && Command_Line().Mode != Mode_Preview) {
        Update_Music_Title();
    }
    if (!Advance_Rotation(dt)) {
        return S_OK; // the rest of this frame's move is skipped; the frame is still drawn
    }
    HRESULT hr = Move_Effects(dt);
    if (FAILED(hr)) {
        return hr;
    }
    Titles.Update_Fade(fade_interval * 0.25, dt);
    D3DWall.Fade(fade_interval, dt);
    if (settings.Symbols_On && D3DWall.New_Image) {
        hr = Replace_Wall_Image();
        if (FAILED(hr)) {
            return hr;
        }
    }
    hr = Rebuild_Layers();
    if (FAILED(hr)) {
        return hr;
    }
    Randomise_Unused_Effects();
    Kaleidoscope::Fade(Kaleidoscope::Background, fade_interval, dt);
    Kaleidoscope::Fade(Kaleidoscope::Midground, fade_interval, dt);
    Kaleidoscope::Fade(Kaleidoscope::Foreground, fade_interval, dt);
    Trace_Exit("FrameMove");
    return S_OK;
}

HRESULT Scene::Render()
{
    Trace_Enter("Render");
    if (FAILED(Device->BeginScene())) {
        return S_OK;
    }
    HRESULT hr = Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    if (FAILED(hr)) {
        return Report_Code("Main-Render(): Clear FAILED with return code %d", hr);
    }
    if (FAILED(hr = Device->SetTexture(0, D3DTextr_FindSurface(Background_Texture)))) {
        return Report_Name_Code("Main-Render(): m_pd3dDevice->SetTexture %s FAILED with return code %d",
                                Background_Texture, hr);
    }
    int drawn = Kaleidoscope::Render(Device, Kaleidoscope::Background);
    if (Failed_Draw(drawn)) {
        return Report_Code("Main-Render() Background Kaleidoscope.Render FAILED with return code %d", drawn);
    }
    Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);

    const Settings_View settings = View_Of(Live_Settings());
    if (FAILED(hr = Device->SetTexture(0, D3DTextr_FindSurface(Music_Title)))) {
        return Report_Name_Code(
            "Main-Render(): m_pd3dDevice->SetTexture Titles %s FAILED with return code %d", Music_Title, hr);
    }
    if (settings.Music_On && settings.Titles_On && Failed_Draw(drawn = Titles.Render(Device))) {
        return Report_Code("Main-Render() Titles Image.Render FAILED with return code %d", drawn);
    }
    if (FAILED(hr = Device->SetTexture(0, D3DTextr_FindSurface(Midground_Texture)))) {
        return Report_Name_Code(
            "Main-Render(): m_pd3dDevice->SetTexture Midground %s FAILED with return code %d",
            Midground_Texture, hr);
    }
    if (Failed_Draw(drawn = Kaleidoscope::Render(Device, Kaleidoscope::Midground))) {
        return Report_Code("Main-Render() Midground Kaleidoscope.Render FAILED with return code %d", drawn);
    }
    if (settings.Symbols_On && Command_Line().Mode != Mode_Preview) {
        if (FAILED(hr = Device->SetTexture(0, D3DTextr_FindSurface(D3DWall.Image_Path)))) {
            return Report_Name_Code(
                "Main-Render(): m_pd3dDevice->SetTexture Wall %s FAILED with return code %d",
                D3DWall.Image_Path, hr);
        }
        if (Failed_Draw(drawn = D3DWall.Render(Device))) {
            return Report_Code("Main-Render() Wall Image.Render FAILED with return code %d", drawn);
        }
    }
    if (FAILED(hr = Device->SetTexture(0, D3DTextr_FindSurface(Foreground_Texture)))) {
        return Report_Name_Code("Main-Render(): m_pd3dDevice->SetTexture %s Fore FAILED with return code %d",
                                Foreground_Texture, hr);
    }
    if (Failed_Draw(drawn = Kaleidoscope::Render(Device, Kaleidoscope::Foreground))) {
        return Report_Code("Main-Render() Foreground Kaleidoscope.Render FAILED with return code %d", drawn);
    }
    Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    Device->EndScene();
    Trace_Exit("Render");
    return S_OK;
}
