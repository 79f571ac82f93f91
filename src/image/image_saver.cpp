#include "image/image_saver.h"

#include <string>
#include <system_error>

#include "image/colour_stats.h"
#include "image/save_format.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

// The overwrite save writes "jpg" and "tif" files with the encoders of their long names.
std::string CanonicalExtension(std::string extension) {
    if (extension == "jpg") {
        return "jpeg";
    }
    if (extension == "tif") {
        return "tiff";
    }
    return extension;
}

// Encodes through the encoder of "image/<extension>"; message 30001 on any failure.
bool Encode(const SaveContext& context, std::string_view extension, int quality, Colour alphaKey,
            OutputBuffer& out) {
    const ImageEncoder* encoder = FindEncoderByMime("image/" + std::string(extension));
    if (encoder == nullptr || context.image.IsNull() ||
        !encoder->encode(context.image, quality, alphaKey, out)) {
        context.prompter.Error(str::kMemoryAllocationFailed);
        return false;
    }
    return true;
}

}  // namespace

bool SaveDocument(const SaveContext& context, const std::filesystem::path& path) {
    const std::string extension = CanonicalExtension(ExtensionOf(path));
    if (extension == "jpeg" && !context.prompter.AskYesNo(str::kJpegLosesTransparency)) {
        return false;
    }
    if (context.settings.GetInt("Last", "MakeBackup", 1) == 1) {
        const std::string text = PathText(path);
        const std::size_t dot = text.rfind('.');
        if (dot == std::string::npos) {
            return false;
        }
        const std::string backupText = text.substr(0, dot) + "(back)." + extension;
        const std::filesystem::path backup(std::u8string(backupText.begin(), backupText.end()));
        // A file that does not exist yet has nothing to back up.
        std::error_code ec;
        if (std::filesystem::exists(path, ec) &&
            !std::filesystem::copy_file(path, backup,
                                        std::filesystem::copy_options::overwrite_existing, ec)) {
            context.prompter.Error(str::kBackupFailed);
            return false;
        }
    }
    if (extension == "bmp" && context.facts.FileColorKey == kNoColour) {
        return SaveBitmap(context, path, BitmapEntryFor(context.facts.SourceBmpFormat));
    }
    return WriteImageFile(context, path, extension, context.facts.FileColorKey != kNoColour, 100,
                          false);
}

void SaveImageAs(const SaveContext& context, int initialEntry,
                 const std::filesystem::path& folder) {
    SaveFileRequest request;
    request.title = texts::kSaveDialogTitle;
    request.initialName = texts::kSaveDialogInitialName;
    request.defaultExtension = texts::kSaveDialogDefaultExtension;
    request.filters = SaveFormatFilters();
    request.selectedFilter = initialEntry;
    request.folder = folder;
    const std::optional<SaveFileChoice> choice = context.prompter.AskSaveFile(request);
    if (!choice) {
        return;
    }
    SaveImageAsEntry(context, choice->path, choice->filter);
}

bool SaveImageAsEntry(const SaveContext& context, const std::filesystem::path& chosenPath,
                      int entry) {
    const SaveFormatEntry* format = SaveFormatAt(entry);
    if (format == nullptr) {
        context.prompter.Error(str::kSaveFormatUnknown);
        return false;
    }
    // A name typed without an extension would find no encoder: it gets the entry's.
    std::filesystem::path path = chosenPath;
    if (!path.filename().has_extension()) {
        path += std::string(format->pattern).substr(1);
    }
    // Names typed as ".jpg" or ".tif" are written by the JPEG and TIFF encoders.
    const std::string extension = CanonicalExtension(ExtensionOf(path));
    int quality = 100;
    if (entry == 9) {
        if (!context.prompter.AskYesNo(str::kJpegLosesTransparency)) {
            return false;
        }
        const std::optional<int> chosen =
            context.prompter.AskJpegQuality(context.settings.GetInt("Last", "Quality", 100));
        if (!chosen) {
            return false;
        }
        context.settings.WriteInt("Last", "Quality", *chosen);
        quality = *chosen;
    }
    if (entry == 14 && HasAtLeast256Colours(context.image) &&
        !context.prompter.AskYesNo(str::kGifManyColours)) {
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !context.prompter.AskYesNo(str::kFileExists)) {
        return false;
    }
    switch (format->route) {
        case SaveRoute::Bitmap:
            return SaveBitmap(context, path, entry);
        case SaveRoute::Opaque:
            return WriteImageFile(context, path, extension, false, quality, true);
        case SaveRoute::Alpha:
        case SaveRoute::GifPatch:
            return WriteImageFile(context, path, extension, true, 100, true);
    }
    return false;
}

bool WriteImageFile(const SaveContext& context, const std::filesystem::path& path,
                    std::string_view extension, bool transparent, int quality, bool askFolder) {
    // A transparent GIF gets the key's own palette entry as its transparent index from the
    // encoder, so no other colour can turn transparent with it.
    OutputBuffer encoded;
    if (!Encode(context, extension, transparent ? 100 : quality,
                transparent ? context.transparentColor : kNoColour, encoded)) {
        return false;
    }
    AtomicFile file(path);
    if (!file.Open() || !file.Write(encoded.Span()) || !file.Commit()) {
        context.prompter.Error(str::kMemoryAllocationFailed);
        return false;
    }
    if (askFolder && context.prompter.AskYesNo(str::kSavedShowFolder)) {
        OpenContainingFolder(path, context.prompter, context.shell);
    }
    return true;
}

bool HasAtLeast256Colours(const Bitmap& image) {
    return CountDistinctColours(image, 256) >= 256;
}

bool OpenContainingFolder(const std::filesystem::path& path, Prompter& prompter,
                          DesktopShell& shell) {
    if (!shell.OpenFolder(path.parent_path())) {
        prompter.Error(str::kFileManagerFailed);
        return false;
    }
    return true;
}

}  // namespace palvex
