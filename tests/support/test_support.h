#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "image/bitmap.h"

namespace palvex::test {

// A bitmap of the given pixels (0xAARRGGBB), row by row.
// A well-mixed 32-bit hash, for test pictures that look like noise but are the same every run.
constexpr std::uint32_t Hash(std::uint32_t v) {
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    return v ^ v >> 16;
}

Bitmap MakeBitmap(int width, int height, const std::vector<Pixel>& pixels);
Bitmap SolidBitmap(int width, int height, Pixel value);

// Compares size and every pixel (all four bytes, or only the colour when rgbOnly). On a mismatch
// the message names the first differing pixel, and both images are written as PNG files into
// the build's failures/ folder under `name` so the fault can be looked at.
::testing::AssertionResult SameBitmaps(const Bitmap& expected, const Bitmap& actual,
                                       const std::string& name = "image", bool rgbOnly = false);

// A fresh folder under the system's temporary path, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path File(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Records every message and answers questions from a queue (default: the `fallback` answer).
class RecordingPrompter final : public Prompter {
public:
    Answer Show(const MessageRequest& request) override;
    std::optional<SaveFileChoice> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<SaveFileChoice> AskOpenFile(const OpenFileRequest& request) override;
    std::optional<std::uint32_t> AskColour(std::uint32_t initial) override;
    std::optional<int> AskJpegQuality(int initial) override;

    std::vector<MessageRequest> shown;
    std::deque<Answer> answers;
    Answer fallback = Answer::Yes;

    // Dialog answers (unset: cancelled) and what the dialogs were opened with.
    std::optional<SaveFileChoice> saveChoice;
    std::optional<SaveFileRequest> saveRequest;
    std::optional<SaveFileChoice> openChoice;
    std::optional<OpenFileRequest> openRequest;
    std::optional<int> jpegQuality;
    std::optional<std::uint32_t> colourChoice;
    std::optional<std::uint32_t> colourAskedWith;
    std::optional<int> qualityAskedWith;

    // The texts shown, in order, for compact assertions.
    std::vector<std::string> Texts() const;
};

// Little-endian byte writers for hand-built files.
void PutU16(std::vector<std::uint8_t>& out, unsigned value);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace palvex::test
