#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/prompter.h"
#include "image/image_loader.h"

namespace palvex {

// The sixteen entries of the save-as dialog, numbered 1 to 16 (`SaveFormat`).
enum class SaveRoute { Bitmap, Opaque, Alpha, GifPatch };

struct SaveFormatEntry {
    int index;  // 1..16
    std::string_view pattern;
    SaveRoute route;
    int bitCount;                // bitmap route only
    int compression;             // bitmap route only
    std::string_view shortName;  // the command-line tool's name for it

    bool Transparent() const { return route == SaveRoute::Alpha || route == SaveRoute::GifPatch; }
};

inline constexpr int kSaveFormatCount = 16;

// Entry 1..16; nullptr outside that range.
const SaveFormatEntry* SaveFormatAt(int index);
// By the command-line tool's short name ("bmp8rle", "tpng", ...); nullptr when unknown.
const SaveFormatEntry* SaveFormatNamed(std::string_view shortName);

// The dialog's filters in entry order.
std::vector<FileFilter> SaveFormatFilters();

// The open dialog's filters: all supported images, then each format.
std::vector<FileFilter> OpenFormatFilters();

// The plain bitmap entry that matches an opened BMP's header (7 for anything unusual).
int BitmapEntryFor(const BmpFormat& format);

// The entry a save-as command (cmd::ID_AS_...) selects when the dialog opens.
// 0 for a command that is not a save-as command.
int InitialSaveEntry(int command, const BmpFormat& source);

}  // namespace palvex
