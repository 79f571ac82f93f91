#include "image/save_format.h"

#include <array>

#include "resources/command_ids.h"
#include "resources/texts.h"

namespace palvex {
namespace {

constexpr std::array<SaveFormatEntry, kSaveFormatCount> kEntries = {{
    {1, "*.bmp", SaveRoute::Bitmap, 1, 0, "bmp1"},
    {2, "*.bmp", SaveRoute::Bitmap, 4, 0, "bmp4"},
    {3, "*.bmp", SaveRoute::Bitmap, 4, 2, "bmp4rle"},
    {4, "*.bmp", SaveRoute::Bitmap, 8, 0, "bmp8"},
    {5, "*.bmp", SaveRoute::Bitmap, 8, 1, "bmp8rle"},
    {6, "*.bmp", SaveRoute::Bitmap, 16, 3, "bmp16"},
    {7, "*.bmp", SaveRoute::Bitmap, 24, 0, "bmp24"},
    {8, "*.bmp", SaveRoute::Bitmap, 32, 3, "bmp32"},
    {9, "*.jpeg", SaveRoute::Opaque, 0, 0, "jpeg"},
    {10, "*.gif", SaveRoute::Opaque, 0, 0, "gif"},
    {11, "*.png", SaveRoute::Opaque, 0, 0, "png"},
    {12, "*.tiff", SaveRoute::Opaque, 0, 0, "tiff"},
    {13, "*.bmp", SaveRoute::Alpha, 0, 0, "tbmp"},
    {14, "*.gif", SaveRoute::GifPatch, 0, 0, "tgif"},
    {15, "*.png", SaveRoute::Alpha, 0, 0, "tpng"},
    {16, "*.tiff", SaveRoute::Alpha, 0, 0, "ttiff"},
}};

}  // namespace

const SaveFormatEntry* SaveFormatAt(int index) {
    return index >= 1 && index <= kSaveFormatCount ? &kEntries[index - 1] : nullptr;
}

const SaveFormatEntry* SaveFormatNamed(std::string_view shortName) {
    for (const SaveFormatEntry& entry : kEntries) {
        if (entry.shortName == shortName) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<FileFilter> SaveFormatFilters() {
    std::vector<FileFilter> filters;
    for (const SaveFormatEntry& entry : kEntries) {
        filters.push_back(
            {std::string(texts::kSaveFormatLabels[entry.index - 1]), std::string(entry.pattern)});
    }
    return filters;
}

std::vector<FileFilter> OpenFormatFilters() {
    std::vector<FileFilter> filters;
    for (const texts::FilterText& filter : texts::kOpenFilters) {
        filters.push_back({std::string(filter.label), std::string(filter.patterns)});
    }
    return filters;
}

int BitmapEntryFor(const BmpFormat& format) {
    switch (format.bitCount) {
        case 1:
            return 1;
        case 4:
            return format.compression == 2 ? 3 : 2;
        case 8:
            return format.compression == 1 ? 5 : 4;
        case 16:
            return 6;
        case 32:
            return 8;
        default:
            return 7;
    }
}

int InitialSaveEntry(int command, const BmpFormat& source) {
    const bool wasBmp = source.bitCount != 0;
    switch (command) {
        case cmd::ID_AS_NORMAL:
            return wasBmp ? BitmapEntryFor(source) : 9;
        case cmd::ID_AS_JPEG:
            return 9;
        case cmd::ID_AS_BMP:
            return BitmapEntryFor(source);
        case cmd::ID_AS_GIF:
            return 10;
        case cmd::ID_AS_PNG:
            return 11;
        case cmd::ID_AS_TIFF:
            return 12;
        case cmd::ID_AS_ALPHA:
            return wasBmp ? 13 : 15;
        case cmd::ID_AS_A_BMP:
            return 13;
        case cmd::ID_AS_A_GIF:
            return 14;
        case cmd::ID_AS_A_PNG:
            return 15;
        case cmd::ID_AS_A_TIFF:
            return 16;
        default:
            return 0;
    }
}

}  // namespace palvex
