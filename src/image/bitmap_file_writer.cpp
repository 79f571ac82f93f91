#include <array>
#include <string_view>

#include "image/codecs/bmp_encoder.h"
#include "image/image_saver.h"
#include "image/save_format.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

void PutLe(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

bool Fail(Prompter& prompter, std::string_view detail) {
    prompter.Error(str::kBitmapSaveFailed, detail);
    return false;
}

}  // namespace

bool WriteBitmapFile(const Bitmap& image, const std::filesystem::path& path, int bitCount,
                     int compression, Prompter& prompter, FileSink* sink) {
    if (image.IsNull()) {
        return Fail(prompter, texts::kBmpHeaderError);
    }
    OutputBuffer info;
    OutputBuffer pixels;
    switch (ConvertToPlainBmp(image, bitCount, compression, info, pixels)) {
        case BmpConvertResult::Ok:
            break;
        case BmpConvertResult::OutOfMemory:
            return Fail(prompter, texts::kBmpPixelBufferError);
        case BmpConvertResult::Failed:
            return Fail(prompter, texts::kBmpConversionError);
    }
    std::array<std::uint8_t, 14> fileHeader{'B', 'M'};
    const std::uint64_t offset = fileHeader.size() + info.Size();
    const std::uint64_t fileSize = offset + pixels.Size();
    if (fileSize > UINT32_MAX) {
        return Fail(prompter, texts::kBmpConversionError);
    }
    PutLe(&fileHeader[2], static_cast<std::uint32_t>(fileSize), 4);
    PutLe(&fileHeader[10], static_cast<std::uint32_t>(offset), 4);

    AtomicFile atomic(path);
    FileSink& out = sink != nullptr ? *sink : atomic;
    if (!out.Open()) {
        return Fail(prompter, texts::kBmpFileOpenError);
    }
    if (!out.Write(fileHeader)) {
        return Fail(prompter, texts::kBmpFileHeaderWriteError);
    }
    if (!out.Write(info.Span())) {
        return Fail(prompter, texts::kBmpInfoWriteError);
    }
    if (!out.Write(pixels.Span())) {
        return Fail(prompter, texts::kBmpPixelWriteError);
    }
    if (!out.Commit()) {
        return Fail(prompter, texts::kBmpFileOpenError);
    }
    return true;
}

bool SaveBitmap(const SaveContext& context, const std::filesystem::path& path, int entry) {
    const SaveFormatEntry* format = SaveFormatAt(entry);
    if (format == nullptr || format->route != SaveRoute::Bitmap ||
        !WriteBitmapFile(context.image, path, format->bitCount, format->compression,
                         context.prompter)) {
        return false;
    }
    if (context.prompter.AskYesNo(str::kSavedShowFolder)) {
        OpenContainingFolder(path, context.prompter, context.shell);
    }
    return true;
}

}  // namespace palvex
