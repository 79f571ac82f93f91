#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace palvex {

struct SplitInflateOptions {
    // Streams shorter than this are inflated on one core: splitting costs a few milliseconds.
    std::size_t splitFrom = std::size_t{4} << 20;
    // Where the second core starts looking for a block of its own, as a share of the stream.
    double splitAt = 0.5;
    // For tests: asked once both cores are done; true gives the split up there, as a failed
    // allocation on the second core would, after the first part may have been handed out.
    std::function<bool()> failAfterBothCores = nullptr;
};

enum class SplitInflateResult {
    Done,      // out holds the stream's bytes, checksum verified
    NotSplit,  // no split was possible or it failed; out's contents are unspecified
};

// Called at most once, on the first core while the second is still at work, with a count of
// leading bytes of out that are final and that nothing reads again: the caller may use and
// overwrite them. Should the split then fail, what it did there is void.
using FirstPartReady = std::function<void(std::size_t bytes)>;

// Inflates a zlib stream that holds exactly out.size() bytes on two cores: the second starts
// at a block boundary found in the middle, with references into the still unknown first half
// kept aside until the first core is done. `stream` is modified while this runs and restored
// before it returns. NotSplit says nothing about whether the stream is valid.
SplitInflateResult InflateZlibSplit(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                                    const SplitInflateOptions& options = {},
                                    const FirstPartReady& ready = {});

// One core's inflate: true when the stream is valid zlib data of exactly out.size() bytes.
bool InflateZlibSerial(std::span<const std::uint8_t> stream, std::span<std::uint8_t> out);

// The same with one core's inflate wherever splitting does not apply or fails. True when the
// stream is valid zlib data of exactly out.size() bytes.
bool InflateZlibExact(std::span<std::uint8_t> stream, std::span<std::uint8_t> out,
                      const SplitInflateOptions& options = {});

}  // namespace palvex
