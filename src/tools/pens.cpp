#include "tools/pens.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "image/parallel.h"
#include "tools/fill_back_strips.h"
#include "tools/pen_stroke.h"

namespace palvex {
namespace {

// |channel - reference| < limit as one unsigned comparison, so the loop has no branch.
inline bool Near(Pixel p, int shift, int reference, int limit) {
    const int channel = static_cast<int>(p >> shift & 0xFF);
    return static_cast<unsigned>(channel - reference + limit - 1) <
           static_cast<unsigned>(2 * limit - 1);
}

// Gives every pixel of row[begin, end) within `limit` of the reference on all three channels the
// drawing colour's red, green and blue; the fourth byte stays. The whole-image pen runs this over
// the whole buffer, so four pixels at a time where the processor has SSE2: per byte, the
// absolute difference by two saturating subtractions, then one more against limit - 1.
void ReplaceInSpan(Pixel* row, int begin, int end, Pixel reference, Pixel draw, int limit) {
    if (limit <= 0) {
        return;  // no difference is below 0
    }
    const Pixel rgb = draw & kRgbMask;
    int x = begin;
#if defined(__SSE2__) || defined(_M_X64)
    const int below = std::min(limit - 1, 255);
    const __m128i ref = _mm_set1_epi32(static_cast<int>(reference & kRgbMask));
    // The fourth byte never fails the test: its allowance is 255.
    const __m128i allowance =
        _mm_set1_epi32(static_cast<int>(0xFF000000u | static_cast<Pixel>(below) * 0x010101u));
    const __m128i keep = _mm_set1_epi32(static_cast<int>(~kRgbMask));
    const __m128i colour = _mm_set1_epi32(static_cast<int>(rgb));
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= end; x += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(row + x);
        const __m128i p = _mm_loadu_si128(at);
        const __m128i diff = _mm_or_si128(_mm_subs_epu8(p, ref), _mm_subs_epu8(ref, p));
        const __m128i match = _mm_cmpeq_epi32(_mm_subs_epu8(diff, allowance), zero);
        const __m128i painted = _mm_or_si128(_mm_and_si128(p, keep), colour);
        _mm_storeu_si128(at,
                         _mm_or_si128(_mm_and_si128(match, painted), _mm_andnot_si128(match, p)));
    }
#endif
    const int r = static_cast<int>(reference >> 16 & 0xFF);
    const int g = static_cast<int>(reference >> 8 & 0xFF);
    const int b = static_cast<int>(reference & 0xFF);
    for (; x < end; ++x) {
        const Pixel p = row[x];
        const bool match = Near(p, 16, r, limit) & Near(p, 8, g, limit) & Near(p, 0, b, limit);
        row[x] = match ? (p & ~kRgbMask) | rgb : p;
    }
}

void WriteInSpan(Pixel* row, int begin, int end, Pixel draw) {
    const Pixel rgb = draw & kRgbMask;
    for (int x = begin; x < end; ++x) {
        row[x] = (row[x] & ~kRgbMask) | rgb;
    }
}

void FillBackPixel(Bitmap& image, int x, int y, Colour key) {
    Pixel& p = image.Row(y)[x];
    if (ColourFromPixel(p) == key) {
        p = (p & ~kRgbMask) | (PixelFromColour(FillBackColour(image, x, y, key)) & kRgbMask);
    }
}

// The whole-image fill-back must give exactly what filling column after column, each top to
// bottom, gives: a key pixel reads the already filled pixel above it and the three to its left,
// and the untouched rest. Plain columns of a tall image miss the cache at every pixel, so strips
// of columns go down in chunks of rows, each column one row behind the one to its left: every
// pixel still finds those four filled and the others untouched, as the column order leaves them.
constexpr int kFillBackStrip = 64;
constexpr int kFillBackChunk = 64;

// n / d for n <= 8 x 255 and d in 1..8 as a multiplication.
constexpr std::array<std::uint32_t, 9> kReciprocal = [] {
    std::array<std::uint32_t, 9> r{};  // 0 for no neighbour: black
    for (std::uint32_t d = 1; d <= 8; ++d) {
        r[d] = ((1u << 20) + d - 1) / d;
    }
    return r;
}();
constexpr bool ReciprocalsExact() {
    for (std::uint32_t d = 1; d <= 8; ++d) {
        for (std::uint32_t n = 0; n <= 8 * 255; ++n) {
            if ((n * kReciprocal[d]) >> 20 != n / d) {
                return false;
            }
        }
    }
    return true;
}
static_assert(ReciprocalsExact());

// A pixel with all eight neighbours inside the image; `key` is in pixel order, RGB only.
inline void FillBackInner(Pixel* p, std::size_t stride, Pixel key) {
    if ((*p & kRgbMask) != key) {
        return;
    }
    const Pixel* above = p - stride;
    const Pixel* below = p + stride;
    const Pixel around[8] = {above[-1], above[0],  above[1], p[-1],
                             p[1],      below[-1], below[0], below[1]};
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    std::uint32_t count = 0;
    for (Pixel q : around) {
        q &= kRgbMask;
        const std::uint32_t take = q == key ? 0u : 0xFFu;
        red += q >> 16 & take;
        green += q >> 8 & take;
        blue += q & take;
        count += take & 1u;
    }
    const std::uint32_t m = kReciprocal[count];
    *p = (*p & ~kRgbMask) | ((red * m) >> 20) << 16 | ((green * m) >> 20) << 8 | (blue * m) >> 20;
}

// Rows [first, last) of column x.
void FillBackColumn(Bitmap& image, int x, int first, int last, Pixel key) {
    const int h = image.Height();
    const bool innerColumn = x > 0 && x < image.Width() - 1;
    const auto stride = static_cast<std::size_t>(image.Width());
    const Colour keyColour = ColourFromPixel(key);
    for (int y = first; y < last; ++y) {
        if (innerColumn && y > 0 && y < h - 1) {
            FillBackInner(image.Row(y) + x, stride, key);
        } else {
            FillBackPixel(image, x, y, keyColour);
        }
    }
}

void FillBackStrip(Bitmap& image, int x0, int x1, Pixel key) {
    const int h = image.Height();
    std::array<int, kFillBackStrip> done{};
    for (int end = kFillBackChunk;; end += kFillBackChunk) {
        bool finished = true;
        for (int x = x0; x < x1; ++x) {
            const int stop = std::clamp(end - (x - x0), 0, h);
            FillBackColumn(image, x, done[x - x0], stop, key);
            done[x - x0] = stop;
            finished = finished && stop == h;
        }
        if (finished) {
            return;
        }
    }
}

}  // namespace

Colour FillBackColour(const Bitmap& image, int x, int y, Colour key) {
    static constexpr std::array<Point, 8> kNeighbours = {
        {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
    int red = 0;
    int green = 0;
    int blue = 0;
    int count = 0;
    for (const Point d : kNeighbours) {
        // Outside the image the read gives "no colour", which is never the key and whose
        // channels read as 255: white.
        const Colour c = image.ReadPixel(x + d.x, y + d.y);
        if (c == key) {
            continue;
        }
        red += RedOf(c);
        green += GreenOf(c);
        blue += BlueOf(c);
        ++count;
    }
    if (count == 0) {
        return Rgb(0, 0, 0);
    }
    return Rgb(red / count, green / count, blue / count);
}

PenApplied ApplyPen(Bitmap& image, Point q, const RangePixelSet& pixels,
                    const PenSettings& settings, PenStroke* stroke) {
    const Colour reference = image.ReadPixel(q.x, q.y);
    if (stroke != nullptr) {
        stroke->KeepBefore(image, pixels);
    }
    if (settings.mode == PenMode::FillBack) {
        ForEachRangePixel(pixels, [&](int x, int y) { FillBackPixel(image, x, y, settings.key); });
    } else {
        // Each pixel's test depends only on itself and the reference read above, so the order
        // of visiting cannot change the result; rows are the fast order.
        const Pixel draw = PixelFromColour(settings.drawColour);
        for (const RangeSpan& s : pixels.spans) {
            if (settings.targets.allColours) {
                WriteInSpan(image.Row(s.y), s.begin, s.end, draw);
            } else {
                ReplaceInSpan(image.Row(s.y), s.begin, s.end, PixelFromColour(reference), draw,
                              2 * settings.targets.tolerance);
            }
        }
    }
    if (stroke != nullptr) {
        stroke->AddApplication(pixels.reported, pixels.bounds);
    }
    return {pixels.reported, pixels.bounds};
}

PenApplied ApplyPen(Bitmap& image, Point q, const ProcessingRange& range,
                    const RangeOutline& outline, const CanvasMapping& mapping,
                    const PenSettings& settings, PenStroke* stroke) {
    const RangePixelSet pixels =
        RangePixels(range, outline, q, mapping, {image.Width(), image.Height()});
    return ApplyPen(image, q, pixels, settings, stroke);
}

bool WholeImagePenRefused(const PenSettings& settings) {
    return settings.mode == PenMode::Pen && settings.targets.allColours;
}

void ReplaceMatchingColours(Bitmap& image, Colour reference, Colour drawColour, int tolerance) {
    if (image.IsNull()) {
        return;
    }
    // The rows are contiguous: one span over the whole buffer.
    const std::size_t count = image.PixelCount();
    Pixel* data = image.Data();
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    for (std::size_t done = 0; done < count; done += kChunk) {
        const int n = static_cast<int>(std::min(kChunk, count - done));
        ReplaceInSpan(data + done, 0, n, PixelFromColour(reference), PixelFromColour(drawColour),
                      2 * tolerance);
    }
}

namespace {

using StripFill = void (*)(const fill_back::Strip&, std::uint32_t*);

// The pass's strip filler; none for the column order.
StripFill StripFillOf(FillBackPass pass) {
#if defined(PALVEX_FILL_BACK_VECTORS)
    switch (pass) {
        case FillBackPass::Columns:
            return nullptr;
        case FillBackPass::Vectors:
            return fill_back::FillStripPortable;
#if defined(PALVEX_FILL_BACK_X86)
        case FillBackPass::Avx2:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") ? fill_back::FillStripAvx2 : nullptr;
        case FillBackPass::Avx512:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx512f") ? fill_back::FillStripAvx512 : nullptr;
#endif
        default:
            return nullptr;
    }
#else
    static_cast<void>(pass);
    return nullptr;
#endif
}

FillBackPass FastestFillBack() {
    for (const FillBackPass pass : {FillBackPass::Avx512, FillBackPass::Avx2}) {
        if (StripFillOf(pass) != nullptr) {
            return pass;
        }
    }
    return StripFillOf(FillBackPass::Vectors) != nullptr ? FillBackPass::Vectors
                                                         : FillBackPass::Columns;
}

// How far each strip has written back; a strip loads a row only after the strip to its left
// has written it. Strips are taken in order by running threads, so the one waited for is
// always being worked on.
struct StripRows {
    explicit StripRows(std::size_t strips) : written(strips) {}
    std::vector<std::atomic<int>> written;
};

struct StripContext {
    StripRows* rows;
    std::size_t index;
};

void WaitForLeft(void* context, int rows) {
    const auto* c = static_cast<const StripContext*>(context);
    if (c->index == 0) {
        return;  // column 0 was filled first
    }
    const std::atomic<int>& left = c->rows->written[c->index - 1];
    while (left.load(std::memory_order_acquire) < rows) {
        std::this_thread::yield();
    }
}

void Written(void* context, int rows) {
    const auto* c = static_cast<const StripContext*>(context);
    c->rows->written[c->index].store(rows, std::memory_order_release);
}

// Columns [0, returned) in strips on every core; the caller fills the rest.
int FillBackStrips(Bitmap& image, Pixel key, StripFill fill, const PassProgress& progress,
                   KeyBits* before) {
    const int width = image.Width();
    // A strip reads the column after its own. Strips from column 0 lie on whole cache lines of an
    // image whose rows are whole lines, and stream those lines straight to memory.
    const std::size_t strips =
        width > 0 ? static_cast<std::size_t>((width - 1) / fill_back::kStripLanes) : 0;
    if (strips == 0) {
        return 0;
    }
    StripRows rows(strips);
    std::vector<std::vector<std::uint32_t>> rings(WorkersFor(strips));
    int reported = progress ? 0 : width;
    ParallelFor(strips, [&](std::size_t i, unsigned worker) {
        std::vector<std::uint32_t>& ring = rings[worker];
        ring.resize(fill_back::kRingSize);
        StripContext context{&rows, i};
        fill_back::Strip strip;
        strip.pixels = image.Data();
        strip.stride = width;
        strip.height = image.Height();
        strip.x0 = static_cast<int>(i) * fill_back::kStripLanes;
        strip.key = key;
        if (before != nullptr) {
            strip.keyBits = before->Column(strip.x0 / 64);  // the strip's own column of words
            strip.keyBitsStride = 1;
        }
        strip.context = &context;
        strip.waitForLeft = WaitForLeft;
        strip.written = Written;
        fill(strip, ring.data());
        // Progress is shown from the caller's thread only.
        for (; worker == 0 && reported < strip.x0 + fill_back::kStripLanes; reported += 20) {
            progress(reported, width);
        }
    });
    const int end = static_cast<int>(strips) * fill_back::kStripLanes;
    for (; reported < end; reported += 20) {
        progress(reported, width);
    }
    return end;
}

}  // namespace

bool FillBackPassAvailable(FillBackPass pass) {
    return pass == FillBackPass::Columns || StripFillOf(pass) != nullptr;
}

void FillBackWholeImage(Bitmap& image, Colour key, const PassProgress& progress, KeyBits* before) {
    static const FillBackPass fastest = FastestFillBack();
    FillBackWholeImage(image, key, fastest, progress, before);
}

void FillBackWholeImage(Bitmap& image, Colour key, FillBackPass pass, const PassProgress& progress,
                        KeyBits* before) {
    // No pixel's colour has the top byte of "no colour": nothing can be the key.
    if (key > kRgbMask || image.IsNull()) {
        return;
    }
    if (before != nullptr &&
        (before->Width() != image.Width() || before->Height() != image.Height())) {
        before = nullptr;
    }
    const Pixel keyPixel = PixelFromColour(key) & kRgbMask;
    const int width = image.Width();
    int x = 0;
    if (const StripFill fill = StripFillOf(pass); fill != nullptr) {
        x = FillBackStrips(image, keyPixel, fill, progress, before);
    }
    if (before != nullptr) {
        before->Scan(image, key, x, width);
    }
    // Whatever the strips left, column after column as the definition goes.
    for (int x0 = x; x0 < width; x0 += kFillBackStrip) {
        const int x1 = std::min(width, x0 + kFillBackStrip);
        FillBackStrip(image, x0, x1, keyPixel);
        for (int p = x0 + (20 - x0 % 20) % 20; progress && p < x1; p += 20) {
            progress(p, width);
        }
    }
}

bool ApplyPenWholeImage(Bitmap& image, Point q, const PenSettings& settings,
                        const PassProgress& progress, KeyBits* before) {
    if (WholeImagePenRefused(settings) || image.IsNull()) {
        return false;
    }
    const Colour reference = image.ReadPixel(q.x, q.y);
    if (progress) {
        progress(0, image.Width());
    }
    if (settings.mode == PenMode::FillBack) {
        FillBackWholeImage(image, settings.key, progress, before);
    } else {
        ReplaceMatchingColours(image, reference, settings.drawColour, settings.targets.tolerance);
    }
    if (progress) {
        progress(0, image.Width());
    }
    return true;
}

}  // namespace palvex
