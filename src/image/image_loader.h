#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "base/prompter.h"
#include "image/bitmap.h"
#include "image/codecs/decoder.h"
#include "image/colour.h"
#include "image/file_bytes.h"

namespace palvex {

// The bit count and compression fields of an opened BMP's header; both 0 for other formats.
struct BmpFormat {
    int bitCount = 0;
    int compression = 0;
    friend bool operator==(const BmpFormat&, const BmpFormat&) = default;
};

// What the save path needs to know about the file that was opened.
struct LoadedFileFacts {
    Colour FileColorKey = kNoColour;  // the key the file itself carried, before any default
    BmpFormat SourceBmpFormat;
};

struct LoadResult {
    bool ok = false;
    Bitmap image;            // opaque pixels of the new working image (fourth byte 0xFF)
    Colour key = kNoColour;  // the new TransparentColor
    bool fillWithKey = false;
    LoadedFileFacts facts;  // the new file facts; meaningful only when ok
};

// The text after the last "." of the whole path, in lower case; empty when there is no ".".
std::string ExtensionOf(const std::filesystem::path& path);

// The format name ("jpeg", "gif", "bmp", "png", "tiff") from the text after the last "." of
// the whole path, compared in lower case; empty when there is none or it is not supported.
std::string FormatNameOf(const std::filesystem::path& path);

// Decodes an image file, finds its colour key and flattens its alpha onto the key. Every
// message goes through `prompter`. Nothing of the caller's state is touched: the file facts come
// back in the result, so a file refused at any step leaves the open document's facts as they
// were (a later overwrite save must not take the refused file's key or bit depth). On success
// the caller installs the result in this order: reset the undo history and clean the work folder,
// forget the pointer overlay, replace the working image and the file facts (InstallLoadedImage),
// clear the selection and the barrier, set the scroll extent, repaint, refresh the image info,
// and give the document the path.
LoadResult LoadImageFile(const std::filesystem::path& path, int firstTrans, Prompter& prompter);

// The same from bytes already read: `readStatus` tells how reading the file went, `format` is a
// name FormatNameOf gives and `pathText` the path as messages show it.
LoadResult LoadImageBytes(ReadStatus readStatus, std::span<const std::uint8_t> bytes,
                          std::string_view format, std::string_view pathText, int firstTrans,
                          Prompter& prompter, const DecodeLimits& limits = {});

// The image part of the editing state the application shares.
struct ImageState {
    Bitmap WorkImage;
    int width = 0;
    int height = 0;
    Colour TransparentColor = 0;  // black until an image is loaded
    LoadedFileFacts facts;
};

// Replaces the working image with a successfully loaded one: size, key, pixels and the file
// facts. A fill with the key first only matters for a picture smaller than the image; a loaded
// picture never is.
void InstallLoadedImage(ImageState& state, LoadResult&& loaded);

// The text of a path as it appears in messages (UTF-8).
std::string PathText(const std::filesystem::path& path);

}  // namespace palvex
