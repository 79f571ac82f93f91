#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "image/image_saver.h"

namespace palvex {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForUpdate(const std::filesystem::path& path) {
#if defined(_WIN32)
    return FilePtr(::_wfopen(path.c_str(), L"r+b"));
#else
    return FilePtr(std::fopen(path.c_str(), "r+b"));
#endif
}

bool ReadAt(std::FILE* file, long offset, void* data, std::size_t size) {
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fread(data, 1, size, file) == size;
}

bool WriteAt(std::FILE* file, long offset, const void* data, std::size_t size) {
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fwrite(data, 1, size, file) == size;
}

}  // namespace

bool PatchGifTransparency(const std::filesystem::path& path, Colour key) {
    FilePtr file = OpenForUpdate(path);
    if (!file) {
        return false;
    }
    std::uint8_t packed = 0;
    if (!ReadAt(file.get(), 10, &packed, 1)) {
        return false;
    }
    long tableAt = 13;
    long tableBytes = 0;  // T: the global table's length, which shifts the extension
    int entries = 0;
    if (packed & 0x80) {
        entries = 1 << ((packed & 7) + 1);
        tableBytes = 3L * entries;
    } else {
        std::uint8_t local = 0;
        if (!ReadAt(file.get(), 30, &local, 1) || !(local & 0x80)) {
            return false;
        }
        entries = 1 << ((local & 7) + 1);
        tableAt = 31;
    }
    std::array<std::uint8_t, 3 * 256> table{};
    if (!ReadAt(file.get(), tableAt, table.data(), 3 * static_cast<std::size_t>(entries))) {
        return false;
    }
    // The nearest entry by the sum of channel distances; a later entry wins only when nearer.
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < entries; ++i) {
        const int d = std::abs(table[3 * i] - RedOf(key)) +
                      std::abs(table[3 * i + 1] - GreenOf(key)) +
                      std::abs(table[3 * i + 2] - BlueOf(key));
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    std::uint8_t control = 0;
    if (!ReadAt(file.get(), tableBytes + 16, &control, 1)) {
        return false;
    }
    control |= 1;
    const auto index = static_cast<std::uint8_t>(best);
    return WriteAt(file.get(), tableBytes + 16, &control, 1) &&
           WriteAt(file.get(), tableBytes + 19, &index, 1) && std::fflush(file.get()) == 0;
}

}  // namespace palvex
