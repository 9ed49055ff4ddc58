// Backdrops (whole-square textures) and the rose window, which shares the stained-glass cells.
#include "pictures.h"

#include <cmath>
#include <vector>

namespace art {
namespace {

struct Cell {
    float X, Y;
    Colour Glass;
};

std::vector<Cell> Cells(int count, uint32_t seed)
{
    Seeded random(seed);
    static const float jewel_hues[] = {0.0f, 0.08f, 0.14f, 0.33f, 0.55f, 0.62f, 0.75f, 0.85f};
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i) {
        float hue = jewel_hues[random.Next() % 8] + random.Range(-0.02f, 0.02f);
        cells.push_back(
            {random.Unit(), random.Unit(), Hsv(hue, random.Range(0.6f, 0.95f), random.Range(0.6f, 1))});
    }
    return cells;
}

// Nearest and second-nearest cell at (x, y) on a square that wraps around (so the texture tiles).
void Nearest(const std::vector<Cell>& cells, float x, float y, int& best, float& d1, float& d2)
{
    d1 = d2 = 1e9f;
    best = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        float dx = std::fabs(x - cells[i].X), dy = std::fabs(y - cells[i].Y);
        dx = std::min(dx, 1 - dx);
        dy = std::min(dy, 1 - dy);
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < d1) {
            d2 = d1;
            d1 = d;
            best = static_cast<int>(i);
        } else if (d < d2) {
            d2 = d;
        }
    }
}

template <typename F> Image Square(int size, F f)
{
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.At(x, y) = f((x + 0.5f) / size, (y + 0.5f) / size);
        }
    }
    return image;
}

} // namespace

Image Stained_Glass(int size, uint32_t seed)
{
    std::vector<Cell> cells = Cells(48, seed);
    Image image = Square(size, [&](float x, float y) {
        int best;
        float d1, d2;
        Nearest(cells, x, y, best, d1, d2);
        float lead = Smoothstep(0.004f, 0.012f, d2 - d1);
        float sheen = 0.75f + 0.25f * Fractal_Noise(x * 20, y * 20, seed, 3);
        return cells[static_cast<size_t>(best)].Glass * (lead * sheen);
    });
    return image;
}

Image Rose_Window(int size)
{
    // Cells in polar coordinates with an eight-fold mirror, flat colours with a few shades,
    // so the picture needs few colours (it is written as an 8-bit file).
    std::vector<Cell> cells = Cells(14, 5);
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size * 2 - 1, v = 1 - (y + 0.5f) / size * 2;
            float r = std::sqrt(u * u + v * v);
            if (r > 0.9f) {
                image.At(x, y) = {};
                continue;
            }
            float a = std::atan2(v, u) + Pi;
            float sector = 2 * Pi / 8;
            float local = std::fmod(a, sector) / sector;
            local = local > 0.5f ? 1 - local : local;
            int best;
            float d1, d2;
            Nearest(cells, local, r / 0.9f, best, d1, d2);
            bool lead = d2 - d1 < 0.03f || std::fabs(r - 0.86f) < 0.02f || std::fabs(r - 0.2f) < 0.015f;
            float shade = std::floor((1.1f - r * 0.5f) * 4) / 4;
            image.At(x, y) = lead ? Colour{} : cells[static_cast<size_t>(best)].Glass * shade;
        }
    }
    return image;
}

Image Nebula(int size, uint32_t seed, float hue)
{
    Seeded random(seed);
    Image image = Square(size, [&](float x, float y) {
        float warp = Fractal_Noise(x * 3, y * 3, seed + 7, 4);
        float cloud = Fractal_Noise(x * 4 + warp * 2, y * 4 - warp * 2, seed, 6);
        float glow = std::pow(Clamp01(cloud * 1.6f - 0.35f), 1.6f);
        float second = std::pow(Clamp01(Fractal_Noise(x * 5, y * 5, seed + 31, 5) * 1.5f - 0.45f), 2.0f);
        return Hsv(hue + cloud * 0.2f, 0.75f, 1) * glow + Hsv(hue + 0.45f, 0.8f, 1) * second * 0.8f;
    });
    for (int i = 0; i < size * size / 300; ++i) {
        int x = static_cast<int>(random.Unit() * (size - 1));
        int y = static_cast<int>(random.Unit() * (size - 1));
        float b = std::pow(random.Unit(), 3.0f);
        image.At(x, y) = image.At(x, y) + Colour{b, b, b * 0.9f + 0.1f};
    }
    Normalise(image, 1);
    return image;
}

Image Julia(int size, float cr, float ci, float hue)
{
    Image image = Square(size, [&](float x, float y) {
        float zr = (x - 0.5f) * 3.0f, zi = (y - 0.5f) * 3.0f;
        int i = 0;
        const int limit = 160;
        for (; i < limit && zr * zr + zi * zi < 16; ++i) {
            float t = zr * zr - zi * zi + cr;
            zi = 2 * zr * zi + ci;
            zr = t;
        }
        if (i == limit) {
            return Colour{0.02f, 0.0f, 0.05f};
        }
        // Smooth iteration count for bands without steps.
        float smooth = i + 1 - std::log2(std::log2(std::max(zr * zr + zi * zi, 1.0001f)) * 0.5f + 1e-6f);
        float t = smooth / 40.0f;
        return Hsv(hue + t * 0.6f, 0.8f, Clamp01(std::pow(t, 0.5f) * 1.2f));
    });
    Normalise(image, 1);
    return image;
}

Image Marble(int size, uint32_t seed)
{
    return Square(size, [&](float x, float y) {
        float turbulence = Fractal_Noise(x * 4, y * 4, seed, 6);
        float vein = std::fabs(std::sin((x * 3 + y * 2 + turbulence * 4) * Pi));
        float dark = std::pow(vein, 0.25f);
        Colour stone = Hsv(0.58f + turbulence * 0.1f, 0.35f, 0.85f);
        Colour gold = Hsv(0.11f, 0.8f, 1);
        float gold_vein = Glow(vein, 0.05f);
        return stone * dark + gold * gold_vein;
    });
}

Image Aurora(int size, uint32_t seed)
{
    return Square(size, [&](float x, float y) {
        float light = 0;
        Colour sum{};
        for (int band = 0; band < 3; ++band) {
            float centre = 0.3f + 0.2f * band + 0.08f * std::sin(x * 2 * Pi * (band + 1) + band);
            centre += (Fractal_Noise(x * 3, band * 5.0f, seed, 4) - 0.5f) * 0.25f;
            float curtain = Glow(y - centre, 0.05f + 0.03f * band);
            float rays = 0.6f + 0.4f * Fractal_Noise(x * 40, y * 2, seed + band, 3);
            sum = sum + Hsv(0.33f + 0.15f * band, 0.8f, 1) * (curtain * rays);
            light += curtain;
        }
        return sum * 0.9f + Colour{0.0f, 0.01f, 0.04f} * (1 - Clamp01(light));
    });
}

Image Opal(int size, uint32_t seed)
{
    return Square(size, [&](float x, float y) {
        float n = Fractal_Noise(x * 5, y * 5, seed, 5);
        float rings = std::sin((n * 12 + x * 3) * Pi) * 0.5f + 0.5f;
        float fire = std::pow(rings, 3.0f);
        return Hsv(n * 1.5f + x * 0.3f, 0.55f, 0.35f + 0.65f * fire);
    });
}

} // namespace art
