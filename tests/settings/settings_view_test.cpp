// The record's field offsets, and the sanitised view that readers take of damaged values.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

TEST(Settings_Layout, FieldsLandAtTheirOffsets)
{
    Settings record;
    record.Reserved_0 = 0x01020304;
    record.Rotation_Speed = 0.5;
    record.Symbols_On = 1;
    record.Sine_Wave_Variance = 100;
    record.Sine_Wave_Density = 0.25;
    record.Plasma_Interference = 3.5f;
    record.Plasma_Random = 1;
    record.Plasma_Texture_Size = 512;
    record.MP3_Folder[0] = '/';
    record.Padding_36[1] = 0xEE;
    uint8_t bytes[Settings_File_Size];
    Encode_Settings(record, bytes);

    auto value_at = [&](std::size_t offset, auto sample) {
        std::memcpy(&sample, bytes + offset, sizeof sample);
        return sample;
    };
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    EXPECT_EQ(value_at(16, 0.0), 0.5);
    EXPECT_EQ(bytes[25], 1);
    EXPECT_EQ(value_at(32, int32_t{}), 100);
    EXPECT_EQ(bytes[37], 0xEE);
    EXPECT_EQ(value_at(40, 0.0), 0.25);
    EXPECT_EQ(value_at(48, 0.0f), 3.5f);
    EXPECT_EQ(bytes[55], 1);
    EXPECT_EQ(value_at(60, int32_t{}), 512);
    EXPECT_EQ(bytes[64], '/');

    Settings back;
    Decode_Settings(bytes, back);
    uint8_t again[Settings_File_Size];
    Encode_Settings(back, again);
    EXPECT_EQ(std::memcmp(bytes, again, sizeof bytes), 0);
}

TEST(Settings_View, DefaultsPassUnchanged)
{
    Settings record;
    Fill_Defaults(record);
    const Settings_View view = View_Of(record);
    EXPECT_EQ(view.Fade_Interval, 0.09);
    EXPECT_EQ(view.Rotation_Speed, 0.125);
    EXPECT_TRUE(view.Music_On && view.Symbols_On && view.Titles_On && view.Titles_Detailed);
    EXPECT_FALSE(view.Desktop_Resolution || view.Plasma_Random);
    EXPECT_EQ(view.Plasma_Contrast, 4);
    EXPECT_EQ(view.Sine_Wave_Variance, 3);
    EXPECT_EQ(view.Sine_Wave_Density, 0.85);
    EXPECT_EQ(view.Plasma_Interference, 9.5f);
    EXPECT_EQ(view.Brightness, 0xCCCCCCCCu);
    EXPECT_EQ(view.Plasma_Texture_Size, 256);
    EXPECT_EQ(view.MP3_Folder, std::string(record.MP3_Folder));
}

TEST(Settings_View, DamagedValuesAreReadSafely)
{
    Settings record;
    std::memset(static_cast<void*>(&record), 0xFF, sizeof record); // no terminator in the folder either
    record.Fade_Interval = std::numeric_limits<double>::quiet_NaN();
    record.Rotation_Speed = 1e300;
    record.Sine_Wave_Density = -std::numeric_limits<double>::infinity();
    record.Plasma_Interference = std::numeric_limits<float>::infinity();
    record.Plasma_Contrast = -7;
    record.Sine_Wave_Variance = 1 << 30;
    record.Plasma_Texture_Size = 300;
    record.Brightness = 0x00000005;
    const Settings_View view = View_Of(record);
    EXPECT_EQ(view.Fade_Interval, 0.09);
    EXPECT_EQ(view.Rotation_Speed, 0.5);
    EXPECT_EQ(view.Sine_Wave_Density, 0.85);
    EXPECT_EQ(view.Plasma_Interference, 9.5f);
    EXPECT_EQ(view.Plasma_Contrast, 2);
    EXPECT_EQ(view.Sine_Wave_Variance, 100);
    EXPECT_EQ(view.Plasma_Texture_Size, 256);
    EXPECT_EQ(view.Brightness, 0x28282828u);
    EXPECT_FALSE(view.Music_On); // 0xFF is not the value 1
    EXPECT_EQ(view.MP3_Folder, std::string(259, '\xFF') + "/");
}

TEST(Settings_View, EmptyFolderFallsBackToTheDefault)
{
    Settings record;
    Fill_Defaults(record);
    record.MP3_Folder[0] = '\0';
    EXPECT_EQ(View_Of(record).MP3_Folder, Default_MP3_Folder());
    std::snprintf(record.MP3_Folder, sizeof record.MP3_Folder, "/home/x/Music");
    EXPECT_EQ(View_Of(record).MP3_Folder, "/home/x/Music/");
}

} // namespace
