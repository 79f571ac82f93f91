#include "barrier/barrier_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>

#include "resources/string_table.h"

namespace palvex {
namespace {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A byte no text file holds; the blanks atoi skips are allowed.
bool IsBinary(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && !IsBlank(c)) || u == 0x7F;
}

// atoi without its undefined overflow: the value saturates at the 32-bit limits.
int SaturatingAtoi(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

// Reads at most `limit` bytes; false when the file cannot be opened or read.
bool ReadPrefix(const std::filesystem::path& path, std::size_t limit, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.resize(limit);
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

}  // namespace

BarrierParse ParseBarrierText(std::span<const std::uint8_t> bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // Read as a text editor would: a UTF-8 byte-order mark is no part of the first x, and a DOS
    // end-of-file byte ends the text.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    if (const std::size_t eof = text.find('\x1A'); eof != std::string_view::npos) {
        text = text.substr(0, eof);
    }
    BarrierParse parse;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed;
        std::string_view line = text.substr(start, end - start);
        if (feed != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        start = feed == std::string_view::npos ? text.size() : feed + 1;
        if (line.size() > kMaxBarrierLine) {
            break;
        }
        if (std::any_of(line.begin(), line.end(), IsBinary)) {
            return {};
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            break;
        }
        if (parse.vertices.size() == kMaxBarrierVertices) {
            return {};  // more vertices than a barrier holds: not one we wrote
        }
        parse.vertices.push_back(
            {SaturatingAtoi(line.substr(0, comma)), SaturatingAtoi(line.substr(comma + 1))});
    }
    if (!parse.vertices.empty()) {
        parse.status = BarrierParseStatus::Ok;
    }
    return parse;
}

void ClampToImage(std::span<Point> vertices, Size image) {
    for (Point& p : vertices) {
        p.x = std::clamp(p.x, 0, image.width - 1);
        p.y = std::clamp(p.y, 0, image.height - 1);
    }
}

std::string FormatBarrierText(std::span<const Point> vertices) {
    std::string text;
    text.reserve(vertices.size() * 16);
    char line[32];
    for (const Point p : vertices) {
        const int length = std::snprintf(line, sizeof line, "%d,%d\r\n", p.x, p.y);
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

BarrierReadResult ReadBarrierFile(const std::filesystem::path& path, Size image,
                                  Prompter& prompter) {
    // With no image the clamp range would be 0..-1.
    if (image.width <= 0 || image.height <= 0 || path.empty()) {
        return {};
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return {};
    }
    std::string bytes;
    if (!ReadPrefix(path, kMaxBarrierFileBytes, bytes)) {
        return {};
    }
    BarrierParse parse =
        ParseBarrierText({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    if (parse.status != BarrierParseStatus::Ok) {
        prompter.Error(str::kNotBarrierFile, PathText(path) + "\n");
        return {BarrierReadStatus::NotBarrierFile, {}};
    }
    ClampToImage(parse.vertices, image);
    return {BarrierReadStatus::Ok, std::move(parse.vertices)};
}

bool WriteBarrierFileTo(FileSink& sink, const std::filesystem::path& path,
                        std::span<const Point> vertices, Prompter& prompter) {
    const std::string text = FormatBarrierText(vertices);
    const bool written =
        sink.Open() &&
        sink.Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}) &&
        sink.Commit();
    if (!written) {
        prompter.Error(str::kNoWriteAccess, PathText(path) + "\n");
    }
    return written;
}

bool WriteBarrierFile(const std::filesystem::path& path, std::span<const Point> vertices,
                      Prompter& prompter) {
    AtomicFile file(path);
    return WriteBarrierFileTo(file, path, vertices, prompter);
}

}  // namespace palvex
