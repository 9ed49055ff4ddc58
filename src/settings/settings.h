// The settings record: 328 bytes, little-endian, stored byte for byte in Settings.DAT.
//
// The record keeps the file's bytes exactly (padding included) so an untouched record is
// written back unchanged. It is never range-checked when loaded; readers take their values
// through View_Of(), which gives every field in a form that is safe to use whatever the
// file held.
#pragma once

#include <cstdint>
#include <string>

struct Settings {
    int32_t Reserved_0 = 0;
    uint8_t Padding_4[4] = {};
    double Fade_Interval = 0.0;  // seconds between two fade steps of a layer
    double Rotation_Speed = 0.0; // radians per second about the view axis
    uint8_t Music_On = 0;        // booleans: readers test for the value 1
    uint8_t Symbols_On = 0;
    uint8_t Padding_26[2] = {};
    int32_t Plasma_Contrast = 0;
    int32_t Sine_Wave_Variance = 0;
    uint8_t Padding_36[4] = {};
    double Sine_Wave_Density = 0.0;
    float Plasma_Interference = 0.0f;
    uint8_t Desktop_Resolution = 0;
    uint8_t Titles_On = 0;
    uint8_t Titles_Detailed = 0;
    uint8_t Plasma_Random = 0;
    uint32_t Brightness = 0;
    int32_t Plasma_Texture_Size = 0;
    char MP3_Folder[260] = {};
    uint8_t Padding_324[4] = {};
};

inline constexpr std::size_t Settings_File_Size = 328;

// The defaults, and the ranges the menus and dialogs produce (which the view keeps values in).
namespace Settings_Defaults {
inline constexpr double Fade_Interval = 0.09;
inline constexpr double Min_Fade_Interval = 0.00001;
inline constexpr double Max_Fade_Interval = 0.1;
inline constexpr double Rotation_Speed = 0.125;
inline constexpr double Min_Rotation_Speed = 0.00001;
inline constexpr double Max_Rotation_Speed = 0.5;
inline constexpr int32_t Plasma_Contrast = 4;
inline constexpr int32_t Min_Plasma_Contrast = 2;
inline constexpr int32_t Max_Plasma_Contrast = 25;
inline constexpr int32_t Sine_Wave_Variance = 3;
inline constexpr int32_t Min_Sine_Wave_Variance = 1;
inline constexpr int32_t Max_Sine_Wave_Variance = 100;
inline constexpr double Sine_Wave_Density = 0.85;
inline constexpr double Min_Sine_Wave_Density = 0.0002;
inline constexpr double Max_Sine_Wave_Density = 1.0;
inline constexpr float Plasma_Interference = 9.5f;
inline constexpr double Min_Plasma_Interference = 3.0;
inline constexpr double Max_Plasma_Interference = 12.0;
inline constexpr uint32_t Brightness = 0xCCCCCCCC;
inline constexpr uint32_t Min_Brightness_Level = 40; // each of the four equal bytes
inline constexpr int32_t Plasma_Texture_Size = 256;
} // namespace Settings_Defaults

// The record as its readers may use it: every value within what the program can handle.
struct Settings_View {
    double Fade_Interval;
    double Rotation_Speed;
    bool Music_On;
    bool Symbols_On;
    int Plasma_Contrast;    // 2 … 25
    int Sine_Wave_Variance; // 1 … 100
    double Sine_Wave_Density;
    float Plasma_Interference;
    bool Desktop_Resolution;
    bool Titles_On;
    bool Titles_Detailed;
    bool Plasma_Random;
    uint32_t Brightness;
    int Plasma_Texture_Size; // 256 or 512
    std::string MP3_Folder;  // the stored text (at most 259 characters), ending in '/'
};

// Values are clamped into the ranges above (NaN and infinities give the default); booleans
// are true only for the byte 1; the brightness is its low byte (at least 40) in all four
// bytes; a texture size other than 512 is 256; the folder is cut at its first zero or at 259
// characters, gets a trailing '/', and is the default folder when empty.
Settings_View View_Of(const Settings& record);

// "<data dir>/Lucivanta/MP3/".
std::string Default_MP3_Folder();
// Every field to its default; the padding is left as it is.
void Fill_Defaults(Settings& record);

// Field-by-field (de)serialisation of the 328 bytes, independent of the compiler's layout.
void Encode_Settings(const Settings& record, uint8_t out[Settings_File_Size]);
void Decode_Settings(const uint8_t in[Settings_File_Size], Settings& record);
