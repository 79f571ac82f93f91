#include "image/codecs/png_unfilter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace palvex::test {
namespace {

using Unfilter = bool (*)(int, int, const std::uint8_t*, const Pixel*, Pixel*, std::size_t);

struct Path {
    const char* name;
    Unfilter unfilter;
};
constexpr Path kPaths[] = {{"fast", UnfilterRowToPixels}, {"scalar", UnfilterRowToPixelsScalar}};

// Bytes that end where an unreadable page starts (rounded up to a whole pixel, so the start
// stays aligned for pixels), so that reading past them crashes the test.
class GuardedBytes {
public:
    explicit GuardedBytes(std::size_t size) {
        used_ = (size + 3) / 4 * 4;
        const std::size_t used = used_;
#if defined(__unix__)
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        length_ = ((used + page - 1) / page + 1) * page;
        void* map =
            mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        base_ = static_cast<std::uint8_t*>(map);
        mprotect(base_ + length_ - page, page, PROT_NONE);
        data_ = base_ + length_ - page - used;
#else
        storage_.resize(used / 4 + 1);
        data_ = reinterpret_cast<std::uint8_t*>(storage_.data());
#endif
    }
    ~GuardedBytes() {
#if defined(__unix__)
        munmap(base_, length_);
#endif
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    std::uint8_t* data() {
        return data_;
    }
    std::uint8_t* end() {
        return data_ + used_;
    }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t used_ = 0;
#if defined(__unix__)
    std::uint8_t* base_ = nullptr;
    std::size_t length_ = 0;
#else
    std::vector<Pixel> storage_;
#endif
};

// The predictors as PNG defines them, on one byte and its neighbours in the file's samples.
int Predict(int filter, int a, int b, int c) {
    switch (filter) {
        case 1:
            return a;
        case 2:
            return b;
        case 3:
            return (a + b) / 2;
        case 4: {
            const int p = a + b - c;
            const int pa = std::abs(p - a);
            const int pb = std::abs(p - b);
            const int pc = std::abs(p - c);
            if (pa <= pb && pa <= pc) {
                return a;
            }
            return pb <= pc ? b : c;
        }
        default:
            return 0;
    }
}

// A picture as the file holds it: R, G, B(, A) samples and each row filtered the PNG way.
struct Picture {
    int bpp = 4;
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<int> filters;
    std::vector<std::uint8_t> samples;
    std::vector<std::uint8_t> filtered;

    std::size_t RowBytes() const { return width * bpp; }
    Pixel Expected(std::size_t x, std::size_t y) const {
        const std::uint8_t* s = &samples[y * RowBytes() + x * bpp];
        const Pixel alpha = bpp == 4 ? s[3] : 0xFF;
        return alpha << 24 | Pixel{s[0]} << 16 | Pixel{s[1]} << 8 | s[2];
    }
};

// The picture of the given samples, each row filtered the PNG way.
Picture FilterPicture(int bpp, std::size_t width, std::vector<int> filters,
                      std::vector<std::uint8_t> samples) {
    Picture pic;
    pic.bpp = bpp;
    pic.width = width;
    pic.height = filters.size();
    pic.filters = std::move(filters);
    pic.samples = std::move(samples);
    const std::size_t row = pic.RowBytes();
    pic.filtered.resize(row * pic.height);
    const auto at = [&](std::size_t y, std::size_t i) -> int { return pic.samples[y * row + i]; };
    for (std::size_t y = 0; y < pic.height; ++y) {
        for (std::size_t i = 0; i < row; ++i) {
            const int a = i >= static_cast<std::size_t>(bpp) ? at(y, i - bpp) : 0;
            const int b = y > 0 ? at(y - 1, i) : 0;
            const int c = y > 0 && i >= static_cast<std::size_t>(bpp) ? at(y - 1, i - bpp) : 0;
            pic.filtered[y * row + i] =
                static_cast<std::uint8_t>(at(y, i) - Predict(pic.filters[y], a, b, c));
        }
    }
    return pic;
}

// Noise, or samples from a handful of values so that Paeth's distances often tie.
Picture MakePicture(int bpp, std::size_t width, std::vector<int> filters, bool fewValues,
                    std::mt19937& rng) {
    std::vector<std::uint8_t> samples(width * bpp * filters.size());
    static constexpr std::uint8_t kFew[] = {0, 1, 2, 125, 126, 127, 128, 129, 130, 254, 255};
    for (auto& s : samples) {
        s = fewValues ? kFew[rng() % std::size(kFew)] : static_cast<std::uint8_t>(rng());
    }
    return FilterPicture(bpp, width, std::move(filters), std::move(samples));
}

std::string Hex(Pixel p) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(p));
    return text;
}

testing::AssertionResult SameAsExpected(const Picture& pic, const Pixel* pixels) {
    for (std::size_t y = 0; y < pic.height; ++y) {
        for (std::size_t x = 0; x < pic.width; ++x) {
            const Pixel got = pixels[y * pic.width + x];
            if (got != pic.Expected(x, y)) {
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") of filter " << pic.filters[y]
                       << ": expected " << Hex(pic.Expected(x, y)) << " but got " << Hex(got);
            }
        }
    }
    return testing::AssertionSuccess();
}

// Each row from its own buffer that ends at an unreadable page, into pixels followed by a
// guard that must stay untouched.
testing::AssertionResult DecodesApart(const Picture& pic, Unfilter unfilter) {
    constexpr Pixel kGuard = 0x5A5A5A5Au;
    std::vector<Pixel> pixels(pic.width * pic.height + 4, kGuard);
    for (std::size_t y = 0; y < pic.height; ++y) {
        GuardedBytes buffer(pic.RowBytes());
        std::uint8_t* src = buffer.end() - pic.RowBytes();
        std::memcpy(src, &pic.filtered[y * pic.RowBytes()], pic.RowBytes());
        Pixel* dst = &pixels[y * pic.width];
        if (!unfilter(pic.filters[y], pic.bpp, src, y > 0 ? dst - pic.width : nullptr, dst,
                      pic.width)) {
            return testing::AssertionFailure() << "row " << y << " refused";
        }
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (pixels[pic.width * pic.height + i] != kGuard) {
            return testing::AssertionFailure() << "written past the row's end";
        }
    }
    return SameAsExpected(pic, pixels.data());
}

// As the decoder does it in one block: each row's filtered bytes are put `offset` bytes past
// the start of the row's pixels just before the row is decoded over them.
testing::AssertionResult DecodesInPlace(const Picture& pic, Unfilter unfilter, std::size_t offset) {
    const std::size_t rowPixels = pic.width * 4;
    const std::size_t lastEnd = offset + pic.RowBytes();
    GuardedBytes block(rowPixels * pic.height + (lastEnd > rowPixels ? lastEnd - rowPixels : 0));
    auto* pixels = reinterpret_cast<Pixel*>(block.data());
    for (std::size_t y = 0; y < pic.height; ++y) {
        Pixel* dst = pixels + y * pic.width;
        std::uint8_t* src = reinterpret_cast<std::uint8_t*>(dst) + offset;
        std::memmove(src, &pic.filtered[y * pic.RowBytes()], pic.RowBytes());
        if (!unfilter(pic.filters[y], pic.bpp, src, y > 0 ? dst - pic.width : nullptr, dst,
                      pic.width)) {
            return testing::AssertionFailure() << "row " << y << " refused";
        }
    }
    return SameAsExpected(pic, pixels);
}

std::vector<std::size_t> Widths() {
    std::vector<std::size_t> widths;
    for (std::size_t w = 1; w <= 40; ++w) {
        widths.push_back(w);
    }
    for (std::size_t w : {255, 1000, 4099}) {
        widths.push_back(w);
    }
    return widths;
}

TEST(PngUnfilter, EveryFilterGivesTheFileSamples) {
    std::mt19937 rng(7);
    for (const Path& path : kPaths) {
        for (int bpp : {3, 4}) {
            for (std::size_t width : Widths()) {
                for (int filter = 0; filter <= 4; ++filter) {
                    for (bool few : {false, true}) {
                        SCOPED_TRACE(testing::Message()
                                     << path.name << " bpp " << bpp << " width " << width
                                     << " filter " << filter << (few ? " few values" : " noise"));
                        const Picture pic =
                            MakePicture(bpp, width, {filter, filter, filter}, few, rng);
                        ASSERT_TRUE(DecodesApart(pic, path.unfilter));
                    }
                }
            }
        }
    }
}

// A sequence in which every ordered pair of byte values stands side by side once (cyclically).
std::vector<std::uint8_t> EveryPair() {
    std::vector<std::uint8_t> seq;
    for (int i = 0; i < 256; ++i) {
        seq.push_back(static_cast<std::uint8_t>(i));
        for (int j = i + 1; j < 256; ++j) {
            seq.push_back(static_cast<std::uint8_t>(i));
            seq.push_back(static_cast<std::uint8_t>(j));
        }
    }
    return seq;
}

// Every left, above and above-left value together, in every channel: the top row holds every
// (above-left, above) pair, the Paeth row below it one left value a channel.
TEST(PngUnfilter, PaethPicksAsPngDoesForEveryNeighbourhood) {
    const std::vector<std::uint8_t> pairs = EveryPair();
    ASSERT_EQ(pairs.size(), 65536u);
    const std::size_t width = pairs.size() + 1;
    for (int bpp : {3, 4}) {
        for (int pass = 0; pass < (256 + bpp - 1) / bpp; ++pass) {
            std::vector<std::uint8_t> samples(2 * width * bpp);
            for (std::size_t x = 0; x < width; ++x) {
                for (int ch = 0; ch < bpp; ++ch) {
                    samples[x * bpp + ch] = pairs[(x + 1000 * ch) % pairs.size()];
                    samples[(width + x) * bpp + ch] = static_cast<std::uint8_t>(pass * bpp + ch);
                }
            }
            const Picture pic = FilterPicture(bpp, width, {0, 4}, std::move(samples));
            for (const Path& path : kPaths) {
                SCOPED_TRACE(testing::Message() << path.name << " bpp " << bpp << " pass " << pass);
                ASSERT_TRUE(DecodesApart(pic, path.unfilter));
            }
        }
    }
}

TEST(PngUnfilter, FirstRowSeesZerosAbove) {
    std::mt19937 rng(11);
    const std::vector<Pixel> zeros(37, 0);
    for (const Path& path : kPaths) {
        for (int bpp : {3, 4}) {
            for (int filter = 0; filter <= 4; ++filter) {
                SCOPED_TRACE(testing::Message()
                             << path.name << " bpp " << bpp << " filter " << filter);
                std::vector<std::uint8_t> src(37 * bpp);
                for (auto& s : src) {
                    s = static_cast<std::uint8_t>(rng());
                }
                std::vector<Pixel> first(37);
                std::vector<Pixel> belowZeros(37);
                ASSERT_TRUE(path.unfilter(filter, bpp, src.data(), nullptr, first.data(), 37));
                ASSERT_TRUE(
                    path.unfilter(filter, bpp, src.data(), zeros.data(), belowZeros.data(), 37));
                EXPECT_EQ(first, belowZeros);
            }
        }
    }
}

TEST(PngUnfilter, DecodesInPlaceUpToTheOverlapLimit) {
    std::mt19937 rng(3);
    for (const Path& path : kPaths) {
        for (int bpp : {3, 4}) {
            for (std::size_t width : Widths()) {
                // RGB output outgrows its input by one byte a pixel: the row's data can start no
                // earlier than width bytes into the row's pixels.
                const std::vector<std::size_t> offsets =
                    bpp == 4 ? std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 8}
                             : std::vector<std::size_t>{width, width + 1};
                for (std::size_t offset : offsets) {
                    SCOPED_TRACE(testing::Message() << path.name << " bpp " << bpp << " width "
                                                    << width << " offset " << offset);
                    const Picture pic =
                        MakePicture(bpp, width, {4, 3, 2, 1, 0, 4, 1, 3}, offset % 2 == 1, rng);
                    ASSERT_TRUE(DecodesInPlace(pic, path.unfilter, offset));
                }
            }
        }
    }
}

TEST(PngUnfilter, RefusesUnknownFilterOrDepth) {
    const std::uint8_t src[16] = {};
    Pixel dst[4] = {};
    for (const Path& path : kPaths) {
        SCOPED_TRACE(path.name);
        for (int filter : {-1, 5, 255}) {
            EXPECT_FALSE(path.unfilter(filter, 4, src, nullptr, dst, 4)) << filter;
        }
        for (int bpp : {1, 2, 6, 8}) {
            EXPECT_FALSE(path.unfilter(0, bpp, src, nullptr, dst, 2)) << bpp;
        }
        EXPECT_TRUE(path.unfilter(4, 3, src, nullptr, dst, 0));
    }
}

}  // namespace
}  // namespace palvex::test
