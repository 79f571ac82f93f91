#include "support/test_support.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

#include "support/png_writer.h"

namespace palvex::test {

Bitmap MakeBitmap(int width, int height, const std::vector<Pixel>& pixels) {
    Bitmap bitmap;
    EXPECT_TRUE(bitmap.Create(width, height));
    EXPECT_EQ(pixels.size(), bitmap.PixelCount());
    std::copy(pixels.begin(), pixels.end(), bitmap.Data());
    return bitmap;
}

Bitmap SolidBitmap(int width, int height, Pixel value) {
    Bitmap bitmap;
    EXPECT_TRUE(bitmap.Create(width, height));
    bitmap.Fill(value);
    return bitmap;
}

namespace {

std::string Hex(Pixel p) {
    std::ostringstream s;
    s << "0x" << std::hex << std::uppercase << p;
    return s.str();
}

void SaveForInspection(const Bitmap& image, const std::string& name) {
    if (image.IsNull()) {
        return;
    }
    const std::filesystem::path dir = PALVEX_TEST_OUTPUT_DIR;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    WriteFileBytes(dir / (name + ".png"), EncodeRgbaPng(image));
}

}  // namespace

::testing::AssertionResult SameBitmaps(const Bitmap& expected, const Bitmap& actual,
                                       const std::string& name, bool rgbOnly) {
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
        return ::testing::AssertionFailure()
               << name << ": expected " << expected.Width() << "x" << expected.Height()
               << " but got " << actual.Width() << "x" << actual.Height();
    }
    const Pixel mask = rgbOnly ? kRgbMask : 0xFFFFFFFFu;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const Pixel e = expected.Row(y)[x];
            const Pixel a = actual.Row(y)[x];
            if ((e & mask) != (a & mask)) {
                SaveForInspection(expected, name + ".expected");
                SaveForInspection(actual, name + ".actual");
                return ::testing::AssertionFailure()
                       << name << ": first difference at (" << x << ", " << y << "): expected "
                       << Hex(e) << " but got " << Hex(a) << " (images in "
                       << PALVEX_TEST_OUTPUT_DIR << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ =
            base / ("palvex-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (std::filesystem::create_directory(path_, ec)) {
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Answer RecordingPrompter::Show(const MessageRequest& request) {
    shown.push_back(request);
    if (request.buttons == MessageButtons::Ok) {
        return Answer::Ok;
    }
    if (answers.empty()) {
        return fallback;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<SaveFileChoice> RecordingPrompter::AskSaveFile(const SaveFileRequest& request) {
    saveRequest = request;
    return saveChoice;
}

std::optional<SaveFileChoice> RecordingPrompter::AskOpenFile(const OpenFileRequest& request) {
    openRequest = request;
    return openChoice;
}

std::optional<std::uint32_t> RecordingPrompter::AskColour(std::uint32_t initial) {
    colourAskedWith = initial;
    return colourChoice;
}

std::optional<int> RecordingPrompter::AskJpegQuality(int initial) {
    qualityAskedWith = initial;
    return jpegQuality;
}

std::vector<std::string> RecordingPrompter::Texts() const {
    std::vector<std::string> texts;
    for (const auto& request : shown) {
        texts.push_back(request.Text());
    }
    return texts;
}

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace palvex::test
