// The headless presenter and the installed-presenter switch.
#include "d3dframe/frame_presenter.h"

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/pixel_format.h"

#include <algorithm>

namespace {

Frame_Presenter* Installed = nullptr;

} // namespace

HRESULT Headless_Presenter::Present(HWND window, IDirectDrawSurface7* frame, const RECT& screen_rect,
                                    bool fullscreen)
{
    if (!frame || !frame->Bits())
        return DDERR_INVALIDPARAMS;
    Last.Window = window;
    Last.Width = frame->Width();
    Last.Height = frame->Height();
    Last.Format = frame->Format();
    Last.Screen_Rect = screen_rect;
    Last.Fullscreen = fullscreen;
    size_t row = static_cast<size_t>(frame->Width()) * Bytes_Per_Pixel(frame->Format());
    Last.Pixels.resize(row * frame->Height());
    for (DWORD y = 0; y < frame->Height(); ++y)
        std::copy_n(frame->Bits() + static_cast<size_t>(y) * frame->Pitch(), row,
                    Last.Pixels.data() + y * row);
    ++Last.Count;
    return DD_OK;
}

Headless_Presenter& The_Headless_Presenter()
{
    static Headless_Presenter presenter;
    return presenter;
}

Frame_Presenter& Installed_Presenter()
{
    return Installed ? *Installed : The_Headless_Presenter();
}

void Set_Presenter(Frame_Presenter* presenter)
{
    Installed = presenter;
}
