// Wall images and the logo: symbols of light on black, each with a soft halo.
#include "pictures.h"

#include <cmath>

namespace art {
namespace {

// Runs f(u, v, r, angle) over the image with u, v in -1 … 1 (y up).
template <typename F> Image Polar(int size, F f)
{
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size * 2 - 1;
            float v = 1 - (y + 0.5f) / size * 2;
            float r = std::sqrt(u * u + v * v);
            image.At(x, y) = f(u, v, r, std::atan2(v, u));
        }
    }
    return image;
}

// Fades everything out towards the edge so no wall image shows a hard square.
float Vignette(float r)
{
    return 1 - Smoothstep(0.82f, 0.98f, r);
}

float Ring(float r, float radius, float width)
{
    return Glow(r - radius, width);
}

} // namespace

Image Mandala(int size, int petals, float hue)
{
    Image image = Polar(size, [&](float, float, float r, float a) {
        float k = static_cast<float>(petals);
        float petal = std::pow(std::fabs(std::cos(a * k * 0.5f)), 3.0f);
        float outer = Glow(r - (0.55f + 0.2f * petal), 0.05f) * 0.9f;
        float inner_petal = std::pow(std::fabs(std::cos(a * k + r * 6)), 8.0f) * Smoothstep(0.5f, 0.15f, r);
        float rings = Ring(r, 0.3f, 0.015f) + Ring(r, 0.78f, 0.012f) + Ring(r, 0.1f, 0.03f);
        float dots = Glow(r - 0.68f, 0.02f) * std::pow(std::fabs(std::cos(a * k * 1.5f)), 40.0f) * 2;
        Colour warm = Hsv(hue + r * 0.25f, 0.75f, 1);
        Colour cool = Hsv(hue + 0.5f, 0.6f, 1);
        return (warm * (outer + inner_petal * 0.8f + dots) + cool * rings) * Vignette(r);
    });
    Normalise(image, 1);
    return image;
}

Image Star_Sigil(int size, int points, int step, float hue)
{
    Image image = Polar(size, [&](float u, float v, float r, float) {
        float line = 1e9f;
        for (int i = 0; i < points; ++i) {
            float a0 = Pi / 2 + 2 * Pi * i / points;
            float a1 = Pi / 2 + 2 * Pi * ((i + step) % points) / points;
            float d = Segment_Distance(u, v, 0.7f * std::cos(a0), 0.7f * std::sin(a0), 0.7f * std::cos(a1),
                                       0.7f * std::sin(a1));
            line = std::min(line, d);
        }
        float core = Glow(line, 0.012f);
        float halo = Glow(line, 0.06f) * 0.35f;
        float circle = Ring(r, 0.76f, 0.012f) + Ring(r, 0.8f, 0.006f) * 0.6f;
        Colour gold = Hsv(hue, 0.55f, 1);
        Colour white{1, 1, 1};
        return (white * core * 0.7f + gold * (core * 0.5f + halo + circle)) * Vignette(r);
    });
    Normalise(image, 1);
    return image;
}

Image Flower_Of_Life(int size)
{
    Image image = Polar(size, [&](float u, float v, float r, float) {
        const float radius = 0.22f;
        float light = 0;
        // The centre circle, six around it and twelve on the next ring.
        for (int ring = 0; ring <= 2; ++ring) {
            int count = ring == 0 ? 1 : 6 * ring;
            for (int i = 0; i < count; ++i) {
                float a = 2 * Pi * i / count + (ring == 2 ? Pi / 12 * 0 : 0);
                float distance = ring == 2 && i % 2 == 1 ? radius * std::sqrt(3.0f) : radius * ring;
                float cx = distance * std::cos(a), cy = distance * std::sin(a);
                float d = std::sqrt((u - cx) * (u - cx) + (v - cy) * (v - cy));
                light += Glow(d - radius, 0.01f) * (1 - 0.2f * ring);
            }
        }
        light *= 1 - Smoothstep(0.62f, 0.7f, r);
        float frame = Ring(r, 0.72f, 0.01f) + Ring(r, 0.76f, 0.008f);
        Colour violet = Hsv(0.78f - r * 0.3f, 0.6f, 1);
        return (violet * light + Hsv(0.55f, 0.5f, 1) * frame) * Vignette(r);
    });
    Normalise(image, 1);
    Brighten(image, 0.6f);
    return image;
}

Image Triskele(int size)
{
    Image image = Polar(size, [&](float, float, float r, float a) {
        float light = 0;
        for (int arm = 0; arm < 3; ++arm) {
            // A logarithmic spiral per arm: distance in angle to r = e^(b·θ).
            float phase = a - 2 * Pi * arm / 3 - std::log(std::max(r, 0.01f)) * 2.2f;
            float wave = std::cos(phase);
            light += std::pow((wave + 1) * 0.5f, 24.0f);
        }
        light *= Smoothstep(0.03f, 0.12f, r) * (1 - Smoothstep(0.6f, 0.7f, r));
        float circle = Ring(r, 0.74f, 0.014f);
        Colour green = Hsv(0.38f + r * 0.2f, 0.7f, 1);
        return (green * light + Hsv(0.12f, 0.6f, 1) * (circle + Glow(r, 0.06f))) * Vignette(r);
    });
    Normalise(image, 1);
    return image;
}

Image Sun_Wheel(int size)
{
    Image image = Polar(size, [&](float, float, float r, float a) {
        float long_rays = std::pow(std::fabs(std::cos(a * 8)), 30.0f) * Smoothstep(0.75f, 0.3f, r);
        float short_rays =
            std::pow(std::fabs(std::cos(a * 8 + Pi / 2)), 30.0f) * Smoothstep(0.55f, 0.3f, r) * 0.7f;
        float disk = Glow(r, 0.2f) + Ring(r, 0.28f, 0.015f);
        float corona = Ring(r, 0.8f, 0.01f) * (0.6f + 0.4f * std::cos(a * 32));
        Colour sun = Hsv(0.09f - r * 0.08f, 0.8f, 1);
        return (sun * (long_rays + short_rays + disk) + Hsv(0.02f, 0.7f, 1) * corona) * Vignette(r);
    });
    Normalise(image, 1);
    return image;
}

Image Lotus(int size)
{
    Image image = Polar(size, [&](float u, float v, float, float) {
        float light = 0;
        // Petals are ellipses turned about a base point below the centre.
        const float base_y = -0.45f;
        for (int layer = 0; layer < 3; ++layer) {
            int count = 5 + layer * 2;
            float length = 0.75f - layer * 0.18f;
            for (int i = 0; i < count; ++i) {
                float tilt = (i - (count - 1) * 0.5f) * (1.2f / count) * (1 + layer * 0.1f);
                float du = u, dv = v - base_y;
                float pu = du * std::cos(tilt) + dv * std::sin(tilt);
                float pv = -du * std::sin(tilt) + dv * std::cos(tilt);
                float e = (pu * pu) / (0.012f + 0.004f * layer) +
                          (pv - length * 0.5f) * (pv - length * 0.5f) / (length * length * 0.25f);
                light += (Glow(e - 1, 0.25f) + Smoothstep(1.0f, 0.2f, e) * 0.35f) * (1 - 0.2f * layer);
            }
        }
        float water = Glow(v - base_y + 0.02f, 0.015f) * Smoothstep(0.8f, 0.2f, std::fabs(u));
        float r = std::sqrt(u * u + v * v);
        Colour pink = Hsv(0.93f + v * 0.05f, 0.55f, 1);
        return (pink * light + Hsv(0.55f, 0.6f, 1) * water) * Vignette(r);
    });
    Normalise(image, 1);
    Brighten(image, 0.7f);
    return image;
}

Image Spiral_Galaxy(int size)
{
    Seeded random(77);
    Image image = Polar(size, [&](float u, float v, float r, float a) {
        float arms = std::pow((std::cos(2 * (a - std::log(std::max(r, 0.02f)) * 3.0f)) + 1) * 0.5f, 6.0f);
        float dust = Fractal_Noise(u * 6 + 10, v * 6 + 10, 9, 4);
        float disk = arms * Glow(r, 0.45f) * (0.5f + dust) + Glow(r, 0.08f) * 1.5f;
        Colour blue = Hsv(0.6f + r * 0.15f, 0.5f * Smoothstep(0, 0.3f, r), 1);
        return blue * disk * Vignette(r);
    });
    for (int i = 0; i < 120; ++i) {
        int x = static_cast<int>(random.Unit() * (size - 1));
        int y = static_cast<int>(random.Unit() * (size - 1));
        float brightness = random.Range(0.3f, 1.0f);
        image.At(x, y) = image.At(x, y) + Colour{brightness, brightness, brightness};
    }
    Normalise(image, 1);
    Brighten(image, 0.6f);
    return image;
}

Image Logo(int size)
{
    // A twelve-fold mandala around a six-pointed star, warm to cool from the centre out.
    Image mandala = Mandala(size, 12, 0.08f);
    Image star = Star_Sigil(size, 6, 2, 0.55f);
    for (size_t i = 0; i < mandala.Pixels.size(); ++i) {
        mandala.Pixels[i] = mandala.Pixels[i] * 0.7f + star.Pixels[i] * 0.6f;
    }
    Normalise(mandala, 1);
    return mandala;
}

} // namespace art
