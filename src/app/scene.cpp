// The scene's set-up, its per-frame move and draw, and its final clean-up.
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
#include "platform/graphics/d3d_types.h"
#include "platform/system/data_dir.h"
#include "platform/system/random.h"
#include "platform/system/saver_flag.h"
#include "resources/about_texts.h"
#include "settings/settings_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

using Scene_Reports::Copy_Name;
using Scene_Reports::Report_Code;
using Scene_Reports::Report_Name_Code;

const char* const Music_Title = "Music Title";
const char* const Plasma_Name = "PlasmaTexture";
const char* const Sine_Name = "SineTexture";
const char* const Gradient_Name = "GradientTexture";

std::function<uint32_t()>& Seed_Source()
{
    static std::function<uint32_t()> source;
    return source;
}

bool Mode_Is(int mode)
{
    return Command_Line().Mode == mode;
}

} // namespace

Scene_State& Program_Scene_State()
{
    static Scene_State state;
    return state;
}

void Reset_Scene_State()
{
    Program_Scene_State() = Scene_State{};
}

void Set_Scene_Seed_Source(std::function<uint32_t()> source)
{
    Seed_Source() = std::move(source);
}

Scene::Scene()
{
    Window_Title = "Lucivanta";
    Use_Z_Buffer = false;
    Use_Stereo = true;
    Show_Stats = false;
    Device_Test = Scene_Device_Test;
}

HRESULT Scene_Device_Test(DDCAPS*, D3DDEVICEDESC7* desc)
{
    bool can_add = (desc->dpcTriCaps.dwSrcBlendCaps & D3DPBLENDCAPS_ONE) &&
                   (desc->dpcTriCaps.dwDestBlendCaps & D3DPBLENDCAPS_ONE);
    return can_add ? S_OK : E_FAIL;
}

HRESULT Scene::OneTimeSceneInit()
{
    Trace_Enter("OneTimeSceneIni");
    uint32_t seed = Seed_Source() ? Seed_Source()() : static_cast<uint32_t>(std::time(nullptr));
    Random::srand(seed);
    Plasma_Size = View_Of(Live_Settings()).Plasma_Texture_Size;
    Kaleidoscope::Initialise_Symmetry(Kaleidoscope::Random_Symmetry(), Kaleidoscope::Background);
    Kaleidoscope::Initialise_Symmetry(Kaleidoscope::Random_Symmetry(), Kaleidoscope::Midground);
    Kaleidoscope::Initialise_Symmetry(Kaleidoscope::Random_Symmetry(), Kaleidoscope::Foreground);

    Copy_Name(D3DWall.Image_Path, Windows_Directory_Plus("/Lucivanta/Lucivanta.bmp").c_str());
    HRESULT hr = D3DTextr_CreateTextureFromFile(D3DWall.Image_Path, 0, 0);
    if (FAILED(hr)) {
        return Report_Name_Code(
            "Main-OneTimeSceneInit(): D3DTextr_CreateTextureFromFile %s FAILED with return code %d",
            D3DWall.Image_Path, hr);
    }
    int plasma = D3DPlasma.Setup_Plasma(Plasma_Size, Plasma_Size);
    if (plasma < 0) {
        return Report_Code("Main-OneTimeSceneInit(): D3DPlasma.Setup_Plasma FAILED with return code %d",
                           plasma);
    }
    // A plasma without tables cannot be computed: keep it out of every layer's choice.
    Plasma_Usable = plasma != 0;
    if (!Plasma_Usable) {
        Copy_Name(Foreground_Texture, Sine_Name);
    }
    D3DWall.Initialise_Quad();
    Titles.Initialise_Quad();
    Trace_Exit("OneTimeSceneIni");
    return S_OK;
}

HRESULT Scene::InitDeviceObjects()
{
    Trace_Enter("InitDeviceObjects");
    HRESULT hr = D3DPlasma.Initialise_Plasma_Texture(Plasma_Name, Plasma_Size);
    if (FAILED(hr)) {
        return Report_Code("Main-InitDeviceObjects(): Initialise_Plasma_Texture FAILED with return code %d",
                           hr);
    }
    hr = D3DSine_Wave.Initialise_Sine_Wave_Texture(Sine_Name, Sine_Size);
    if (FAILED(hr)) {
        return Report_Code(
            "Main-InitDeviceObjects(): Initialise_Sine_Wave_Texture FAILED with return code %d", hr);
    }
    hr = D3DGradient.Initialise_Gradient_Texture(Gradient_Name, Gradient_Size);
    if (FAILED(hr)) {
        return Report_Code("Main-InitDeviceObjects(): Initialise_Gradient_Texture FAILED with return code %d",
                           hr);
    }
    if (View_Of(Live_Settings()).Titles_Detailed) {
        Titles_Size = 512;
    }
    hr = Titles.Initialise_Titles_Texture(Music_Title, Titles_Size);
    if (FAILED(hr) && Titles_Size > 256) {
        Titles_Size = 256;
        hr = Titles.Initialise_Titles_Texture(Music_Title, Titles_Size);
    }
    if (FAILED(hr)) {
        return Report_Code("Main-InitDeviceObjects(): Initialise_Titles_Texture FAILED with return code %d",
                           hr);
    }
    D3DTextr_RestoreAll(Device);
    Titles.Update_Title_Text(Music_Title, MP3::Title);

    D3DVIEWPORT7 viewport{};
    hr = Device->GetViewport(&viewport);
    if (FAILED(hr)) {
        return Report_Code("Main-InitDeviceObjects(): GetViewport FAILED with returncode %d", hr);
    }
    double width = viewport.dwWidth;
    double height = viewport.dwHeight;
    double radius = std::sqrt(width * width / 4 + height * height / 4) + 16;
    Kaleidoscope::Initialise_Vertex_Coordinates(width / 2, height / 2, radius, Kaleidoscope::Background);
    Kaleidoscope::Initialise_Vertex_Coordinates(width / 2, height / 2, radius, Kaleidoscope::Midground);
    Kaleidoscope::Initialise_Vertex_Coordinates(0, 0, 1.5, Kaleidoscope::Foreground);
    D3DWall.Initialise_Image_Coordinates(static_cast<float>(width), static_cast<float>(height));
    Titles.Set_Position(static_cast<float>(width), static_cast<float>(height));

    D3DMATERIAL7 material;
    D3DUtil_InitMaterial(material, 0.0f, 0.0f, 0.0f, 1.0f);
    Device->SetMaterial(&material);

    D3DVECTOR target{0, 0, 0};
    D3DVECTOR up{0, 1, 0};
    D3DUtil_SetViewMatrix(Centre_View, D3DVECTOR{0, 0, -20}, target, up);
    D3DUtil_SetViewMatrix(Left_View, D3DVECTOR{0.3f, 0, -20}, target, up);
    D3DUtil_SetViewMatrix(Right_View, D3DVECTOR{-0.3f, 0, -20}, target, up);
    D3DMATRIX world;
    D3DUtil_SetIdentityMatrix(world);
    D3DMATRIX projection;
    D3DUtil_SetProjectionMatrix(projection, 1.57f, 1.0f, 1.0f, 100.0f);
    Device->SetTransform(D3DTRANSFORMSTATE_VIEW, &Centre_View);
    Device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    Device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);

    Device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0);
    Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    Device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    Device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE);
    Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    Device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    Device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    Device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    for (D3DRENDERSTATETYPE state :
         {D3DRENDERSTATE_LIGHTING, D3DRENDERSTATE_SPECULARENABLE, D3DRENDERSTATE_ANTIALIAS,
          D3DRENDERSTATE_TEXTUREPERSPECTIVE, D3DRENDERSTATE_ZENABLE, D3DRENDERSTATE_ZWRITEENABLE,
          D3DRENDERSTATE_ALPHABLENDENABLE, D3DRENDERSTATE_FOGENABLE, D3DRENDERSTATE_ZVISIBLE,
          D3DRENDERSTATE_STIPPLEDALPHA, D3DRENDERSTATE_EDGEANTIALIAS, D3DRENDERSTATE_COLORKEYENABLE,
          D3DRENDERSTATE_STENCILENABLE}) {
        Device->SetRenderState(state, FALSE);
    }
    Trace_Exit("InitDeviceObjects");
    return S_OK;
}

HRESULT Scene::Release_Device_Objects()
{
    D3DTextr_InvalidateAll();
    return S_OK;
}

void Scene::Set_Paused(bool pausing)
{
    if (!View_Of(Live_Settings()).Music_On) {
        return;
    }
    if (pausing) {
        MP3::Pause();
    } else {
        MP3::Resume();
    }
}

HRESULT Scene::FinalCleanup()
{
    Trace_Enter("FinalCleanup");
    MP3::Close();
    if (Mode_Is(Mode_Configuration)) {
        Program_Settings_File().Save();
    }
    Program_Settings_File().Close();
    for (const char* name :
         {static_cast<const char*>(D3DWall.Image_Path), Music_Title, Plasma_Name, Sine_Name, Gradient_Name,
          static_cast<const char*>(Backdrop_A), static_cast<const char*>(Backdrop_B)}) {
        D3DTextr_DeleteTexture(name);
    }
    D3DPlasma.Shutdown_Plasma();
    if (!Mode_Is(Mode_Preview)) {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &Command_Line().Saved_Saver_Running, 0);
    }
    Trace_Exit("FinalCleanup");
    Program_Error_Log().Close_Log();
    return S_OK;
}
