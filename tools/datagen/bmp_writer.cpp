// Writes BITMAPFILEHEADER + BITMAPINFOHEADER files, bottom-up rows padded to 4 bytes.
#include "bmp_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace art {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint8_t Byte(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

std::vector<uint8_t> Headers(const Image& image, int bits, uint32_t colours, uint32_t row_bytes)
{
    uint32_t table = colours * 4;
    uint32_t offset = 14 + 40 + table;
    uint32_t size = row_bytes * static_cast<uint32_t>(image.Height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + size);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(image.Width));
    Put32(out, static_cast<uint32_t>(image.Height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, size);
    Put32(out, 2835); // 72 dots per inch
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
    return out;
}

bool Save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

bool Write_Bmp_24(const std::string& path, const Image& image)
{
    uint32_t row_bytes = (static_cast<uint32_t>(image.Width) * 3 + 3) & ~3u;
    std::vector<uint8_t> out = Headers(image, 24, 0, row_bytes);
    for (int y = image.Height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.Width; ++x) {
            const Colour& c = image.At(x, y);
            out.push_back(Byte(c.B));
            out.push_back(Byte(c.G));
            out.push_back(Byte(c.R));
        }
        out.resize(start + row_bytes, 0);
    }
    return Save(path, out);
}

bool Write_Bmp_8(const std::string& path, const Image& image)
{
    // Popularity palette over colours cut to 4 bits per channel, then the nearest entry.
    auto key = [](const Colour& c) {
        return (Byte(c.R) >> 4) << 8 | (Byte(c.G) >> 4) << 4 | (Byte(c.B) >> 4);
    };
    std::map<int, int> counts;
    for (const Colour& c : image.Pixels) {
        counts[key(c)] += 1;
    }
    std::vector<std::pair<int, int>> ranked(counts.begin(), counts.end());
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.second > b.second; });
    ranked.resize(std::min<size_t>(ranked.size(), 256));
    std::vector<std::array<int, 3>> palette;
    for (auto& [k, n] : ranked) {
        palette.push_back({((k >> 8) & 15) * 17, ((k >> 4) & 15) * 17, (k & 15) * 17});
    }
    uint32_t row_bytes = (static_cast<uint32_t>(image.Width) + 3) & ~3u;
    std::vector<uint8_t> out = Headers(image, 8, 256, row_bytes);
    for (size_t i = 0; i < 256; ++i) {
        std::array<int, 3> entry = i < palette.size() ? palette[i] : std::array<int, 3>{0, 0, 0};
        out.push_back(static_cast<uint8_t>(entry[2]));
        out.push_back(static_cast<uint8_t>(entry[1]));
        out.push_back(static_cast<uint8_t>(entry[0]));
        out.push_back(0);
    }
    std::map<int, uint8_t> nearest;
    for (int y = image.Height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.Width; ++x) {
            const Colour& c = image.At(x, y);
            int k = key(c);
            auto found = nearest.find(k);
            if (found == nearest.end()) {
                int r = ((k >> 8) & 15) * 17, g = ((k >> 4) & 15) * 17, b = (k & 15) * 17;
                int best = 0, best_distance = 1 << 30;
                for (size_t i = 0; i < palette.size(); ++i) {
                    int dr = palette[i][0] - r, dg = palette[i][1] - g, db = palette[i][2] - b;
                    int distance = dr * dr + dg * dg + db * db;
                    if (distance < best_distance) {
                        best_distance = distance;
                        best = static_cast<int>(i);
                    }
                }
                found = nearest.emplace(k, static_cast<uint8_t>(best)).first;
            }
            out.push_back(found->second);
        }
        out.resize(start + row_bytes, 0);
    }
    return Save(path, out);
}

} // namespace art
