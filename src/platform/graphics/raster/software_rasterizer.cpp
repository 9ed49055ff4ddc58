// The software rasterizer: the fast path of the default device. Triangles are set up at
// once (the shared set-up), queued with their state, and drawn when the frame is flushed:
// the target is cut into stripes of rows, the worker pool draws the stripes in parallel
// (each thread taking the next stripe left), each stripe replaying the whole queue in order. Within a row the
// covered span is solved exactly from the integer edge functions and the attribute planes are stepped, which
// gives the same integers as evaluating them per pixel; so the bytes equal the reference.
#include "platform/graphics/raster/band_workers.h"
#include "platform/graphics/raster/bilinear_block.h"
#include "platform/graphics/raster/pixel_pipeline.h"
#include "platform/graphics/raster/rasterizer.h"
#include "platform/graphics/raster/row_marks.h"
#include "platform/graphics/raster/span_drawing.h"
#include "platform/graphics/raster/texture_shadows.h"

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace Raster {
namespace {

constexpr int32_t Stripe_Rows = 32;
// Below this many pixels of work a flush is drawn on the calling thread alone.
constexpr int64_t Parallel_Threshold = 32 * 1024;

struct Command {
    bool clear = false;
    uint32_t colour = 0;
    Rect rect; // clear rectangle, or the triangle's box
    uint32_t state = 0;
    uint32_t setup = 0;
};

class Software_Rasterizer final : public Rasterizer {
public:
    void Set_Target(const Target& target) override
    {
        Flush();
        target_ = target;
    }

    void Clear(const Rect& rect, uint32_t colour) override
    {
        Command command;
        command.clear = true;
        command.colour = colour;
        command.rect = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, target_.width),
                        std::min(rect.bottom, target_.height)};
        if (command.rect.left >= command.rect.right || command.rect.top >= command.rect.bottom)
            return;
        Queue(command);
    }

    void Draw_Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, const State& state,
                       Cull cull) override
    {
        if (!target_.pixels)
            return;
        const State clipped = Clipped_To(state, target_);
        Triangle_Setup setup;
        if (!Set_Up_Triangle(v0, v1, v2, clipped, cull, setup))
            return;
        if (states_.empty() || !Same_State(last_state_, clipped)) {
            last_state_ = clipped;
            states_.push_back(With_Shadow(clipped));
        }
        Add_Row_Pairs(states_.back(), setup);
        Command command;
        command.rect = setup.box;
        command.state = static_cast<uint32_t>(states_.size() - 1);
        command.setup = static_cast<uint32_t>(setups_.size());
        setups_.push_back(setup);
        Queue(command);
    }

    void Flush() override
    {
        if (commands_.empty())
            return;
        const int32_t stripes = (target_.height + Stripe_Rows - 1) / Stripe_Rows;
        // Stripes are taken one at a time from a shared counter, so a thread that is slowed
        // down (the other core busy) draws fewer of them instead of holding up the frame.
        std::atomic<int32_t> next{0};
        auto draw_stripes = [&](int) {
            for (int32_t stripe; (stripe = next.fetch_add(1, std::memory_order_relaxed)) < stripes;)
                Draw_Stripe(stripe * Stripe_Rows, std::min(target_.height, (stripe + 1) * Stripe_Rows));
        };
        Band_Workers& workers = Band_Workers::Shared();
        if (pending_pixels_ < Parallel_Threshold || workers.Bands() == 1)
            draw_stripes(0);
        else
            workers.Run(draw_stripes);
        commands_.clear();
        setups_.clear();
        states_.clear();
        shadows_.End_Flush();
        pending_pixels_ = 0;
    }

private:
    void Queue(const Command& command)
    {
        pending_pixels_ += static_cast<int64_t>(command.rect.right - command.rect.left) *
                           (command.rect.bottom - command.rect.top);
        commands_.push_back(command);
    }

    // A sampled texture is read through a 32-bit copy taken now (the texture itself when it
    // has 32-bit texels): the fast kernels read 32-bit texels only, and a palette changed later
    // cannot matter.
    State With_Shadow(State state)
    {
        if (state.textured && state.colour != Colour_Source::Diffuse)
            state.texture = shadows_.Widened(state.texture);
        return state;
    }

    // The vector run reads a texture whose texels it samples far apart (a minified layer)
    // through its row pairs.
    void Add_Row_Pairs(State& state, const Triangle_Setup& setup)
    {
        static const bool avx512 = Avx512_Blocks.available();
        if (avx512 && state.textured && state.colour != Colour_Source::Diffuse && !setup.perspective &&
            Avx512_Needs_Row_Pairs(state.texture, setup.u.a, setup.v.a))
            state.texture = shadows_.With_Row_Pairs(last_state_.texture);
    }

    static bool Same_State(const State& a, const State& b)
    {
        return a.blend == b.blend && a.colour == b.colour && a.mag_filter == b.mag_filter &&
               a.min_filter == b.min_filter && a.address_u == b.address_u && a.address_v == b.address_v &&
               a.dither == b.dither && a.perspective == b.perspective && a.textured == b.textured &&
               a.texture == b.texture && a.clip.left == b.clip.left && a.clip.top == b.clip.top &&
               a.clip.right == b.clip.right && a.clip.bottom == b.clip.bottom;
    }

    void Draw_Stripe(int32_t top, int32_t bottom)
    {
        // Pixels of the stripe that a clear of this flush filled. Every store clears the bits beside
        // the channels, so they stay zero there, and an additive layer at zero brightness inside
        // would change nothing.
        Rect cleared{};
        for (size_t i = 0; i < commands_.size(); ++i) {
            const Command& command = commands_[i];
            int32_t y0 = std::max(top, command.rect.top), y1 = std::min(bottom, command.rect.bottom);
            if (y0 >= y1)
                continue;
            const Rect rows{command.rect.left, y0, command.rect.right, y1};
            if (command.clear) {
                if (Area(rows) > Area(cleared))
                    cleared = rows;
                i = Clear_Under_Opaque(i, top, bottom, y0, y1);
            } else if (!Inside(rows, cleared) ||
                       !Changes_Only_Beside_Channels(states_[command.state], setups_[command.setup],
                                                     target_)) {
                Draw_Triangle_Rows(target_, states_[command.state], setups_[command.setup], y0, y1);
            }
        }
    }

    static int64_t Area(const Rect& r) { return static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top); }

    static bool Inside(const Rect& r, const Rect& outer)
    {
        return r.left >= outer.left && r.right <= outer.right && r.top >= outer.top &&
               r.bottom <= outer.bottom;
    }

    // Rows [y0, y1) of the clear at commands_[index] with the opaque triangles queued right
    // after it, over the stripe [top, bottom): the triangles first, marking the pixels they
    // store, then the clear where none did. They store whatever lay there, so the pixels are
    // those of the queued order, and the clear is not filled under the frame's bottom layer.
    // Returns the index of the last command drawn.
    size_t Clear_Under_Opaque(size_t index, int32_t top, int32_t bottom, int32_t y0, int32_t y1)
    {
        const Command& clear = commands_[index];
        size_t end = index + 1;
        while (end < commands_.size() && !commands_[end].clear &&
               states_[commands_[end].state].blend == Blend::Opaque)
            ++end;
        if (end == index + 1) {
            Fill_Rows(target_, {clear.rect.left, y0, clear.rect.right, y1}, clear.colour);
            return index;
        }
        thread_local Row_Marks marks;
        marks.Reset({clear.rect.left, y0, clear.rect.right, y1});
        for (size_t i = index + 1; i < end; ++i) {
            const Command& command = commands_[i];
            const int32_t t0 = std::max(top, command.rect.top), t1 = std::min(bottom, command.rect.bottom);
            if (t0 < t1)
                Draw_Triangle_Rows(target_, states_[command.state], setups_[command.setup], t0, t1, &marks);
        }
        marks.For_Each_Unmarked([&](int32_t y, int32_t left, int32_t right) {
            Fill_Rows(target_, {left, y, right, y + 1}, clear.colour);
        });
        return end - 1;
    }

    Target target_;
    std::vector<Command> commands_;
    std::vector<Triangle_Setup> setups_;
    std::vector<State> states_;
    State last_state_; // as queued last, before its texture was widened
    Texture_Shadows shadows_;
    int64_t pending_pixels_ = 0;
};

} // namespace

std::unique_ptr<Rasterizer> Make_Software_Rasterizer()
{
    return std::make_unique<Software_Rasterizer>();
}

} // namespace Raster
