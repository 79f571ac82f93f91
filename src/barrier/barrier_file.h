#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/prompter.h"
#include "image/atomic_file.h"
#include "image/geometry.h"

namespace palvex {

// A barrier file is plain text, one "x,y" line per vertex, CR LF after each (on every system).
// A reader also takes a lone LF.

inline constexpr int kMaxBarrierVertices = 1000;
// A longer line (not counting its line end) ends reading as malformed.
inline constexpr std::size_t kMaxBarrierLine = 4096;
// Reading never looks past this many bytes: 1001 lines of the longest length with CR LF, and one
// byte more so that a line cut off here still shows as too long.
inline constexpr std::size_t kMaxBarrierFileBytes =
    (kMaxBarrierVertices + 1) * (kMaxBarrierLine + 2) + 1;

enum class BarrierParseStatus {
    Ok,
    NotBarrierFile,  // no vertex, binary bytes, or more vertices than a barrier holds
};

struct BarrierParse {
    BarrierParseStatus status = BarrierParseStatus::NotBarrierFile;
    std::vector<Point> vertices;  // as written in the file, saturated to 32 bits; not clamped
};

// Reads lines until one without a comma, one longer than kMaxBarrierLine, or the end. Each
// number is read like atoi (blanks, a sign, the leading digits; none gives 0) but saturates
// instead of overflowing. Refused: no vertex at all (an empty file, a picture), a NUL or other
// control byte in a line that was read, or a vertex line after the 1000th.
BarrierParse ParseBarrierText(std::span<const std::uint8_t> bytes);

// Limits x to 0..width-1 and y to 0..height-1; the size must be positive.
void ClampToImage(std::span<Point> vertices, Size image);

// "%d,%d" and CR LF per vertex.
std::string FormatBarrierText(std::span<const Point> vertices);

enum class BarrierReadStatus {
    Ok,
    NotRead,         // no image, empty path, missing or unreadable file: silent, as the editor is
    NotBarrierFile,  // the file was read but is not a barrier file; a message was shown
};

struct BarrierReadResult {
    BarrierReadStatus status = BarrierReadStatus::NotRead;
    std::vector<Point> vertices;  // clamped to the image; the barrier takes them only when Ok
};

// Reads a barrier file for an image of the given size. Nothing of the caller's barrier is
// touched here: the vertices come back in a list of their own.
BarrierReadResult ReadBarrierFile(const std::filesystem::path& path, Size image,
                                  Prompter& prompter);

// Writes the vertices to a temporary file beside the target and renames it over the target. On
// any failure the message is the path, a line break and 30035, and the old file stays as it was.
bool WriteBarrierFile(const std::filesystem::path& path, std::span<const Point> vertices,
                      Prompter& prompter);
// The same through a given sink (tests pass sinks that fail).
bool WriteBarrierFileTo(FileSink& sink, const std::filesystem::path& path,
                        std::span<const Point> vertices, Prompter& prompter);

}  // namespace palvex
