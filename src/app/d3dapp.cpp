// The application frame: creation, the 3-D environment's life cycle and the frame itself.
// The message procedure and the window placement are in d3dapp_messages.cpp.
#include "app/d3dapp.h"

#include "log/error_log.h"
#include "platform/graphics/gdi.h"
#include "platform/system/clock.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

const char* const Window_Class_Name = "D3D Window";

} // namespace

Frame_State& Program_Frame_State()
{
    static Frame_State state;
    return state;
}

void Reset_Frame_State()
{
    Frame_State& state = Program_Frame_State();
    CD3DApplication* receiver = state.Message_Receiver;
    state = Frame_State{};
    state.Message_Receiver = receiver;
}

LRESULT Frame_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    CD3DApplication* receiver = Program_Frame_State().Message_Receiver;
    if (receiver != nullptr) {
        return receiver->MsgProc(window, message, wparam, lparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

CD3DApplication::CD3DApplication()
{
    Program_Frame_State().Message_Receiver = this;
}

CD3DApplication::~CD3DApplication()
{
    // A receiver that no longer exists must never be called.
    if (Program_Frame_State().Message_Receiver == this) {
        Program_Frame_State().Message_Receiver = nullptr;
    }
    delete Framework;
}

HRESULT CD3DApplication::Create_Failed(const char* message, HRESULT code)
{
    Report(message);
    ShowFrameworkError(code, ERRMSG_MUST_EXIT, Window_Title);
    return code;
}

void CD3DApplication::Register_Window_Class()
{
    WNDCLASSA window_class{};
    window_class.style = 0;
    window_class.lpfnWndProc = Frame_Window_Procedure;
    window_class.hInstance = Instance;
    window_class.hIcon = LoadIconA(Instance, MAKEINTRESOURCEA(IDI_MAIN_ICON));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = Window_Class_Name;
    RegisterClassA(&window_class);
}

HRESULT CD3DApplication::Create(HINSTANCE instance, const char*)
{
    Trace_Enter("CD3DApplication::Create");
    Instance = instance;
    HRESULT hr = D3DEnum_EnumerateDevices(Device_Test);
    if (FAILED(hr)) {
        return Create_Failed("CD3DApplication::Create(): D3DEnum_EnumerateDevices FAILED", hr);
    }
    hr = D3DEnum_SelectDefaultDevice(&Device_Info, 0);
    if (FAILED(hr)) {
        return Create_Failed("CD3DApplication::Create(): D3DEnum_SelectDefaultDevice FAILED", hr);
    }
    hr = OneTimeSceneInit();
    if (FAILED(hr)) {
        return Create_Failed("CD3DApplication::Create(): OneTimeSceneInit() FAILED", hr);
    }
    Framework = new (std::nothrow) CD3DFramework7();
    if (Framework == nullptr) {
        return Create_Failed("CD3DApplication::Create(): new CD3DFramework7() FAILED", E_OUTOFMEMORY);
    }
    Register_Window_Class();
    Menu_Handle = LoadMenuA(Instance, MAKEINTRESOURCEA(IDR_MENU));
    Window = CreateWindowExA(0, Window_Class_Name, Window_Title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 300, 300, nullptr, Menu_Handle, Instance, nullptr);
    UpdateWindow(Window);
    Centre_Window(Window);
    hr = Initialize3DEnvironment();
    if (FAILED(hr)) {
        Create_Failed("CD3DApplication::Create(): Initialize3DEnvironment() FAILED", hr);
        Release3DEnvironment();
        return E_FAIL;
    }
    Base_Time = timeGetTime();
    Ready = true;
    Trace_Exit("CD3DApplication::Create");
    return S_OK;
}

HRESULT CD3DApplication::Create_ScreenSaver_Preview(HINSTANCE instance, const char*, HWND parent)
{
    Trace_Enter("CD3DApplication::Create_ScreenSaver_Preview");
    HRESULT hr = D3DEnum_EnumerateDevices(Device_Test);
    if (FAILED(hr)) {
        return Create_Failed("CD3DApplication::Create_ScreenSaver_Preview(): D3DEnum_EnumerateDevices FAILED",
                             hr);
    }
    hr = D3DEnum_SelectDefaultDevice(&Device_Info, 0);
    if (FAILED(hr)) {
        return Create_Failed(
            "CD3DApplication::Create_ScreenSaver_Preview(): D3DEnum_SelectDefaultDevice FAILED", hr);
    }
    hr = OneTimeSceneInit();
    if (FAILED(hr)) {
        return Create_Failed("CD3DApplication::Create_ScreenSaver_Preview(): OneTimeSceneInit FAILED", hr);
    }
    Framework = new (std::nothrow) CD3DFramework7();
    if (Framework == nullptr) {
        return Create_Failed("CD3DApplication::Create_ScreenSaver_Preview(): new CD3DFramework7()  FAILED",
                             E_OUTOFMEMORY);
    }
    // The instance handle is left as it was: the preview belongs to the parent's program.
    Register_Window_Class();
    RECT parent_client{};
    if (!GetClientRect(parent, &parent_client)) {
        Report("CD3DApplication::Create_ScreenSaver_Preview(): GetClientRect for Preview Window FAILED");
    }
    Window = CreateWindowExA(0, Window_Class_Name, "", WS_CHILD | WS_VISIBLE, 0, 0,
                             parent_client.right - parent_client.left,
                             parent_client.bottom - parent_client.top, parent, nullptr, instance, nullptr);
    if (Window == nullptr) {
        Report("CD3DApplication::Create_ScreenSaver_Preview(): Unable to create preview window");
        return E_FAIL;
    }
    UpdateWindow(Window);
    hr = Initialize3DEnvironment();
    if (FAILED(hr)) {
        Create_Failed("CD3DApplication::Create_ScreenSaver_Preview(): Initialize3DEnvironment() FAILED", hr);
        Release3DEnvironment();
        return E_FAIL;
    }
    Base_Time = timeGetTime();
    Ready = true;
    Trace_Exit("CD3DApplication::Create_ScreenSaver_Preview");
    return S_OK;
}

HRESULT CD3DApplication::Initialize3DEnvironment()
{
    for (;;) {
        Frame_Timer.Start();
        DWORD flags = 0;
        if (!Device_Info->windowed) {
            flags |= FW_FULLSCREEN;
        }
        if (Device_Info->stereo) {
            flags |= FW_STEREO;
        }
        if (Use_Z_Buffer) {
            flags |= FW_ZBUFFER;
        }
        HRESULT hr = Framework->OpenDevice(Window, Device_Info->driver_guid_ptr, Device_Info->device_guid_ptr,
                                           &Device_Info->fullscreen_mode, flags);
        if (SUCCEEDED(hr)) {
            DirectDraw = Framework->GetDirectDraw();
            Direct3D = Framework->GetDirect3D();
            Device = Framework->GetD3DDevice();
            Render_Target = Framework->GetRenderSurface();
            Render_Target_Left = Framework->GetRenderSurfaceLeft();
            Render_Target_Desc = DDSURFACEDESC2{};
            Render_Target_Desc.dwSize = 124;
            Render_Target->GetSurfaceDesc(&Render_Target_Desc);
            hr = InitDeviceObjects();
            if (SUCCEEDED(hr)) {
                return S_OK;
            }
            Release_Device_Objects();
            Framework->CloseDevice();
        }
        if (!Device_Info->is_hardware) {
            return hr;
        }
        ShowFrameworkError(hr, ERRMSG_SWITCHED_TO_SOFTWARE, Window_Title);
        // Without a software device to fall back on, the same hardware device would be tried
        // for ever: the failure stands.
        if (FAILED(D3DEnum_SelectDefaultDevice(&Device_Info, ENUM_SOFTWARE_ONLY)) ||
            Device_Info->is_hardware) {
            return hr;
        }
    }
}

HRESULT CD3DApplication::Rebuild3DEnvironment()
{
    Frame_State& state = Program_Frame_State();
    Release_Device_Objects();
    HRESULT hr = Framework->CloseDevice();
    if (FAILED(hr)) {
        ShowFrameworkError(hr, ERRMSG_MUST_EXIT, Window_Title);
        SendMessageA(Window, WM_CLOSE, 0, 0);
        return hr;
    }
    if (Device_Info->windowed != state.Last_Windowed) {
        if (Device_Info->windowed) {
            SetWindowLongA(Window, GWL_STYLE, state.Saved_Style);
            const RECT& r = state.Saved_Rect;
            SetWindowPos(Window, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_SHOWWINDOW);
        } else {
            state.Saved_Style = GetWindowLongA(Window, GWL_STYLE);
            GetWindowRect(Window, &state.Saved_Rect);
            SetWindowLongA(Window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_SYSMENU | WS_VISIBLE));
        }
        state.Last_Windowed = Device_Info->windowed;
    }
    hr = Initialize3DEnvironment();
    if (FAILED(hr)) {
        ShowFrameworkError(hr, ERRMSG_MUST_EXIT, Window_Title);
        SendMessageA(Window, WM_CLOSE, 0, 0);
        return hr;
    }
    if (!Frame_Moving) {
        Single_Step = true;
        DWORD now = timeGetTime();
        Base_Time += now - Stop_Time;
        Stop_Time = now;
    }
    return S_OK;
}

void CD3DApplication::Release3DEnvironment()
{
    Active = false;
    Ready = false;
    if (Framework != nullptr) {
        Release_Device_Objects();
        delete Framework; // closes the device
        Framework = nullptr;
        DirectDraw = nullptr;
        Direct3D = nullptr;
        Device = nullptr;
        Render_Target = nullptr;
        Render_Target_Left = nullptr;
        FinalCleanup();
    }
    D3DEnum_ReleaseModeLists();
}

HRESULT CD3DApplication::Render3DEnvironment()
{
    Trace_Enter("CD3DApplication::Render3DEnvironment");
    HRESULT hr = DirectDraw->TestCooperativeLevel();
    if (FAILED(hr)) {
        if (hr == DDERR_NOEXCLUSIVEMODE || hr == DDERR_EXCLUSIVEMODEALREADYSET) {
            return S_OK; // another program owns the screen: draw nothing for now
        }
        if (hr == DDERR_WRONGMODE && Device_Info->windowed) {
            return Rebuild3DEnvironment();
        }
        return hr;
    }
    float scene_time = static_cast<float>((timeGetTime() - Base_Time) * 0.001);
    Frame_Timer.Tick();
    if (Frame_Moving || Single_Step) {
        hr = FrameMove(scene_time);
        if (FAILED(hr)) {
            return hr;
        }
        Single_Step = false;
    }
    if (Use_Stereo && Device_Info->stereo && !Device_Info->windowed) {
        Device->SetTransform(D3DTRANSFORMSTATE_VIEW, &Left_View);
        Device->SetRenderTarget(Render_Target_Left, 0);
        hr = Render();
        if (FAILED(hr)) {
            return hr;
        }
        Device->SetTransform(D3DTRANSFORMSTATE_VIEW, &Right_View);
        Device->SetRenderTarget(Render_Target, 0);
        hr = Render();
    } else {
        if (Use_Stereo) {
            Device->SetTransform(D3DTRANSFORMSTATE_VIEW, &Centre_View);
        }
        hr = Render();
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (Show_Stats) {
        Show_Frame_Rate();
    }
    hr = Framework->PresentFrame();
    if (hr == DDERR_SURFACELOST) {
        Framework->RestoreLostSurfaces();
        Restore_Surfaces();
    } else if (FAILED(hr)) {
        return hr;
    }
    Trace_Exit("CD3DApplication::Render3DEnvironment");
    return S_OK;
}

void CD3DApplication::Show_Frame_Rate()
{
    Frame_State& state = Program_Frame_State();
    float now = static_cast<float>(timeGetTime() * 0.001);
    state.Stats_Frame_Count += 1;
    if (now - state.Stats_Last_Time > 1.0f) {
        state.Stats_Frames_Per_Second =
            static_cast<float>(state.Stats_Frame_Count) / (now - state.Stats_Last_Time);
        state.Stats_Last_Time = now;
        state.Stats_Frame_Count = 0;
    }
    char* text = Frame_Rate_Text;
    snprintf(text, sizeof Frame_Rate_Text, "%7.02f fps (%dx%dx%d)",
             static_cast<double>(state.Stats_Frames_Per_Second), static_cast<int>(Render_Target_Desc.dwWidth),
             static_cast<int>(Render_Target_Desc.dwHeight),
             static_cast<int>(Render_Target_Desc.ddpfPixelFormat.dwRGBBitCount));
    Draw_Text(0, 0, text);
}

namespace {

void Draw_Text_On(IDirectDrawSurface7* surface, int x, int y, const char* text, COLORREF colour)
{
    HDC dc = nullptr;
    if (surface == nullptr || FAILED(surface->GetDC(&dc))) {
        return;
    }
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(std::strlen(text)), nullptr);
    surface->ReleaseDC(dc);
}

} // namespace

void CD3DApplication::Draw_Text(int x, int y, const char* text)
{
    Draw_Text_On(Render_Target, x, y, text, RGB(180, 180, 180));
    Draw_Text_On(Render_Target_Left, x, y, text, RGB(255, 0, 255));
}

WPARAM CD3DApplication::Message_Loop()
{
    HACCEL accelerators = LoadAcceleratorsA(Instance, MAKEINTRESOURCEA(IDR_MAIN_ACCEL));
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    while (message.message != WM_QUIT) {
        bool got = Active ? PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE
                          : GetMessageA(&message, nullptr, 0, 0) != FALSE || message.message == WM_QUIT;
        if (got) {
            if (message.message == WM_QUIT) {
                break;
            }
            if (TranslateAcceleratorA(Window, accelerators, &message) == 0) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else if (Active && Ready) {
            if (FAILED(Render3DEnvironment())) {
                DestroyWindow(Window);
            }
        }
    }
    return message.wParam;
}

bool CD3DApplication::ToggleFullScreen()
{
    if (!Active || !Ready) {
        return true;
    }
    Ready = false;
    Device_Info->windowed = !Device_Info->windowed;
    if (FAILED(Rebuild3DEnvironment())) {
        return false;
    }
    Ready = true;
    return true;
}

void CD3DApplication::Set_Paused(bool pausing)
{
    Frame_State& state = Program_Frame_State();
    state.Pause_Count += pausing ? 1 : -1;
    Ready = state.Pause_Count == 0;
    if (pausing && state.Pause_Count == 1) {
        if (Framework != nullptr) {
            Framework->ShowGdiSurface(true);
        }
        if (Frame_Moving) {
            Stop_Time = timeGetTime();
        }
    }
    if (state.Pause_Count == 0 && Frame_Moving) {
        Base_Time += timeGetTime() - Stop_Time;
    }
}

BOOL CD3DApplication::On_Suspend_Query(DWORD)
{
    Set_Paused(true);
    return TRUE;
}

BOOL CD3DApplication::On_Resume(DWORD)
{
    Set_Paused(false);
    return TRUE;
}
