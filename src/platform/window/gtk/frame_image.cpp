// Frames copied into cairo image surfaces and painted.
#include "platform/window/gtk/frame_image.h"

#include "platform/window/frame_pixels.h"

#include <cairo.h>
#include <cstdint>
#include <cstring>

namespace {

// Every frame is kept as RGB24: X servers need not offer 16-bit pictures at all (Xvfb at depth
// 24 has none, and cairo-xlib then crashes inside XRenderCreatePicture), so 16-bit frames are
// widened on the copy.
constexpr cairo_format_t Kept_Format = CAIRO_FORMAT_RGB24;

void Copy_Rows(const Frame_Pixels& frame, uint8_t* target, int stride)
{
    for (int y = 0; y < frame.Height; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * stride);
        if (frame.Bits_Per_Pixel == 32) {
            std::memcpy(
                out, static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch,
                static_cast<std::size_t>(frame.Width) * 4);
        } else {
            Frame_Row_Rgb(frame, y, out);
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

bool Frame_Image::Take(const Frame_Pixels& frame)
{
    if (Surface == nullptr || Image_Width != frame.Width || Image_Height != frame.Height) {
        if (Surface != nullptr) {
            cairo_surface_destroy(Surface);
            Surface = nullptr;
        }
        cairo_surface_t* made = cairo_image_surface_create(Kept_Format, frame.Width, frame.Height);
        if (cairo_surface_status(made) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(made);
            return false;
        }
        Surface = made;
        Image_Width = frame.Width;
        Image_Height = frame.Height;
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
    const bool same_size = box_width == Image_Width && box_height == Image_Height;
    // From the area to the image: the box's corner is the image's, the box's size its size.
    cairo_matrix_t to_image;
    cairo_matrix_init_scale(&to_image, static_cast<double>(Image_Width) / box_width,
                            static_cast<double>(Image_Height) / box_height);
    cairo_matrix_translate(&to_image, -box.left, -box.top);
    cairo_pattern_t* picture = cairo_pattern_create_for_surface(Surface);
    cairo_pattern_set_matrix(picture, &to_image);
    cairo_pattern_set_filter(picture, same_size ? CAIRO_FILTER_FAST : CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(picture, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, picture);
    // The box filled, not clipped and painted: a clipped paint into a screen-saver daemon's
    // window drew nothing at all under Xvfb, while a filled rectangle draws everywhere.
    cairo_rectangle(cr, box.left, box.top, box_width, box_height);
    cairo_fill(cr);
    cairo_pattern_destroy(picture);
    cairo_restore(cr);
}
