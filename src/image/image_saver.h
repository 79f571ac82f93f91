#pragma once

#include <filesystem>
#include <string_view>

#include "base/desktop_shell.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "image/atomic_file.h"
#include "image/bitmap.h"
#include "image/image_loader.h"
#include "image/output_buffer.h"

namespace palvex {

// What saving reads: the working image, its key, the facts of the opened file, the settings
// ("MakeBackup", "Quality") and the user's answers.
struct SaveContext {
    const Bitmap& image;
    Colour transparentColor;
    const LoadedFileFacts& facts;
    SettingsStore& settings;
    Prompter& prompter;
    DesktopShell& shell;
};

// Every file is written beside its target and renamed over it only when complete, so a
// failure leaves the old file exactly as it was. Messages and their order are the user's view.

// The overwrite save into the opened file, in that file's own format, after the backup copy.
// True when the file was written (the caller then clears the modified flag).
bool SaveDocument(const SaveContext& context, const std::filesystem::path& path);

// The save-as command: asks for a name and a format (entry `initialEntry` preselected), then
// SaveImageAsEntry. The dialog starts in `folder` (empty: where the last one was confirmed).
// The document's path and modified flag are not touched.
void SaveImageAs(const SaveContext& context, int initialEntry,
                 const std::filesystem::path& folder = {});

// The save-as steps after the dialog: the questions (JPEG, many colours for a transparent GIF,
// an existing file), the quality dialog for JPEG, the write and the folder question. An entry
// outside 1..16 is reported, never ignored; a path without an extension gets the entry's.
bool SaveImageAsEntry(const SaveContext& context, const std::filesystem::path& path, int entry);

// Writes through an encoder: with transparency exactly the key-coloured pixels become
// transparent, through alpha (PNG, TIFF, BMP) or the GIF's transparent index; a GIF whose
// pixels do not have the key (or a key of kNoColour) is written opaque. `extension` is lower
// case without the dot.
bool WriteImageFile(const SaveContext& context, const std::filesystem::path& path,
                    std::string_view extension, bool transparent, int quality, bool askFolder);

// A plain BMP of a save-format entry 1..8, then the folder question.
bool SaveBitmap(const SaveContext& context, const std::filesystem::path& path, int entry);

// A plain BMP at the given bit count and compression; each failure shows its detail text
// followed by message 30011. `sink` replaces the atomic file (tests make it fail).
bool WriteBitmapFile(const Bitmap& image, const std::filesystem::path& path, int bitCount,
                     int compression, Prompter& prompter, FileSink* sink = nullptr);

// Encoders by MIME type ("image/png", ...): nullptr for any other type (case-sensitive).
struct ImageEncoder {
    std::string_view mime;
    bool (*encode)(const Bitmap& image, int quality, Colour alphaKey, OutputBuffer& out);
};
const ImageEncoder* FindEncoderByMime(std::string_view mime);

// True as soon as a 256th distinct colour is found.
bool HasAtLeast256Colours(const Bitmap& image);

// Starts the file manager on the folder of `path`; message 30048 when it does not start.
bool OpenContainingFolder(const std::filesystem::path& path, Prompter& prompter,
                          DesktopShell& shell);

}  // namespace palvex
