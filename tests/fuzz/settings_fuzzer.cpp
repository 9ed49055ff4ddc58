// Any 328 bytes as the settings file: the view every reader takes stays within the ranges the
// program can compute with, and a save writes back exactly the bytes that were loaded.
#include "settings/settings.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

template <typename T> bool Within(T value, double low, double high)
{
    return std::isfinite(static_cast<double>(value)) && value >= low && value <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    namespace D = Settings_Defaults;
    uint8_t bytes[Settings_File_Size] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    Settings record;
    Decode_Settings(bytes, record);
    const Settings_View view = View_Of(record);
    Check(Within(view.Fade_Interval, D::Min_Fade_Interval, D::Max_Fade_Interval));
    Check(Within(view.Rotation_Speed, -D::Max_Rotation_Speed, D::Max_Rotation_Speed));
    Check(Within(view.Plasma_Contrast, D::Min_Plasma_Contrast, D::Max_Plasma_Contrast));
    Check(Within(view.Sine_Wave_Variance, D::Min_Sine_Wave_Variance, D::Max_Sine_Wave_Variance));
    Check(Within(view.Sine_Wave_Density, D::Min_Sine_Wave_Density, D::Max_Sine_Wave_Density));
    Check(Within(view.Plasma_Interference, D::Min_Plasma_Interference, D::Max_Plasma_Interference));
    Check((view.Brightness & 0xFF) >= D::Min_Brightness_Level &&
          view.Brightness == (view.Brightness & 0xFF) * 0x01010101u);
    Check(view.Plasma_Texture_Size == 256 || view.Plasma_Texture_Size == 512);
    Check(!view.MP3_Folder.empty() && view.MP3_Folder.back() == '/' &&
          view.MP3_Folder.find('\0') == std::string::npos);
    uint8_t saved[Settings_File_Size];
    Encode_Settings(record, saved);
    Check(std::memcmp(saved, bytes, sizeof saved) == 0);
    return 0;
}
