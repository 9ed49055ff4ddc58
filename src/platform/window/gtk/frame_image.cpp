// Frames copied into cairo image surfaces and painted.
#include "platform/window/gtk/frame_image.h"

#include "platform/window/frame_pixels.h"

#include <cairo.h>
#include <cstdint>
#include <cstring>

namespace {

cairo_format_t Format_Of(const Frame_Pixels& frame)
{
    return frame.Bits_Per_Pixel == 16 ? CAIRO_FORMAT_RGB16_565 : CAIRO_FORMAT_RGB24;
}

void Copy_Rows(const Frame_Pixels& frame, uint8_t* target, int stride)
{
    const auto* source = static_cast<const uint8_t*>(frame.Pixels);
    const bool five_five_five = frame.Bits_Per_Pixel == 16 && frame.Green_Mask != 0x07E0;
    for (int y = 0; y < frame.Height; ++y) {
        const uint8_t* in = source + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
        uint8_t* out = target + static_cast<std::ptrdiff_t>(y) * stride;
        if (frame.Bits_Per_Pixel == 32 || (frame.Bits_Per_Pixel == 16 && !five_five_five)) {
            std::memcpy(out, in, static_cast<std::size_t>(frame.Width) * (frame.Bits_Per_Pixel / 8));
        } else if (frame.Bits_Per_Pixel == 24) {
            auto* words = reinterpret_cast<uint32_t*>(out);
            for (int x = 0; x < frame.Width; ++x) {
                const uint8_t* p = in + 3 * x;
                words[x] = p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
            }
        } else {
            // X1R5G5B5 to R5G6B5: the green channel widened by its top bit.
            auto* words = reinterpret_cast<uint16_t*>(out);
            for (int x = 0; x < frame.Width; ++x) {
                uint16_t word;
                std::memcpy(&word, in + 2 * x, 2);
                const unsigned green = (word >> 5) & 0x1F;
                words[x] = static_cast<uint16_t>(((word & 0x7C00) << 1) |
                                                 (((green << 1) | (green >> 4)) << 5) | (word & 0x1F));
            }
        }
    }
}

} // namespace

Frame_Image::~Frame_Image()
{
    if (Surface != nullptr) {
        cairo_surface_destroy(Surface);
    }
}

bool Frame_Image::Take(const Frame_Pixels& frame, const Surface_Maker& make)
{
    const cairo_format_t format = Format_Of(frame);
    if (Surface == nullptr || Image_Width != frame.Width || Image_Height != frame.Height ||
        Format != format) {
        if (Surface != nullptr) {
            cairo_surface_destroy(Surface);
            Surface = nullptr;
        }
        cairo_surface_t* made = make ? make(format, frame.Width, frame.Height) : nullptr;
        if (made == nullptr || cairo_surface_status(made) != CAIRO_STATUS_SUCCESS) {
            if (made != nullptr) {
                cairo_surface_destroy(made);
            }
            made = cairo_image_surface_create(format, frame.Width, frame.Height);
        }
        if (cairo_surface_status(made) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(made);
            return false;
        }
        Surface = made;
        Image_Width = frame.Width;
        Image_Height = frame.Height;
        Format = format;
    }
    cairo_surface_flush(Surface);
    Copy_Rows(frame, cairo_image_surface_get_data(Surface), cairo_image_surface_get_stride(Surface));
    cairo_surface_mark_dirty(Surface);
    Keep_Aspect = frame.Keep_Aspect;
    return true;
}

void Frame_Image::Paint(cairo_t* cr, int width, int height) const
{
    if (Surface == nullptr || width <= 0 || height <= 0) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        return;
    }
    const RECT box =
        Keep_Aspect ? Frame_Aspect_Box(Image_Width, Image_Height, width, height) : RECT{0, 0, width, height};
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (box.left > 0 || box.top > 0 || box.right < width || box.bottom < height) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
    }
    const int box_width = box.right - box.left, box_height = box.bottom - box.top;
    cairo_rectangle(cr, box.left, box.top, box_width, box_height);
    cairo_clip(cr);
    cairo_translate(cr, box.left, box.top);
    const bool same_size = box_width == Image_Width && box_height == Image_Height;
    if (!same_size) {
        cairo_scale(cr, static_cast<double>(box_width) / Image_Width,
                    static_cast<double>(box_height) / Image_Height);
    }
    cairo_set_source_surface(cr, Surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), same_size ? CAIRO_FILTER_FAST : CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}
