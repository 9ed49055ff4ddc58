// The software rasterizer: the fast path of the default device. Triangles are set up at
// once (the shared set-up), queued with their state, and drawn when the frame is flushed:
// the target is cut into stripes of rows, the worker pool draws the stripes in parallel
// (each thread taking the next stripe left), each stripe replaying the whole queue in order. Within a row the
// covered span is solved exactly from the integer edge functions and the attribute planes are stepped, which
// gives the same integers as evaluating them per pixel; so the bytes equal the reference.
#include "platform/graphics/raster/band_workers.h"
#include "platform/graphics/raster/pixel_pipeline.h"
#include "platform/graphics/raster/rasterizer.h"
#include "platform/graphics/raster/span_drawing.h"
#include "platform/graphics/raster/span_walker.h"
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
// At most this many opaque triangles after a clear are looked at to see whether it is hidden.
constexpr size_t Max_Covering_Triangles = 64;

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
        for (size_t i = 0; i < commands_.size(); ++i) {
            const Command& command = commands_[i];
            int32_t y0 = std::max(top, command.rect.top), y1 = std::min(bottom, command.rect.bottom);
            if (y0 >= y1)
                continue;
            if (command.clear)
                Clear_Rows(i, y0, y1);
            else
                Draw_Triangle_Rows(target_, states_[command.state], setups_[command.setup], y0, y1);
        }
    }

    // Rows [y0, y1) of the clear at commands_[index], except those that the opaque triangles
    // queued right after it cover from end to end: those store every pixel they cover whatever
    // lay there, so the fill would be overwritten unseen (the frame's clear under its opaque
    // bottom layer).
    void Clear_Rows(size_t index, int32_t y0, int32_t y1)
    {
        const Command& clear = commands_[index];
        Covering covering;
        for (size_t i = index + 1; i < commands_.size() && covering.count < Max_Covering_Triangles; ++i) {
            const Command& command = commands_[i];
            if (command.clear || states_[command.state].blend != Blend::Opaque)
                break;
            if (command.rect.top < y1 && command.rect.bottom > y0)
                covering.Add(command.rect,
                             Span_Walker(setups_[command.setup], std::max(y0, command.rect.top)));
        }
        int32_t first = y0; // of the rows still to fill
        for (int32_t y = y0; y < y1; ++y)
            if (covering.Covers(y, clear.rect.left, clear.rect.right)) {
                if (first < y)
                    Fill_Rows(target_, {clear.rect.left, first, clear.rect.right, y}, clear.colour);
                first = y + 1;
            }
        if (first < y1)
            Fill_Rows(target_, {clear.rect.left, first, clear.rect.right, y1}, clear.colour);
    }

    // The opaque triangles after a clear, each walked down its rows as the rows are asked for.
    struct Covering {
        Rect rects[Max_Covering_Triangles];
        Span_Walker walkers[Max_Covering_Triangles]; // at the row asked for next, or their top
        size_t count = 0;

        void Add(const Rect& rect, const Span_Walker& walker)
        {
            rects[count] = rect;
            walkers[count++] = walker;
        }

        // Whether the triangles together cover [left, right) of row y; rows are asked for in order.
        bool Covers(int32_t y, int32_t left, int32_t right)
        {
            std::pair<int32_t, int32_t> spans[Max_Covering_Triangles];
            int n = 0;
            for (size_t i = 0; i < count; ++i) {
                if (y < rects[i].top || y >= rects[i].bottom)
                    continue;
                int32_t l, r;
                if (walkers[i].Span(l, r))
                    spans[n++] = {l, r};
                walkers[i].Step();
            }
            std::sort(spans, spans + n);
            int32_t reach = left;
            for (int i = 0; i < n && spans[i].first <= reach; ++i)
                reach = std::max(reach, spans[i].second);
            return reach >= right;
        }
    };

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
