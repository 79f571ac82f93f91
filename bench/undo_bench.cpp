#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include <png.h>

#include <benchmark/benchmark.h>

#include "base/prompter.h"
#include "base/work_folder.h"
#include "bench/bench_images.h"
#include "image/bitmap.h"
#include "image/image_loader.h"
#include "image/raster/key_run_record.h"
#include "undo/comp_sub.h"
#include "undo/undo_history.h"

// A whole-image snapshot of a 6000 x 4000 photo-like image. Each benchmark times its reference
// in the same iteration, right beside the operation, and reports the ratio of the two sums
// (x_memcpy, x_raw_write, x_raw_read): on a shared machine only such pairs are comparable. The
// time shown is the operation's own.

namespace palvex {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::filesystem::path BenchRoot() {
    const auto root = WorkFolder::SystemTempPath() / "palvex-bench-undo";
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    return root;
}

const Bitmap& Photo() {
    return bench::PhotoLikeImage();
}

double ImageBytes() {
    return static_cast<double>(Photo().ByteCount());
}

// The image under edit (a copy of the photo), its history and work folder.
struct Editing {
    Editing() {
        if (state.WorkImage.Create(Photo().Width(), Photo().Height())) {
            (void)CopyBitmapBits(Photo(), state.WorkImage);
        }
        state.width = Photo().Width();
        state.height = Photo().Height();
        folderPath = folder.GetWorkFolder({}, prompter);
    }
    std::filesystem::path NewestFile() const {
        const auto step = history.NewestUndoStep();
        return step ? step->path : std::filesystem::path();
    }

    SilentPrompter prompter;
    WorkFolder folder{BenchRoot()};
    std::filesystem::path folderPath;
    ImageState state;
    UndoHistory history{state, folder, prompter};
};

bool WriteRaw(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok =
        std::fwrite(Photo().Data(), 1, Photo().ByteCount(), file) == Photo().ByteCount();
    return std::fclose(file) == 0 && ok;
}

bool ReadRaw(const std::filesystem::path& path, std::vector<Pixel>& to) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fread(to.data(), 1, Photo().ByteCount(), file) == Photo().ByteCount();
    std::fclose(file);
    return ok;
}

// Between timed pushes: the last write done, and a history with one small step, as during
// editing (so that no cleanup runs in the timed push).
void FreshHistory(Editing& edit) {
    edit.history.WaitForWrites();
    edit.history.Reset();
    (void)edit.history.PushSnapshot(SnapshotKind::Image, {0, 0, 8, 8});
}

// How long PushSnapshot holds its caller (the file is finished on the background thread),
// beside a memcpy of the image into memory already in use.
void BM_UndoPushWholeCaller(benchmark::State& state) {
    Editing edit;
    std::vector<Pixel> copy(Photo().PixelCount(), 0);
    double reference = 0;
    double total = 0;
    for (auto _ : state) {
        FreshHistory(edit);
        auto start = Clock::now();
        std::memcpy(copy.data(), Photo().Data(), Photo().ByteCount());
        benchmark::ClobberMemory();
        reference += Seconds(start);
        start = Clock::now();
        const bool ok = edit.history.PushSnapshot(SnapshotKind::Image);
        const double took = Seconds(start);
        if (!ok) {
            state.SkipWithError("push failed");
            break;
        }
        total += took;
        state.SetIterationTime(took);
    }
    edit.history.WaitForWrites();
    state.counters["x_memcpy"] = total / reference;
}
BENCHMARK(BM_UndoPushWholeCaller)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

// The complete push (the compressed file written), beside writing the raw bytes to a new file
// of the same folder. Also the file's size against the raw bytes.
void BM_UndoPushWholeComplete(benchmark::State& state) {
    Editing edit;
    const auto raw = edit.folderPath / "raw.bin";
    double reference = 0;
    double total = 0;
    double fileBytes = 0;
    for (auto _ : state) {
        FreshHistory(edit);
        std::error_code ec;
        std::filesystem::remove(raw, ec);
        auto start = Clock::now();
        const bool wrote = WriteRaw(raw);
        reference += Seconds(start);
        start = Clock::now();
        const bool ok = edit.history.PushSnapshot(SnapshotKind::Image);
        edit.history.WaitForWrites();
        const double took = Seconds(start);
        if (!ok || !wrote || edit.history.NewestUndoStep()->inMemory) {
            state.SkipWithError("write failed");
            break;
        }
        total += took;
        state.SetIterationTime(took);
        fileBytes = static_cast<double>(std::filesystem::file_size(edit.NewestFile(), ec));
    }
    std::error_code ec;
    std::filesystem::remove(raw, ec);
    state.counters["x_raw_write"] = total / reference;
    state.counters["file/raw"] = fileBytes / ImageBytes();
}
BENCHMARK(BM_UndoPushWholeComplete)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

// Putting a whole-image snapshot back into the image as an undo does (read, check, expand
// straight into the image), beside reading the raw bytes from a file of the same folder.
void BM_UndoRestoreWhole(benchmark::State& state) {
    Editing edit;
    if (!edit.history.PushSnapshot(SnapshotKind::Image)) {
        state.SkipWithError("push failed");
        return;
    }
    edit.history.WaitForWrites();
    const auto snapshot = edit.NewestFile();
    const auto raw = edit.folderPath / "raw.bin";
    std::vector<Pixel> read(Photo().PixelCount(), 0);
    if (!WriteRaw(raw)) {
        state.SkipWithError("write failed");
        return;
    }
    Bitmap& image = edit.state.WorkImage;
    double reference = 0;
    double total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        const bool readOk = ReadRaw(raw, read);
        reference += Seconds(start);
        start = Clock::now();
        SnapshotReader reader;
        const bool ok = reader.Open(snapshot) == ExpandStatus::Ok &&
                        reader.Read({image.Data(), static_cast<std::size_t>(image.Width()),
                                     image.Bounds()}) == ExpandStatus::Ok;
        const double took = Seconds(start);
        if (!ok || !readOk) {
            state.SkipWithError("read failed");
            break;
        }
        total += took;
        state.SetIterationTime(took);
    }
    std::error_code ec;
    std::filesystem::remove(raw, ec);
    state.counters["x_raw_read"] = total / reference;
}
BENCHMARK(BM_UndoRestoreWhole)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3);

// A whole undo as the user sees it: the redo step of the whole image stored (its file written in
// the background) and the snapshot put back.
void BM_UndoUndoWhole(benchmark::State& state) {
    Editing edit;
    for (auto _ : state) {
        state.PauseTiming();
        edit.history.WaitForWrites();
        edit.history.Reset();
        (void)edit.history.PushSnapshot(SnapshotKind::Image);
        edit.history.WaitForWrites();
        state.ResumeTiming();
        if (!edit.history.Undo()) {
            state.SkipWithError("undo failed");
            break;
        }
    }
    edit.history.WaitForWrites();
}
BENCHMARK(BM_UndoUndoWhole)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The size of a PNG of the same image (24-bit, libpng's default compression), against the raw
// bytes and against a snapshot file.
void BM_UndoPngSize(benchmark::State& state) {
    std::vector<std::uint8_t> rgb(Photo().PixelCount() * 3);
    for (std::size_t i = 0; i < Photo().PixelCount(); ++i) {
        const Colour c = ColourFromPixel(Photo().Data()[i]);
        rgb[i * 3] = static_cast<std::uint8_t>(RedOf(c));
        rgb[i * 3 + 1] = static_cast<std::uint8_t>(GreenOf(c));
        rgb[i * 3 + 2] = static_cast<std::uint8_t>(BlueOf(c));
    }
    png_alloc_size_t size = 0;
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(Photo().Width());
        image.height = static_cast<png_uint_32>(Photo().Height());
        image.format = PNG_FORMAT_RGB;
        size = 0;
        png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr);
    }
    Editing edit;
    double fileBytes = 0;
    if (edit.history.PushSnapshot(SnapshotKind::Image)) {
        edit.history.WaitForWrites();
        std::error_code ec;
        fileBytes = static_cast<double>(std::filesystem::file_size(edit.NewestFile(), ec));
    }
    // A gradient with blocks of the key colour, nearer to what the editor works on.
    Editing keyed;
    double keyedBytes = 0;
    if (CopyBitmapBits(bench::LargeKeyedImage(), keyed.state.WorkImage) &&
        keyed.history.PushSnapshot(SnapshotKind::Image)) {
        keyed.history.WaitForWrites();
        std::error_code ec;
        keyedBytes = static_cast<double>(std::filesystem::file_size(keyed.NewestFile(), ec));
    }
    state.counters["png/raw"] = static_cast<double>(size) / ImageBytes();
    state.counters["file/png"] = fileBytes / static_cast<double>(size);
    state.counters["keyed_file/raw"] = keyedBytes / ImageBytes();
}
BENCHMARK(BM_UndoPngSize)->Unit(benchmark::kMillisecond)->Iterations(1);

// The fill-back's undo record: one scan for where the key is, and writing the key back there,
// each beside a memcpy of the image. Argument 0: a key background around the photo's middle
// ninth, a few runs a row; 1: the photo with no key pixel, the scan alone.
const Bitmap& KeyedPhoto() {
    static const Bitmap image = [] {
        Bitmap b;
        if (b.Create(Photo().Width(), Photo().Height())) {
            const int w = b.Width();
            const int h = b.Height();
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const bool middle = x >= w / 3 && x < 2 * w / 3 && y >= h / 3 && y < 2 * h / 3;
                    b.Row(y)[x] = middle ? Photo().Row(y)[x] : PixelFromColour(Rgb(0, 255, 0));
                }
            }
        }
        return b;
    }();
    return image;
}

// The reference beside each: a memcpy of the image, in seconds.
double TimedCopy(const Bitmap& image, std::vector<Pixel>& copy) {
    const auto start = Clock::now();
    std::memcpy(copy.data(), image.Data(), image.ByteCount());
    benchmark::ClobberMemory();
    return Seconds(start);
}

void BM_KeyRunScan(benchmark::State& state) {
    const Bitmap& image = state.range(0) == 0 ? KeyedPhoto() : Photo();
    std::vector<Pixel> copy(image.PixelCount(), 0);
    double reference = 0;
    double total = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        reference += TimedCopy(image, copy);
        const auto start = Clock::now();
        const KeyRunRecord record(image, Rgb(0, 255, 0));
        const double took = Seconds(start);
        runs = record.RunCount();
        total += took;
        state.SetIterationTime(took);
    }
    state.counters["runs"] = static_cast<double>(runs);
    state.counters["x_memcpy"] = total / reference;
}
BENCHMARK(BM_KeyRunScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_KeyRunWrite(benchmark::State& state) {
    Bitmap image;
    if (!image.Create(KeyedPhoto().Width(), KeyedPhoto().Height()) ||
        !CopyBitmapBits(KeyedPhoto(), image)) {
        state.SkipWithError("no memory");
        return;
    }
    const KeyRunRecord record(image, Rgb(0, 255, 0));
    std::vector<Pixel> copy(image.PixelCount(), 0);
    double reference = 0;
    double total = 0;
    for (auto _ : state) {
        reference += TimedCopy(image, copy);
        const auto start = Clock::now();
        (void)record.Write(image);
        benchmark::ClobberMemory();
        const double took = Seconds(start);
        total += took;
        state.SetIterationTime(took);
    }
    state.counters["x_memcpy"] = total / reference;
}
BENCHMARK(BM_KeyRunWrite)->Unit(benchmark::kMillisecond)->UseManualTime();

// What the fill-back pays for its record when the pass takes the key bits as it reads the image:
// the bits' memory, and the runs made of them (argument 0, as BM_KeyRunScan), or the bits kept
// for a key too ragged for runs (1: every other pixel).
void BM_KeyRunFromBits(benchmark::State& state) {
    Bitmap image;
    if (!image.Create(KeyedPhoto().Width(), KeyedPhoto().Height()) ||
        !CopyBitmapBits(KeyedPhoto(), image)) {
        state.SkipWithError("no memory");
        return;
    }
    if (state.range(0) == 1) {
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = y % 2; x < image.Width(); x += 2) {
                image.Row(y)[x] = PixelFromColour(Rgb(0, 255, 0));
            }
        }
    }
    KeyBits scanned;
    if (!scanned.Reset(image.Width(), image.Height())) {
        state.SkipWithError("no memory");
        return;
    }
    scanned.Scan(image, Rgb(0, 255, 0), 0, image.Width());
    std::vector<Pixel> copy(image.PixelCount(), 0);
    double reference = 0;
    double total = 0;
    bool keepsBits = false;
    for (auto _ : state) {
        reference += TimedCopy(image, copy);
        auto start = Clock::now();
        KeyBits bits;
        if (!bits.Reset(image.Width(), image.Height())) {
            state.SkipWithError("no memory");
            return;
        }
        double took = Seconds(start);
        std::copy(scanned.Data(), scanned.Data() + scanned.WordCount(), bits.Data());  // the pass's
        start = Clock::now();
        const KeyRunRecord record(std::move(bits), Rgb(0, 255, 0));
        took += Seconds(start);
        keepsBits = record.KeepsBits();
        total += took;
        state.SetIterationTime(took);
    }
    state.counters["keeps_bits"] = keepsBits ? 1 : 0;
    state.counters["x_memcpy"] = total / reference;
}
BENCHMARK(BM_KeyRunFromBits)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace palvex
