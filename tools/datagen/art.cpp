// Colour, noise and distance helpers of the default-data generator.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour Hsv(float hue, float saturation, float value)
{
    hue = hue - std::floor(hue);
    float h = hue * 6.0f;
    int sector = static_cast<int>(h) % 6;
    float f = h - std::floor(h);
    float p = value * (1 - saturation);
    float q = value * (1 - saturation * f);
    float t = value * (1 - saturation * (1 - f));
    switch (sector) {
    case 0:
        return {value, t, p};
    case 1:
        return {q, value, p};
    case 2:
        return {p, value, t};
    case 3:
        return {p, q, value};
    case 4:
        return {t, p, value};
    default:
        return {value, p, q};
    }
}

float Clamp01(float x)
{
    return std::clamp(x, 0.0f, 1.0f);
}

float Smoothstep(float edge0, float edge1, float x)
{
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

namespace {

float Lattice(int x, int y, uint32_t seed)
{
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

} // namespace

float Noise(float x, float y, uint32_t seed)
{
    int x0 = static_cast<int>(std::floor(x));
    int y0 = static_cast<int>(std::floor(y));
    float fx = x - x0;
    float fy = y - y0;
    float sx = fx * fx * (3 - 2 * fx);
    float sy = fy * fy * (3 - 2 * fy);
    float a = Lattice(x0, y0, seed) + (Lattice(x0 + 1, y0, seed) - Lattice(x0, y0, seed)) * sx;
    float b = Lattice(x0, y0 + 1, seed) + (Lattice(x0 + 1, y0 + 1, seed) - Lattice(x0, y0 + 1, seed)) * sx;
    return a + (b - a) * sy;
}

float Fractal_Noise(float x, float y, uint32_t seed, int octaves)
{
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += Noise(x, y, seed + static_cast<uint32_t>(i) * 101u) * amplitude;
        total += amplitude;
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

float Segment_Distance(float px, float py, float ax, float ay, float bx, float by)
{
    float dx = bx - ax, dy = by - ay;
    float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? Clamp01(((px - ax) * dx + (py - ay) * dy) / length2) : 0;
    float cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

float Glow(float d, float w)
{
    return std::exp(-(d * d) / (w * w));
}

void Normalise(Image& image, float peak)
{
    float brightest = 0;
    for (const Colour& c : image.Pixels) {
        brightest = std::max({brightest, c.R, c.G, c.B});
    }
    float k = brightest > 0 ? peak / brightest : 1;
    for (Colour& c : image.Pixels) {
        c = {Clamp01(c.R * k), Clamp01(c.G * k), Clamp01(c.B * k)};
    }
}

void Brighten(Image& image, float gamma)
{
    for (Colour& c : image.Pixels) {
        c = {std::pow(Clamp01(c.R), gamma), std::pow(Clamp01(c.G), gamma), std::pow(Clamp01(c.B), gamma)};
    }
}

} // namespace art
