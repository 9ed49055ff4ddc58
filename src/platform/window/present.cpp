// Presenting a frame into a window: the frame is converted to 0x00RRGGBB words and scaled
// to the window's client area (nearest pixel), and kept as the window's last frame.
#include "platform/window/window_system.h"

namespace {

uint32_t Expand(uint32_t value, int bits)
{
    return bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4);
}

uint32_t Pixel_At(const Frame_Pixels& frame, int x, int y)
{
    const auto* row =
        static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
    if (frame.Bits_Per_Pixel == 32) {
        const uint8_t* p = row + x * 4;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16);
    }
    if (frame.Bits_Per_Pixel == 24) {
        const uint8_t* p = row + x * 3;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16);
    }
    const uint8_t* p = row + x * 2;
    uint32_t word = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
    uint32_t red, green, blue;
    if (frame.Green_Mask == 0x07E0) {
        red = Expand((word >> 11) & 0x1F, 5);
        green = Expand((word >> 5) & 0x3F, 6);
    } else {
        red = Expand((word >> 10) & 0x1F, 5);
        green = Expand((word >> 5) & 0x1F, 5);
    }
    blue = Expand(word & 0x1F, 5);
    return (red << 16) | (green << 8) | blue;
}

} // namespace

bool Window_System::Present(HWND window, const Frame_Pixels& frame)
{
    Window* record = Find(window);
    if (record == nullptr || frame.Pixels == nullptr || frame.Width <= 0 || frame.Height <= 0) {
        return false;
    }
    int bits = frame.Bits_Per_Pixel;
    if (bits != 16 && bits != 24 && bits != 32) {
        return false;
    }
    RECT client{};
    Get_Client_Rect(window, &client);
    int width = client.right > 0 ? client.right : frame.Width;
    int height = client.bottom > 0 ? client.bottom : frame.Height;
    Presented_Frame& shown = record->Frame;
    shown.Width = width;
    shown.Height = height;
    shown.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        int source_y = static_cast<int>(static_cast<int64_t>(y) * frame.Height / height);
        for (int x = 0; x < width; ++x) {
            int source_x = static_cast<int>(static_cast<int64_t>(x) * frame.Width / width);
            shown.Pixels[static_cast<std::size_t>(y) * width + x] = Pixel_At(frame, source_x, source_y);
        }
    }
    shown.Count += 1;
    Pace_Frame();
    On_Frame_Presented(*record);
    return true;
}

const Presented_Frame* Window_System::Last_Frame(HWND window) const
{
    const Window* record = Find(window);
    return record && record->Frame.Count > 0 ? &record->Frame : nullptr;
}
