#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/bitmap.h"
#include "image/colour.h"
#include "image/large_block.h"

namespace palvex {

// Where the key colour was, one bit a pixel, taken by a pass as it reads the image: that saves a
// scan of the image of its own before the pass. Column x is bit x % 64 of word x / 64 of its
// row, and the words are kept a column of words at a time (one word of every row, then the
// next), so that each strip of 64 columns, which the fill-back runs on its own core, writes a
// column of words of its own, one after the other.
class KeyBits {
public:
    // Sized for an image, every bit clear; false when the memory is not there.
    bool Reset(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::ptrdiff_t WordsPerRow() const { return wordsPerRow_; }
    std::size_t WordCount() const { return static_cast<std::size_t>(wordsPerRow_) * height_; }
    // Word w of every row, top to bottom.
    std::uint64_t* Column(std::ptrdiff_t w) { return words_.get() + w * height_; }
    std::uint64_t Word(std::ptrdiff_t w, int y) const { return words_[w * height_ + y]; }
    const std::uint64_t* Data() const { return words_.get(); }
    std::uint64_t* Data() { return words_.get(); }
    void Set(int x, int y) { Column(x / 64)[y] |= std::uint64_t{1} << (x % 64); }
    // Sets the bits of the key's pixels in columns [x0, x1) of `image`.
    void Scan(const Bitmap& image, Colour key, int x0, int x1);

private:
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t wordsPerRow_ = 0;
    // Huge pages where the system has them: a fresh block of small ones costs a fault a page.
    std::unique_ptr<std::uint64_t[], LargeBlockDeleter> words_;
};

// Where the key colour was, as runs per row, taken before a pass that changes exactly the
// key-coloured pixels and keeps every pixel's fourth byte (the whole-image fill-back). Writing
// the key's red, green and blue back into the runs then restores the image bit for bit; the
// pass itself, being deterministic, serves as the way forward again. A background of long runs
// costs a few bytes a row instead of a copy of the image.
class KeyRunRecord {
public:
    KeyRunRecord() = default;
    // One scan of `image`. Beyond `budget` bytes (0: an eighth of the image's bytes) the record
    // gives up and is lost: a ragged key costs more than the copy it would replace.
    KeyRunRecord(const Bitmap& image, Colour key, std::size_t budget = 0);
    // The same from the bits a pass took. Never lost: where the runs would cost more than the
    // bits, or than the budget, the record keeps the bits instead.
    KeyRunRecord(KeyBits bits, Colour key, std::size_t budget = 0);

    // Writes the key into the recorded runs, keeping each pixel's fourth byte. False, writing
    // nothing, when the image is not the size the record was made on or the record is lost.
    bool Write(Bitmap& image) const;

    bool Fits(const Bitmap& image) const;
    bool Lost() const { return lost_; }
    Colour Key() const { return key_; }
    std::size_t RunCount() const { return runs_.size(); }
    bool KeepsBits() const { return bits_.Width() != 0; }
    std::size_t Bytes() const {
        return runs_.capacity() * sizeof(Run) + bits_.WordCount() * sizeof(std::uint64_t);
    }

private:
    struct Run {
        std::int32_t y;
        std::int32_t x0;
        std::int32_t x1;
    };
    // Appends the key's runs of row y; false when `runs` would outgrow the budget.
    static bool ScanRow(const Pixel* row, int y, Pixel key, int width, std::size_t budget,
                        std::vector<Run>& runs);

    int width_ = 0;
    int height_ = 0;
    Colour key_ = 0;
    std::size_t budget_ = 0;  // runs
    bool lost_ = true;        // until a scan succeeds
    std::vector<Run> runs_;
    KeyBits bits_;  // instead of the runs, when they would cost more
};

}  // namespace palvex
