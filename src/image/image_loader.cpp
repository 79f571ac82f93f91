#include "image/image_loader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "image/alpha_flatten.h"
#include "image/codecs/decoder.h"
#include "image/file_bytes.h"
#include "image/load_scans.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

std::string_view ReadErrorPrefix(ReadStatus status) {
    switch (status) {
        case ReadStatus::AllocError:
            return texts::kMemoryErrorLine;
        case ReadStatus::ReadError:
            return texts::kReadErrorLine;
        case ReadStatus::OpenError:
        case ReadStatus::Ok:
            break;
    }
    return texts::kFileOpenErrorLine;
}

bool StartsWithBm(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

struct Decoded {
    DecodeStatus status = DecodeStatus::Corrupt;
    Bitmap picture;
    Colour key = kNoColour;
};

// The imaging-library path: decode whatever the bytes hold, find the key from transparent
// pixels (BMPs bring theirs from the raw scan) and turn the result into an opaque picture.
// `writable`, when not empty, is `bytes` itself, lent to the decoder as room to work in.
Decoded DecodeWithImagingLibrary(std::span<const std::uint8_t> bytes,
                                 std::span<std::uint8_t> writable, std::string_view format,
                                 bool isBmp, Colour bmpKey, const DecodeLimits& limits) {
    const PngChunkScan png = format == "png" ? ScanPngChunks(bytes) : PngChunkScan{};
    DecodedImage image =
        writable.empty() ? DecodeImage(bytes, limits) : DecodeWritableImage(writable, limits);
    if (!image.Ok()) {
        return {image.status, {}, kNoColour};
    }
    Decoded decoded{DecodeStatus::Ok, std::move(image.pixels), bmpKey};
    if (isBmp) {
        // A BMP's alpha is never looked at: its key comes from the raw fourth bytes.
        MakeOpaque(decoded.picture);
        return decoded;
    }
    const AlphaScan alpha = ScanAlpha(decoded.picture);
    decoded.key = alpha.key;
    if (decoded.key == kNoColour) {
        // No fully transparent pixel: the pixels are loaded exactly as decoded, alpha dropped.
        if (alpha.anyTranslucent) {
            MakeOpaque(decoded.picture);
        }
        return decoded;
    }
    if (png.isPng && png.preferredKey != kNoColour) {
        decoded.key = png.preferredKey;
    }
    FlattenOntoKey(decoded.picture, decoded.key);
    return decoded;
}

// JPEG files go to the picture service first, which reads JPEG and BMP content and has no
// notion of transparency; anything else it cannot read goes to the imaging library.
Decoded DecodeJpegPath(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
    const ImageFormat content = SniffImageFormat(bytes);
    if (content != ImageFormat::Jpeg && content != ImageFormat::Bmp) {
        return DecodeWithImagingLibrary(bytes, {}, "jpeg", false, kNoColour, limits);
    }
    // The imaging library would run the same decoder again, so a failure here is final.
    DecodedImage image =
        content == ImageFormat::Jpeg ? DecodeJpeg(bytes, limits) : DecodeBmp(bytes, limits);
    if (!image.Ok()) {
        return {image.status, {}, kNoColour};
    }
    if (content == ImageFormat::Bmp) {
        MakeOpaque(image.pixels);
    }
    return {DecodeStatus::Ok, std::move(image.pixels), kNoColour};
}

std::uint32_t ReadLe(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | b[at + static_cast<std::size_t>(i)];
    }
    return value;
}

// The header's bit count and compression. OS/2 1.x headers keep the bit count at offset 24
// and have no compression field; every other header has them at 28 and 30.
BmpFormat ReadBmpFormat(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 26 && ReadLe(bytes, 14, 4) == 12) {
        return {static_cast<int>(ReadLe(bytes, 24, 2)), 0};
    }
    if (bytes.size() < 34) {
        return {};
    }
    return {static_cast<int>(ReadLe(bytes, 28, 2)), static_cast<int>(ReadLe(bytes, 30, 4))};
}

LoadResult LoadBytes(ReadStatus readStatus, std::span<const std::uint8_t> bytes,
                     std::span<std::uint8_t> writable, std::string_view format,
                     std::string_view pathText, int firstTrans, Prompter& prompter,
                     const DecodeLimits& limits) {
    LoadResult result;
    const bool readable = readStatus == ReadStatus::Ok;
    bool reported = false;
    Decoded decoded;
    if (format == "bmp") {
        Colour bmpKey = kNoColour;
        if (!readable || !StartsWithBm(bytes)) {
            prompter.Error(str::kBitmapKeyScanFailed,
                           readable ? texts::kFormatErrorLine : ReadErrorPrefix(readStatus));
            reported = true;
        } else {
            bmpKey = ScanBmpKey(bytes);
        }
        if (readable) {
            decoded = DecodeWithImagingLibrary(bytes, writable, format, true, bmpKey, limits);
        }
    } else if (readable) {
        decoded = format == "jpeg"
                      ? DecodeJpegPath(bytes, limits)
                      : DecodeWithImagingLibrary(bytes, writable, format, false, kNoColour, limits);
    }
    if (decoded.status != DecodeStatus::Ok) {
        // A file that cannot be decoded gets a message, so that opening it never fails silently.
        if (decoded.status == DecodeStatus::TooLarge ||
            decoded.status == DecodeStatus::OutOfMemory) {
            prompter.Error(str::kMemoryAllocationFailed);
        } else if (!reported) {
            prompter.Error(str::kImageSetFailed, std::string(pathText) + "\n");
        }
        return result;
    }

    // Scratch facts: they reach the document only with a successful result.
    LoadedFileFacts facts{decoded.key, {}};
    Colour key = decoded.key;
    bool fillWithKey = false;
    if (format == "gif" && !(bytes.size() > 4 && bytes[4] == '7')) {
        if (const auto check = CheckGifPalette(bytes, decoded.picture)) {
            key = check->key.value_or(key);
            fillWithKey = check->fillWithKey;
        }
    }
    if (format == "bmp") {
        if (!StartsWithBm(bytes)) {
            prompter.Error(str::kBitmapInfoFailed, texts::kFormatErrorLine);
            return result;
        }
        facts.SourceBmpFormat = ReadBmpFormat(bytes);
    }
    if (key == kNoColour) {
        key = FirstTransKey(firstTrans);
    }

    result.ok = true;
    result.image = std::move(decoded.picture);
    result.key = key;
    result.fillWithKey = fillWithKey;
    result.facts = facts;
    return result;
}

}  // namespace

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::string ExtensionOf(const std::filesystem::path& path) {
    const std::string text = PathText(path);
    const std::size_t dot = text.rfind('.');
    if (dot == std::string::npos) {
        return {};
    }
    std::string extension = text.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension;
}

std::string FormatNameOf(const std::filesystem::path& path) {
    const std::string extension = ExtensionOf(path);
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kFormats = {{
        {"jpg", "jpeg"},
        {"jpeg", "jpeg"},
        {"gif", "gif"},
        {"bmp", "bmp"},
        {"png", "png"},
        {"tif", "tiff"},
        {"tiff", "tiff"},
    }};
    for (const auto& [ext, name] : kFormats) {
        if (extension == ext) {
            return std::string(name);
        }
    }
    return {};
}

LoadResult LoadImageFile(const std::filesystem::path& path, int firstTrans, Prompter& prompter) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (ec) {
        // There may well be a file (no permission on its folder): not "not found".
        prompter.Error(0, PathText(path) + "\n" + std::string(texts::kDocumentOpenFailed));
        return {};
    }
    if (!exists) {
        prompter.Error(str::kFileNotFound, PathText(path) + "\n");
        return {};
    }
    const std::string format = FormatNameOf(path);
    if (format.empty()) {
        prompter.Error(str::kUnsupportedFileType);
        return {};
    }
    FileBytes file = ReadWholeFile(path);
    // The bytes are ours: the decoder may work in them.
    return LoadBytes(file.status, file.bytes.Span(), file.bytes.Span(), format, PathText(path),
                     firstTrans, prompter, {});
}

LoadResult LoadImageBytes(ReadStatus readStatus, std::span<const std::uint8_t> bytes,
                          std::string_view format, std::string_view pathText, int firstTrans,
                          Prompter& prompter, const DecodeLimits& limits) {
    return LoadBytes(readStatus, bytes, {}, format, pathText, firstTrans, prompter, limits);
}

void InstallLoadedImage(ImageState& state, LoadResult&& loaded) {
    state.width = loaded.image.Width();
    state.height = loaded.image.Height();
    state.TransparentColor = loaded.key;
    state.WorkImage = std::move(loaded.image);
    state.facts = loaded.facts;
}

}  // namespace palvex
