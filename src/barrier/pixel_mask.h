#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace palvex {

// One bit a pixel over a width x height area, each row starting on a fresh 64-bit word, so that
// runs are found and set a word at a time. Bits past the width in a row's last word are never
// set; searches are bounded by the caller.
class PixelMask {
public:
    using Word = std::uint64_t;

    PixelMask() = default;
    PixelMask(PixelMask&& other) noexcept;
    PixelMask& operator=(PixelMask&& other) noexcept;
    ~PixelMask();

    // All bits clear. False (and an empty mask) when the size is not positive or the memory
    // cannot be had.
    [[nodiscard]] bool Create(int width, int height);
    void Clear();

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t WordsPerRow() const { return words_; }
    Word* Row(int y) { return bits_.get() + static_cast<std::size_t>(y) * words_; }
    const Word* Row(int y) const { return bits_.get() + static_cast<std::size_t>(y) * words_; }

    bool Test(int x, int y) const { return (Row(y)[x >> 6] >> (x & 63) & 1) != 0; }
    void Set(int x, int y) { Row(y)[x >> 6] |= Word{1} << (x & 63); }
    // Sets [x0, x1) of row y.
    void SetRun(int y, int x0, int x1);

private:
    void Release();

    std::unique_ptr<Word[]> bits_;
    std::size_t capacity_ = 0;  // words
    int width_ = 0;
    int height_ = 0;
    std::size_t words_ = 0;
};

// Frees the memory kept from given-back masks for the next ones (this thread's): a new image
// has no use for buffers the size of the old one.
void ReleaseSpareMasks();
// The words kept so (this thread's).
std::size_t SpareMaskWords();

// The first x in [x, end) whose bit in wordAt(x / 64) is 1 (wanted) or 0; end when none.
template <class WordAt>
int FindBit(const WordAt& wordAt, int x, int end, bool wanted) {
    while (x < end) {
        const int index = x >> 6;
        PixelMask::Word word = wordAt(index);
        if (!wanted) {
            word = ~word;
        }
        word &= ~PixelMask::Word{0} << (x & 63);
        if (word != 0) {
            const int found = (index << 6) + std::countr_zero(word);
            return found < end ? found : end;
        }
        x = (index + 1) << 6;
    }
    return end;
}

// The last x below `x` whose bit is 1 (wanted) or 0; -1 when none.
template <class WordAt>
int FindBitBefore(const WordAt& wordAt, int x, bool wanted) {
    while (x > 0) {
        const int index = (x - 1) >> 6;
        PixelMask::Word word = wordAt(index);
        if (!wanted) {
            word = ~word;
        }
        const int top = (x - 1) & 63;  // highest bit to look at
        word &= ~PixelMask::Word{0} >> (63 - top);
        if (word != 0) {
            return (index << 6) + 63 - std::countl_zero(word);
        }
        x = index << 6;
    }
    return -1;
}

// Calls run(x0, x1) for each run of set bits of row y, left to right.
template <class Run>
void ForEachRun(const PixelMask& mask, int y, Run&& run) {
    const PixelMask::Word* row = mask.Row(y);
    const auto wordAt = [row](int i) { return row[i]; };
    const int width = mask.Width();
    int x = FindBit(wordAt, 0, width, true);
    while (x < width) {
        const int end = FindBit(wordAt, x, width, false);
        run(x, end);
        x = FindBit(wordAt, end, width, true);
    }
}

}  // namespace palvex
