// Building the plasma's radial tables (see plasma_wave.h).
#include "effects/plasma_wave.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "log/error_log.h"
#include "platform/system/random.h"

namespace {

// The stretch factor of the distance rings, a single-precision constant used widened.
constexpr double Ring_Scale = static_cast<double>(5.4f);
// 2^-14: a draw of 0 … 32767 becomes a start phase of 0 … 2 radians, exact in single precision.
constexpr float Phase_Scale = 0.00006103515625f;

double Centre_Distance(int32_t dx, int32_t dy)
{
    const int64_t square = int64_t{dx} * dx + int64_t{dy} * dy + 16;
    return std::sqrt(static_cast<double>(square)) - 4.0;
}

uint8_t Low_Byte(double value)
{
    return static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
}

std::unique_ptr<uint8_t[]> Allocate_Table(int32_t width, int32_t height)
{
    if (width < 1 || height < 1 || width > Plasma_Max_Side || height > Plasma_Max_Side)
        return nullptr;
    const std::size_t bytes = std::size_t(2) * std::size_t(width) * 2 * std::size_t(height);
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

// Fills the top-left quadrant, then mirrors it to the right and downwards.
void Fill_Table(uint8_t* table, int32_t width, int32_t height, auto value_of)
{
    const std::size_t row_length = std::size_t(2) * width;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = table + std::size_t(y) * row_length;
        for (int32_t x = 0; x < width; ++x)
            row[x] = value_of(width - x, height - y);
        for (int32_t x = width; x < 2 * width; ++x)
            row[x] = row[2 * width - 1 - x];
    }
    for (int32_t y = height; y < 2 * height; ++y)
        std::memcpy(table + std::size_t(y) * row_length, table + std::size_t(2 * height - 1 - y) * row_length,
                    row_length);
}

} // namespace

void PlasmaWave::Free_Tables()
{
    distance_table.reset();
    ripple_table.reset();
}

uint8_t Plasma_Distance_Value(int32_t dx, int32_t dy, int32_t contrast)
{
    return Low_Byte(Centre_Distance(dx, dy) * Ring_Scale / contrast);
}

uint8_t Plasma_Ripple_Value(int32_t dx, int32_t dy, int32_t contrast, float interference)
{
    return Low_Byte((std::sin(Centre_Distance(dx, dy) / interference) + 1.0) * 50.0 / contrast);
}

bool Build_Plasma_Wave(PlasmaWave& wave, int32_t width, int32_t height, int32_t contrast, float interference)
{
    wave.width = width;
    wave.height = height;
    for (int i = 0; i < 8; ++i) {
        const float draw = static_cast<float>(Random::rand());
        wave.phase[i] = (i % 2 == 0) ? draw * Phase_Scale : draw * -Phase_Scale;
    }

    wave.Free_Tables();
    wave.distance_table = Allocate_Table(width, height);
    if (!wave.distance_table) {
        Report("Setup_Plasma():\n\nUnable to allocate memory for plasma table 1");
        return false;
    }
    wave.ripple_table = Allocate_Table(width, height);
    if (!wave.ripple_table) {
        wave.Free_Tables();
        Report("Setup_Plasma():\n\nUnable to allocate memory for plasma table 2");
        return false;
    }

    Fill_Table(wave.distance_table.get(), width, height,
               [&](int32_t dx, int32_t dy) { return Plasma_Distance_Value(dx, dy, contrast); });
    Fill_Table(wave.ripple_table.get(), width, height,
               [&](int32_t dx, int32_t dy) { return Plasma_Ripple_Value(dx, dy, contrast, interference); });
    return true;
}
