#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace palvex {

struct SplitInflateOptions {
    // Streams shorter than this are inflated on one core: splitting costs a few milliseconds.
    std::size_t splitFrom = std::size_t{4} << 20;
    // Where the second core starts looking for a block of its own, as a share of the stream.
    double splitAt = 0.5;
};

enum class SplitInflateResult {
    Done,      // out holds the stream's bytes, checksum verified
    NotSplit,  // no split was possible or it failed; out's contents are unspecified
};

// Inflates a zlib stream that holds exactly out.size() bytes on two cores: the second starts
// at a block boundary found in the middle, with references into the still unknown first half
// kept aside until the first core is done. `stream` is modified while this runs and restored
// before it returns. NotSplit says nothing about whether the stream is valid.
SplitInflateResult InflateZlibSplit(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                                    const SplitInflateOptions& options = {});

// The same with one core's inflate wherever splitting does not apply or fails. True when the
// stream is valid zlib data of exactly out.size() bytes.
bool InflateZlibExact(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                      const SplitInflateOptions& options = {});

}  // namespace palvex
