#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/prompter.h"
#include "image/image_loader.h"

// The first byte picks the extension the file is opened under, so that every path of the
// loader (scans, palette checks, the picture-service fallback) sees every kind of content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::array<std::string_view, 5> kFormats = {"bmp", "gif", "png", "tiff",
                                                                 "jpeg"};
    if (size == 0) {
        return 0;
    }
    palvex::SilentPrompter prompter;
    palvex::DecodeLimits limits;
    limits.maxPixels = 1u << 22;
    (void)palvex::LoadImageBytes(palvex::ReadStatus::Ok, {data + 1, size - 1},
                                 kFormats[data[0] % kFormats.size()], "fuzz", 1, prompter, limits);
    return 0;
}
