// Small tools of the default-data generator: a floating-point RGB image, colour helpers,
// value noise and a seeded generator of its own (so the art never depends on a library's
// random numbers and is the same on every build).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Colour {
    float R = 0, G = 0, B = 0;
};

inline Colour operator+(Colour a, Colour b)
{
    return {a.R + b.R, a.G + b.G, a.B + b.B};
}
inline Colour operator*(Colour a, float k)
{
    return {a.R * k, a.G * k, a.B * k};
}
inline Colour operator*(Colour a, Colour b)
{
    return {a.R * b.R, a.G * b.G, a.B * b.B};
}

struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<Colour> Pixels;

    Image(int width, int height)
        : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height)
    {
    }
    Colour& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    const Colour& At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

class Seeded {
public:
    explicit Seeded(uint32_t seed) : State(seed * 2654435761u + 1u) {}
    uint32_t Next()
    {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // 0 … 1
    float Unit() { return static_cast<float>(Next() & 0xFFFFFF) / 16777215.0f; }
    float Range(float low, float high) { return low + (high - low) * Unit(); }

private:
    uint32_t State;
};

constexpr float Pi = 3.14159265358979f;

// Hue 0 … 1 around the colour wheel, saturation and value 0 … 1.
Colour Hsv(float hue, float saturation, float value);
float Smoothstep(float edge0, float edge1, float x);
float Clamp01(float x);
// Smooth value noise in 0 … 1 and its fractal sum (octaves halving in amplitude).
float Noise(float x, float y, uint32_t seed);
float Fractal_Noise(float x, float y, uint32_t seed, int octaves);
// Distance from p to the segment a-b.
float Segment_Distance(float px, float py, float ax, float ay, float bx, float by);
// A soft glow falling off with distance d at width w (1 on the line).
float Glow(float d, float w);
// Scales an image's brightest channel to peak and clamps (so every picture uses the range).
void Normalise(Image& image, float peak);
// Lifts faint light (gamma below 1) without moving black or white.
void Brighten(Image& image, float gamma);

} // namespace art
