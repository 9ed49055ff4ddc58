// The settings record's byte layout, its defaults and its sanitised view.
#include "settings/settings.h"

#include "platform/system/data_dir.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

// Little-endian field access at fixed offsets, whatever the host's struct layout.
template <typename Value> void Put(uint8_t* bytes, std::size_t offset, Value value)
{
    uint8_t raw[sizeof(Value)];
    std::memcpy(raw, &value, sizeof raw);
    for (std::size_t i = 0; i < sizeof raw; ++i)
        bytes[offset + i] = raw[std::endian::native == std::endian::little ? i : sizeof raw - 1 - i];
}

template <typename Value> void Get(const uint8_t* bytes, std::size_t offset, Value& value)
{
    uint8_t raw[sizeof(Value)];
    for (std::size_t i = 0; i < sizeof raw; ++i)
        raw[std::endian::native == std::endian::little ? i : sizeof raw - 1 - i] = bytes[offset + i];
    std::memcpy(&value, raw, sizeof raw);
}

template <std::size_t N> void Put_Bytes(uint8_t* bytes, std::size_t offset, const uint8_t (&field)[N])
{
    std::memcpy(bytes + offset, field, N);
}

template <std::size_t N> void Get_Bytes(const uint8_t* bytes, std::size_t offset, uint8_t (&field)[N])
{
    std::memcpy(field, bytes + offset, N);
}

double Within(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

uint32_t Sane_Brightness(uint32_t brightness)
{
    const uint32_t level = std::max<uint32_t>(brightness & 0xFF, Settings_Defaults::Min_Brightness_Level);
    return level * 0x01010101u;
}

std::string Sane_Folder(const char (&folder)[260])
{
    std::string text(folder, strnlen(folder, sizeof folder - 1));
    if (text.empty())
        return Default_MP3_Folder();
    if (text.back() != '/')
        text += '/';
    return text;
}

} // namespace

std::string Default_MP3_Folder()
{
    return Windows_Directory_Plus("/Lucivanta/MP3/");
}

void Fill_Defaults(Settings& record)
{
    record.Reserved_0 = 0;
    record.Fade_Interval = Settings_Defaults::Fade_Interval;
    record.Rotation_Speed = Settings_Defaults::Rotation_Speed;
    record.Music_On = 1;
    record.Symbols_On = 1;
    record.Plasma_Contrast = Settings_Defaults::Plasma_Contrast;
    record.Sine_Wave_Variance = Settings_Defaults::Sine_Wave_Variance;
    record.Sine_Wave_Density = Settings_Defaults::Sine_Wave_Density;
    record.Plasma_Interference = Settings_Defaults::Plasma_Interference;
    record.Desktop_Resolution = 0;
    record.Titles_On = 1;
    record.Titles_Detailed = 1;
    record.Plasma_Random = 0;
    record.Brightness = Settings_Defaults::Brightness;
    record.Plasma_Texture_Size = Settings_Defaults::Plasma_Texture_Size;
    std::memset(record.MP3_Folder, 0, sizeof record.MP3_Folder);
    const std::string folder = Default_MP3_Folder();
    std::memcpy(record.MP3_Folder, folder.c_str(), std::min(folder.size(), sizeof record.MP3_Folder - 1));
}

void Encode_Settings(const Settings& record, uint8_t out[Settings_File_Size])
{
    Put(out, 0, record.Reserved_0);
    Put_Bytes(out, 4, record.Padding_4);
    Put(out, 8, record.Fade_Interval);
    Put(out, 16, record.Rotation_Speed);
    Put(out, 24, record.Music_On);
    Put(out, 25, record.Symbols_On);
    Put_Bytes(out, 26, record.Padding_26);
    Put(out, 28, record.Plasma_Contrast);
    Put(out, 32, record.Sine_Wave_Variance);
    Put_Bytes(out, 36, record.Padding_36);
    Put(out, 40, record.Sine_Wave_Density);
    Put(out, 48, record.Plasma_Interference);
    Put(out, 52, record.Desktop_Resolution);
    Put(out, 53, record.Titles_On);
    Put(out, 54, record.Titles_Detailed);
    Put(out, 55, record.Plasma_Random);
    Put(out, 56, record.Brightness);
    Put(out, 60, record.Plasma_Texture_Size);
    std::memcpy(out + 64, record.MP3_Folder, sizeof record.MP3_Folder);
    Put_Bytes(out, 324, record.Padding_324);
}

void Decode_Settings(const uint8_t in[Settings_File_Size], Settings& record)
{
    Get(in, 0, record.Reserved_0);
    Get_Bytes(in, 4, record.Padding_4);
    Get(in, 8, record.Fade_Interval);
    Get(in, 16, record.Rotation_Speed);
    Get(in, 24, record.Music_On);
    Get(in, 25, record.Symbols_On);
    Get_Bytes(in, 26, record.Padding_26);
    Get(in, 28, record.Plasma_Contrast);
    Get(in, 32, record.Sine_Wave_Variance);
    Get_Bytes(in, 36, record.Padding_36);
    Get(in, 40, record.Sine_Wave_Density);
    Get(in, 48, record.Plasma_Interference);
    Get(in, 52, record.Desktop_Resolution);
    Get(in, 53, record.Titles_On);
    Get(in, 54, record.Titles_Detailed);
    Get(in, 55, record.Plasma_Random);
    Get(in, 56, record.Brightness);
    Get(in, 60, record.Plasma_Texture_Size);
    std::memcpy(record.MP3_Folder, in + 64, sizeof record.MP3_Folder);
    Get_Bytes(in, 324, record.Padding_324);
}

Settings_View View_Of(const Settings& record)
{
    namespace D = Settings_Defaults;
    Settings_View view;
    view.Fade_Interval =
        Within(record.Fade_Interval, D::Min_Fade_Interval, D::Max_Fade_Interval, D::Fade_Interval);
    view.Rotation_Speed =
        Within(record.Rotation_Speed, D::Min_Rotation_Speed, D::Max_Rotation_Speed, D::Rotation_Speed);
    view.Music_On = record.Music_On == 1;
    view.Symbols_On = record.Symbols_On == 1;
    view.Plasma_Contrast = std::clamp(record.Plasma_Contrast, D::Min_Plasma_Contrast, D::Max_Plasma_Contrast);
    view.Sine_Wave_Variance =
        std::clamp(record.Sine_Wave_Variance, D::Min_Sine_Wave_Variance, D::Max_Sine_Wave_Variance);
    view.Sine_Wave_Density = Within(record.Sine_Wave_Density, D::Min_Sine_Wave_Density,
                                    D::Max_Sine_Wave_Density, D::Sine_Wave_Density);
    view.Plasma_Interference =
        static_cast<float>(Within(record.Plasma_Interference, D::Min_Plasma_Interference,
                                  D::Max_Plasma_Interference, D::Plasma_Interference));
    view.Desktop_Resolution = record.Desktop_Resolution == 1;
    view.Titles_On = record.Titles_On == 1;
    view.Titles_Detailed = record.Titles_Detailed == 1;
    view.Plasma_Random = record.Plasma_Random == 1;
    view.Brightness = Sane_Brightness(record.Brightness);
    view.Plasma_Texture_Size = record.Plasma_Texture_Size == 512 ? 512 : 256;
    view.MP3_Folder = Sane_Folder(record.MP3_Folder);
    return view;
}
