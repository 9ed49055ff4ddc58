// Helpers shared by the effect tests: a pixel buffer with a padded pitch and guard bytes, a
// hash of its bytes, and a log opened in a temporary folder so tests can read the reports.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "log/error_log.h"
#include "temp_folder.h"

namespace effects_test {

// width × height pixels of the given size, each row padded by Pad bytes that must stay 0xEE,
// so a fill that writes past its row or its last row is caught.
struct Buffer {
    static constexpr uint32_t Pad = 12;
    int32_t width, height, bytes_per_pixel;
    uint32_t pitch;
    std::vector<uint8_t> bytes;

    Buffer(int32_t w, int32_t h, int32_t bpp)
        : width(w), height(h), bytes_per_pixel(bpp), pitch(uint32_t(w * bpp) + Pad),
          bytes(std::size_t(pitch) * h + Pad, 0xEE)
    {
        Clear();
    }
    uint8_t* data() { return bytes.data(); }
    void Clear(uint8_t value = 0)
    {
        for (int32_t y = 0; y < height; ++y)
            std::memset(data() + std::size_t(y) * pitch, value, std::size_t(width) * bytes_per_pixel);
    }
    uint32_t Pixel(int32_t x, int32_t y) const
    {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + std::size_t(y) * pitch + std::size_t(x) * bytes_per_pixel,
                    bytes_per_pixel);
        return value;
    }
    bool Guards_Intact() const
    {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::size_t column = i % pitch;
            const bool in_row =
                i < std::size_t(pitch) * height && column < std::size_t(width) * bytes_per_pixel;
            if (!in_row && bytes[i] != 0xEE)
                return false;
        }
        return true;
    }
    // FNV-1a over the pixel bytes of every row (not the padding).
    uint64_t Hash() const
    {
        uint64_t h = 1469598103934665603ull;
        for (int32_t y = 0; y < height; ++y)
            for (std::size_t i = 0; i < std::size_t(width) * bytes_per_pixel; ++i)
                h = (h ^ bytes[std::size_t(y) * pitch + i]) * 1099511628211ull;
        return h;
    }
};

// Opens the process-wide log in a temporary folder; Reports() gives every report since.
class Report_Capture {
public:
    Report_Capture()
    {
        Reset_Diagnostics();
        Program_Error_Log().Open_Log((Folder / "error_log.txt").c_str());
        Start = test_support::Read_File(Folder / "error_log.txt").size();
    }
    ~Report_Capture()
    {
        Program_Error_Log().Close_Log();
        Reset_Diagnostics();
    }
    // The texts reported since the capture began, each record without its leading CR LF.
    std::vector<std::string> Reports() const
    {
        const std::string log = test_support::Read_File(Folder / "error_log.txt").substr(Start);
        std::vector<std::string> records;
        std::size_t at = 0;
        while ((at = log.find("\r\n", at)) != std::string::npos) {
            const std::size_t next = log.find("\r\n", at + 2);
            records.push_back(
                log.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2));
            at = (next == std::string::npos) ? log.size() : next;
        }
        return records;
    }

private:
    test_support::Temp_Folder Folder;
    std::size_t Start = 0;
};

} // namespace effects_test
