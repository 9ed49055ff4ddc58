// Span traversal of the software rasterizer.
#include "platform/graphics/raster/span_drawing.h"

#include "platform/graphics/raster/bilinear_block.h"
#include "platform/graphics/raster/pixel_pipeline.h"
#include "platform/graphics/raster/row_marks.h"
#include "platform/graphics/raster/span_walker.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <type_traits>

namespace Raster {
namespace {

Pixel_Attributes Attribute_Steps(const Triangle_Setup& s)
{
    if (s.perspective)
        return {s.red.a, s.green.a, s.blue.a, s.s.a, s.t.a, s.q.a};
    return {s.red.a, s.green.a, s.blue.a, s.u.a, s.v.a, 0};
}

void Step(Pixel_Attributes& a, const Pixel_Attributes& d)
{
    a.r += d.r;
    a.g += d.g;
    a.b += d.b;
    a.u += d.u;
    a.v += d.v;
    a.q += d.q;
}

void General_Span(const Target& target, const State& state, const Triangle_Setup& setup, int32_t y,
                  int32_t left, int32_t right)
{
    Pixel_Attributes at = Attributes_At(setup, left, y);
    const Pixel_Attributes steps = Attribute_Steps(setup);
    for (int32_t x = left; x < right; ++x, Step(at, steps))
        Blend_Pixel(target, state, x, y, Shade(setup, state, at));
}

bool Fast_Case(const State& state, const Triangle_Setup& setup)
{
    return state.textured && !setup.perspective && setup.filter == Filter::Bilinear &&
           state.colour == Colour_Source::Modulate && state.address_u == Address::Clamp &&
           state.address_v == Address::Clamp &&
           (state.texture.format == Pixel_Format::X8R8G8B8 ||
            state.texture.format == Pixel_Format::A8R8G8B8) &&
           (state.blend == Blend::Opaque || state.blend == Blend::Add);
}

inline uint32_t Clamp_Index(int64_t i, int32_t size)
{
    return static_cast<uint32_t>(i < 0 ? 0 : i >= size ? size - 1 : i);
}

// Bilinear, clamped X8R8G8B8 texture modulated by the diffuse colour into a target of the
// given format: the arithmetic of Sample, Modulate and Blend_Pixel written out for this case.
inline int32_t Block_Position(int64_t position)
{
    constexpr int64_t limit = int64_t{1} << 30;
    int64_t b = position >> (Texel_Fraction_Bits - Bilinear_Weight_Bits);
    return static_cast<int32_t>(b < -limit ? -limit : b > limit ? limit : b);
}

// (2 * D + 1) * 255 of the ordered-dither values of eight pixels from (x, y), by y & 3 and x & 3.
struct Dither_Bias_Table {
    uint32_t values[4][4][8];
    constexpr Dither_Bias_Table() : values{}
    {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                for (int i = 0; i < 8; ++i)
                    values[y][x][i] = (2 * Dither_Matrix[y][(x + i) & 3] + 1) * 255u;
    }
    const uint32_t (&operator[](int y) const)[4][8] { return values[y]; }
};
constexpr Dither_Bias_Table Dither_Biases;

// Eight source colours into the target at (x, y): added or stored, dithered as Store_Target does.
template <bool Add, Pixel_Format Format>
inline void Store_Block(const Block_Functions& isa, const Target& target, const State& state,
                        const uint32_t source[8], int32_t x, int32_t y)
{
    constexpr int bytes = Format == Pixel_Format::X8R8G8B8 ? 4 : 2;
    uint8_t* out = target.pixels + static_cast<intptr_t>(y) * target.pitch + static_cast<intptr_t>(x) * bytes;
    if constexpr (Format == Pixel_Format::X8R8G8B8) {
        if constexpr (Add)
            isa.add_32(source, reinterpret_cast<uint32_t*>(out));
        else
            std::memcpy(out, source, 8 * sizeof(uint32_t));
    } else {
        // Eight pixels span two whole periods of the dither row: the biases depend on x & 3 only.
        const uint32_t* bias = Dither_Biases[y & 3][x & 3];
        isa.store_16(source, out, Format == Pixel_Format::R5G6B5, Add, state.dither ? bias : nullptr);
    }
}

// Whether the vector run may step the texel positions u + i * du, v + i * dv of count pixels:
// a texture of at least 2 x 2 texels and positions below 2^45 in magnitude (they are linear,
// so the two ends bound the run).
inline bool Whole_Run_Fits(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv, int count)
{
    constexpr int64_t limit = int64_t{1} << 45;
    auto fits = [&](int64_t a, int64_t d) {
        const int64_t b = a + (count - 1) * d;
        return a > -limit && a < limit && b > -limit && b < limit;
    };
    return texture.width >= 2 && texture.height >= 2 && fits(u, du) && fits(v, dv);
}

// Eight pixels at a time through the AVX2 block; returns where the scalar loop goes on.
template <bool Add, Pixel_Format Format>
int32_t Bilinear_Blocks(const Block_Functions& isa, const Target& target, const State& state,
                        const Triangle_Setup& setup, int32_t y, int32_t left, int32_t right)
{
    if (state.texture.pitch % 4 != 0 || right - left < isa.run_multiple)
        return left;
    int64_t r = setup.red.At(left, y), g = setup.green.At(left, y), b = setup.blue.At(left, y);
    int64_t u = setup.u.At(left, y), v = setup.v.At(left, y);
    const int64_t dr = setup.red.a, dg = setup.green.a, db = setup.blue.a, du = setup.u.a, dv = setup.v.a;
    int32_t x = left;
    const bool flat = dr == 0 && dg == 0 && db == 0;    // the program's layers: one grey each
    const int run = (right - left) & -isa.run_multiple; // a power of two
    if (flat && Whole_Run_Fits(state.texture, u, du, v, dv, run) &&
        !(isa.needs_row_pairs && isa.needs_row_pairs(state.texture, du, dv))) {
        const uint32_t diffuse =
            Colour_From_Plane(r) << 16 | Colour_From_Plane(g) << 8 | Colour_From_Plane(b);
        constexpr int bytes = Format == Pixel_Format::X8R8G8B8 ? 4 : 2;
        Run_Output output;
        output.pixels =
            target.pixels + static_cast<intptr_t>(y) * target.pitch + static_cast<intptr_t>(x) * bytes;
        output.sixteen_bits = bytes == 2;
        output.five_six_five = Format == Pixel_Format::R5G6B5;
        output.add = Add;
        output.dither_bias = state.dither ? Dither_Biases[y & 3][x & 3] : nullptr;
        isa.shade_run(state.texture, u, du, v, dv, diffuse, run, output);
        return x + run;
    }
    Bilinear_Block block;
    alignas(32) uint32_t source[8];
    if (flat)
        for (int i = 0; i < 8; ++i) {
            block.red[i] = Colour_From_Plane(r);
            block.green[i] = Colour_From_Plane(g);
            block.blue[i] = Colour_From_Plane(b);
        }
    for (; x + 8 <= right; x += 8) {
        for (int i = 0; i < 8; ++i, u += du, v += dv) {
            block.u[i] = Block_Position(u);
            block.v[i] = Block_Position(v);
        }
        if (!flat)
            for (int i = 0; i < 8; ++i, r += dr, g += dg, b += db) {
                block.red[i] = Colour_From_Plane(r);
                block.green[i] = Colour_From_Plane(g);
                block.blue[i] = Colour_From_Plane(b);
            }
        isa.shade_block(state.texture, block, source);
        Store_Block<Add, Format>(isa, target, state, source, x, y);
    }
    return x;
}

// Isa: the vector blocks to use, or null for the portable loop alone.
template <const Block_Functions* const* Isa, bool Add, Pixel_Format Format>
void Bilinear_Span(const Target& target, const State& state, const Triangle_Setup& setup, int32_t y,
                   int32_t left, int32_t right)
{
    if constexpr (Isa != nullptr) {
        left = Bilinear_Blocks<Add, Format>(**Isa, target, state, setup, y, left, right);
        if (left == right)
            return;
    }
    const Texture& tex = state.texture;
    constexpr int weight_shift = Texel_Fraction_Bits - Bilinear_Weight_Bits;
    int64_t r = setup.red.At(left, y), g = setup.green.At(left, y), b = setup.blue.At(left, y);
    int64_t u = setup.u.At(left, y), v = setup.v.At(left, y);
    const int64_t dr = setup.red.a, dg = setup.green.a, db = setup.blue.a, du = setup.u.a, dv = setup.v.a;
    constexpr int bytes = Format == Pixel_Format::X8R8G8B8 ? 4 : 2;
    uint8_t* out =
        target.pixels + static_cast<intptr_t>(y) * target.pitch + static_cast<intptr_t>(left) * bytes;
    for (int32_t x = left; x < right; ++x, out += bytes, r += dr, g += dg, b += db, u += du, v += dv) {
        int64_t ub = u >> weight_shift, vb = v >> weight_shift;
        uint32_t fu = static_cast<uint32_t>(ub & 255), fv = static_cast<uint32_t>(vb & 255);
        int64_t iu = ub >> Bilinear_Weight_Bits, iv = vb >> Bilinear_Weight_Bits;
        uint32_t x0 = Clamp_Index(iu, tex.width), x1 = Clamp_Index(iu + 1, tex.width);
        uint32_t y0 = Clamp_Index(iv, tex.height), y1 = Clamp_Index(iv + 1, tex.height);
        const uint32_t* row0 =
            reinterpret_cast<const uint32_t*>(tex.pixels + static_cast<intptr_t>(y0) * tex.pitch);
        const uint32_t* row1 =
            reinterpret_cast<const uint32_t*>(tex.pixels + static_cast<intptr_t>(y1) * tex.pitch);
        uint32_t t00 = row0[x0], t10 = row0[x1], t01 = row1[x0], t11 = row1[x1];
        uint32_t w00 = (256 - fu) * (256 - fv), w10 = fu * (256 - fv), w01 = (256 - fu) * fv, w11 = fu * fv;
        auto mix = [&](int shift) {
            return (((t00 >> shift) & 255) * w00 + ((t10 >> shift) & 255) * w10 +
                    ((t01 >> shift) & 255) * w01 + ((t11 >> shift) & 255) * w11 + 32768) >>
                   16;
        };
        uint32_t cr = Modulate(mix(16), Colour_From_Plane(r));
        uint32_t cg = Modulate(mix(8), Colour_From_Plane(g));
        uint32_t cb = Modulate(mix(0), Colour_From_Plane(b));
        if constexpr (Add) {
            Rgb d = Read_Target(out, Format);
            cr = Add_Saturate(cr, d.r);
            cg = Add_Saturate(cg, d.g);
            cb = Add_Saturate(cb, d.b);
        }
        Store_Target(out, Format, {cr, cg, cb}, state.dither, x, y);
    }
}

using Span_Function = void (*)(const Target&, const State&, const Triangle_Setup&, int32_t y, int32_t left,
                               int32_t right);

template <const Block_Functions* const* Isa>
Span_Function Bilinear_Span_For(const State& state, const Target& target)
{
    constexpr Pixel_Format x8 = Pixel_Format::X8R8G8B8, r5 = Pixel_Format::R5G6B5,
                           x1 = Pixel_Format::X1R5G5B5;
    const bool add = state.blend == Blend::Add;
    switch (target.format) {
    case x8:
        return add ? Bilinear_Span<Isa, true, x8> : Bilinear_Span<Isa, false, x8>;
    case r5:
        return add ? Bilinear_Span<Isa, true, r5> : Bilinear_Span<Isa, false, r5>;
    default:
        return add ? Bilinear_Span<Isa, true, x1> : Bilinear_Span<Isa, false, x1>;
    }
}

using Rows_Function = bool (*)(const Target&, const State&, const Triangle_Setup&, int32_t top,
                               int32_t bottom, Row_Marks* marks);

// A way of drawing spans: whether this processor runs it, which states it draws, and its
// row function for a state (blend and target format fixed at compile time); null, or a
// function drawing the triangle's rows [top, bottom) at once where it can (else false).
struct Span_Kernel {
    const char* name;
    bool (*available)();
    bool (*accepts)(const State&, const Triangle_Setup&);
    Span_Function (*draw_row)(const State&, const Target&);
    Rows_Function draw_rows;
};

bool Avx512_Flat_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                      int32_t bottom, Row_Marks* marks);
bool Avx2_Flat_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                    int32_t bottom, Row_Marks* marks);

bool Always()
{
    return true;
}

const Block_Functions* const Avx2 = &Avx2_Blocks;
const Block_Functions* const Avx512 = &Avx512_Blocks;

bool Vector_Case(const State& state, const Triangle_Setup& setup)
{
    return Fast_Case(state, setup) && state.texture.pitch % 4 == 0;
}

// Fastest first; the last accepts everything.
constexpr Span_Kernel Kernels[] = {
    {"avx512-bilinear", [] { return Avx512_Blocks.available(); }, Vector_Case, Bilinear_Span_For<&Avx512>,
     Avx512_Flat_Rows},
    {"avx2-bilinear", [] { return Avx2_Blocks.available(); }, Vector_Case, Bilinear_Span_For<&Avx2>,
     Avx2_Flat_Rows},
    {"portable-bilinear", Always, Fast_Case, Bilinear_Span_For<nullptr>, nullptr},
    {"general", Always, [](const State&, const Triangle_Setup&) { return true; },
     [](const State&, const Target&) -> Span_Function { return General_Span; }, nullptr},
};
constexpr int Kernel_Count = static_cast<int>(sizeof Kernels / sizeof Kernels[0]);

std::atomic<int> Forced_Kernel{-1};

const Span_Kernel& Kernel_For(const State& state, const Triangle_Setup& setup)
{
    int forced = Forced_Kernel.load(std::memory_order_relaxed);
    if (forced >= 0)
        return Kernels[forced].accepts(state, setup) ? Kernels[forced] : Kernels[Kernel_Count - 1];
    for (const Span_Kernel& kernel : Kernels)
        if (kernel.available() && kernel.accepts(state, setup))
            return kernel;
    return Kernels[Kernel_Count - 1];
}

// Whether the texel positions of the triangle's box, its corners bounding them, stay below
// 2^45 in magnitude (as Whole_Run_Fits asks of a run).
bool Box_Fits(const Triangle_Setup& setup)
{
    constexpr int64_t limit = int64_t{1} << 45;
    const Rect& b = setup.box;
    for (const Plane* p : {&setup.u, &setup.v})
        for (int64_t x : {b.left, b.right - 1})
            for (int64_t y : {b.top, b.bottom - 1})
                if (p->At(x, y) <= -limit || p->At(x, y) >= limit)
                    return false;
    return true;
}

using Shade_Rows_Function = void (*)(const Rows_Job&, const Row_Extent*, int);

// A triangle of one diffuse colour all over (the program's layers) whose texel positions fit
// the vector run: its rows go to the run together, a few dozen at a time, sharing its set-up.
bool Flat_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
               int32_t bottom, Row_Marks* marks, Shade_Rows_Function shade_rows)
{
    auto constant = [](const Plane& p) { return p.a == 0 && p.b == 0; };
    if (setup.perspective || !constant(setup.red) || !constant(setup.green) || !constant(setup.blue) ||
        state.texture.width < 2 || state.texture.height < 2 || !Box_Fits(setup))
        return false;
    Rows_Job job;
    job.texture = &state.texture;
    job.u = setup.u, job.v = setup.v;
    job.diffuse = Colour_From_Plane(setup.red.c) << 16 | Colour_From_Plane(setup.green.c) << 8 |
                  Colour_From_Plane(setup.blue.c);
    job.pixels = target.pixels, job.pitch = target.pitch;
    job.sixteen_bits = target.format != Pixel_Format::X8R8G8B8;
    job.five_six_five = target.format == Pixel_Format::R5G6B5;
    job.add = state.blend == Blend::Add;
    job.dither_biases = job.sixteen_bits && state.dither ? &Dither_Biases.values[0][0][0] : nullptr;
    constexpr int batch = 64;
    Row_Extent rows[batch];
    int count = 0;
    Span_Walker walker(setup, top);
    for (int32_t y = top; y < bottom; ++y, walker.Step()) {
        Row_Extent& row = rows[count];
        row.y = y;
        if (!walker.Span(row.left, row.right))
            continue;
        if (marks)
            marks->Mark(y, row.left, row.right);
        if (++count == batch) {
            shade_rows(job, rows, count);
            count = 0;
        }
    }
    if (count > 0)
        shade_rows(job, rows, count);
    return true;
}

bool Avx512_Flat_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                      int32_t bottom, Row_Marks* marks)
{
    return !Avx512_Needs_Row_Pairs(state.texture, setup.u.a, setup.v.a) &&
           Flat_Rows(target, state, setup, top, bottom, marks, Avx512_Shade_Rows);
}

bool Avx2_Flat_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                    int32_t bottom, Row_Marks* marks)
{
    return Flat_Rows(target, state, setup, top, bottom, marks, Avx2_Shade_Rows);
}

// Whether every source colour of the triangle is black whatever its texture holds: its
// diffuse colour is zero all over and is the colour or modulates it (a layer faded out).
bool Black_Source(const State& state, const Triangle_Setup& setup)
{
    auto zero = [](const Plane& p) { return p.a == 0 && p.b == 0 && Colour_From_Plane(p.c) == 0; };
    return !(state.textured && state.colour == Colour_Source::Texture) && zero(setup.red) &&
           zero(setup.green) && zero(setup.blue);
}

template <typename Pixel> Pixel* Row_Pixels(const Target& target, int32_t x, int32_t y)
{
    return reinterpret_cast<Pixel*>(target.pixels + static_cast<intptr_t>(y) * target.pitch) + x;
}

// Black stored: zero bits in every format (dithering rounds zero down to zero as well).
void Store_Black(const Target& target, const State&, const Triangle_Setup&, int32_t y, int32_t left,
                 int32_t right)
{
    std::memset(Row_Pixels<uint8_t>(target, left * Bytes_Per_Pixel(target.format), y), 0,
                static_cast<size_t>(right - left) * Bytes_Per_Pixel(target.format));
}

typedef uint32_t Lanes_32 __attribute__((vector_size(16)));
typedef uint16_t Lanes_16 __attribute__((vector_size(16)));

// Black added keeps every channel but not the bits beside them, which the store clears. Done
// sixteen bytes at a time: the compiler leaves a loop over pixels scalar.
template <typename Pixel, Pixel Channels>
void Add_Black(const Target& target, const State&, const Triangle_Setup&, int32_t y, int32_t left,
               int32_t right)
{
    if constexpr (Channels == static_cast<Pixel>(~Pixel{0}))
        return; // no bits beside the channels: nothing changes
    using Lanes = std::conditional_t<sizeof(Pixel) == 4, Lanes_32, Lanes_16>;
    constexpr int per_lanes = 16 / sizeof(Pixel);
    Pixel* p = Row_Pixels<Pixel>(target, left, y);
    const int32_t count = right - left;
    int32_t i = 0;
    for (; i + per_lanes <= count; i += per_lanes) {
        Lanes lanes;
        std::memcpy(&lanes, p + i, sizeof lanes);
        lanes &= Channels;
        std::memcpy(p + i, &lanes, sizeof lanes);
    }
    for (; i < count; ++i)
        p[i] &= Channels;
}

// The row function of a triangle with a black source, or null when the kernels must draw it:
// into a dithered 16-bit target, a widened pixel quantised again can move by one level.
Span_Function Black_Span_For(const State& state, const Target& target)
{
    if (state.blend == Blend::Opaque)
        return Store_Black;
    switch (target.format) {
    case Pixel_Format::X8R8G8B8:
        return Add_Black<uint32_t, 0x00FFFFFF>;
    case Pixel_Format::X1R5G5B5:
        return state.dither ? nullptr : Add_Black<uint16_t, 0x7FFF>;
    default:
        return state.dither ? nullptr : Add_Black<uint16_t, 0xFFFF>;
    }
}

} // namespace

bool Changes_Only_Beside_Channels(const State& state, const Triangle_Setup& setup, const Target& target)
{
    return state.blend == Blend::Add && Black_Source(state, setup) &&
           Black_Span_For(state, target) != nullptr;
}

void Draw_Triangle_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                        int32_t bottom, Row_Marks* marks)
{
    if (state.blend == Blend::Keep)
        return;
    Span_Function draw_row = Black_Source(state, setup) ? Black_Span_For(state, target) : nullptr;
    if (!draw_row) {
        const Span_Kernel& kernel = Kernel_For(state, setup);
        if (kernel.draw_rows && kernel.draw_rows(target, state, setup, top, bottom, marks))
            return;
        draw_row = kernel.draw_row(state, target);
    }
    Span_Walker walker(setup, top);
    for (int32_t y = top; y < bottom; ++y, walker.Step()) {
        int32_t left, right;
        if (!walker.Span(left, right))
            continue;
        draw_row(target, state, setup, y, left, right);
        if (marks)
            marks->Mark(y, left, right);
    }
}

std::vector<std::string> Span_Kernel_Names()
{
    std::vector<std::string> names;
    for (const Span_Kernel& kernel : Kernels)
        if (kernel.available())
            names.emplace_back(kernel.name);
    return names;
}

bool Force_Span_Kernel(const std::string& name)
{
    for (int i = 0; i < Kernel_Count; ++i)
        if (name == Kernels[i].name && Kernels[i].available()) {
            Forced_Kernel.store(i, std::memory_order_relaxed);
            return true;
        }
    Forced_Kernel.store(-1, std::memory_order_relaxed);
    return name.empty();
}

} // namespace Raster
