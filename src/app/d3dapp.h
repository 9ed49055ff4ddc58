// The application frame: the base class of the program's application object. It owns the
// window, the selected device record and the framework that holds the DirectDraw and Direct3D
// objects, runs the message loop, times and draws the frames, pauses and resumes, switches
// between a window and full screen, and rebuilds the 3-D environment when the device, the
// display mode or the window changes. The scene derives from it and fills in the hooks.
//
// Results follow the device layer's convention: 32-bit codes, negative on failure.
#pragma once

#include "d3dframe/d3denum.h"
#include "d3dframe/d3dframe.h"
#include "d3dframe/frame_timer.h"
#include "d3dframe/framework_error.h"
#include "platform/graphics/d3d_types.h"
#include "platform/graphics/ddraw_types.h"
#include "platform/window/window.h"

class CD3DApplication {
public:
    CD3DApplication();
    virtual ~CD3DApplication();
    CD3DApplication(const CD3DApplication&) = delete;
    CD3DApplication& operator=(const CD3DApplication&) = delete;

    CD3DFramework7* Framework = nullptr;
    bool Active = false;
    bool Ready = false;
    bool Frame_Moving = true;
    bool Single_Step = false;
    DWORD Base_Time = 0;
    DWORD Stop_Time = 0;
    FrameTimer Frame_Timer;

    HWND Window = nullptr;
    HMENU Menu_Handle = nullptr;
    HINSTANCE Instance = nullptr;

    DeviceRecord* Device_Info = nullptr;
    IDirectDraw7* DirectDraw = nullptr;
    IDirect3D7* Direct3D = nullptr;
    IDirect3DDevice7* Device = nullptr;
    IDirectDrawSurface7* Render_Target = nullptr;
    IDirectDrawSurface7* Render_Target_Left = nullptr;
    DDSURFACEDESC2 Render_Target_Desc{};

    const char* Window_Title = "Direct3D Application";
    bool Use_Z_Buffer = false;
    bool Use_Stereo = false;
    bool Show_Stats = false;
    bool Window_Maximised = false;
    Device_Test_Callback Device_Test = nullptr;

    // The frame-rate text last drawn.
    char Frame_Rate_Text[80] = {};

    D3DMATRIX Left_View{};
    D3DMATRIX Right_View{};
    D3DMATRIX Centre_View{};

    // The scene's hooks (all return 0 here).
    virtual HRESULT OneTimeSceneInit() { return S_OK; }
    virtual HRESULT InitDeviceObjects() { return S_OK; }
    virtual HRESULT Release_Device_Objects() { return S_OK; }
    virtual HRESULT Render() { return S_OK; }
    virtual HRESULT FrameMove(float) { return S_OK; }
    virtual HRESULT Restore_Surfaces() { return S_OK; }
    virtual HRESULT FinalCleanup() { return S_OK; }
    virtual BOOL On_Suspend_Query(DWORD data);
    virtual BOOL On_Resume(DWORD data);

    virtual HRESULT Create(HINSTANCE instance, const char* command_line);
    virtual HRESULT Create_ScreenSaver_Preview(HINSTANCE instance, const char* command_line, HWND parent);
    virtual WPARAM Message_Loop();
    virtual LRESULT MsgProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    virtual void Set_Paused(bool pausing);

    HRESULT Initialize3DEnvironment();
    HRESULT Rebuild3DEnvironment();
    void Release3DEnvironment();
    HRESULT Render3DEnvironment();
    bool ToggleFullScreen();
    void Show_Frame_Rate();
    void Draw_Text(int x, int y, const char* text);
    void Maximise_Window();
    void Restore_Window();
    void Centre_Window(HWND window);
    HWND Get_Window() const { return Window; }
    HINSTANCE Get_Instance() const { return Instance; }

private:
    HRESULT Create_Failed(const char* message, HRESULT code);
    void Register_Window_Class();
    void Set_Full_Screen_Style();
};

// Process-wide state of the frame: which instance receives window messages (the last one
// constructed), the pause count, the window state saved across full-screen switches, and the
// frame-rate statistics.
struct Frame_State {
    CD3DApplication* Message_Receiver = nullptr;
    int Pause_Count = 0;
    bool Last_Windowed = true;
    LONG Saved_Style = 0;
    RECT Saved_Rect{};
    float Stats_Last_Time = 0.0f;
    int Stats_Frame_Count = 0;
    float Stats_Frames_Per_Second = 0.0f;
};
Frame_State& Program_Frame_State();
// Back to the state of a fresh process (the receiver is kept: it is whoever was built last).
void Reset_Frame_State();

// The window procedure of the class "D3D Window": every message to MsgProc of the receiver.
LRESULT Frame_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
