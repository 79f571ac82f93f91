// Loading (decode, scans, flattening) beside the bare library decode of the same file.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include <benchmark/benchmark.h>

#include "base/prompter.h"
#include "image/file_bytes.h"
#include "image/image_loader.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Photo-like content: smooth gradients with noise, an opaque disc on a transparent background
// with a soft edge, so that the loader's scans and flattening all have work to do.
std::vector<std::uint8_t> MakeRgba() {
    std::vector<std::uint8_t> rgba(std::size_t{kWidth} * kHeight * 4);
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28);
            std::uint8_t* p = &rgba[(std::size_t{static_cast<std::size_t>(y)} * kWidth + x) * 4];
            p[0] = static_cast<std::uint8_t>((x * 255 / kWidth + noise) & 0xFF);
            p[1] = static_cast<std::uint8_t>((y * 255 / kHeight + noise) & 0xFF);
            p[2] = static_cast<std::uint8_t>(((x + y) / 40 + noise) & 0xFF);
            const double dx = (x - kWidth / 2.0) / (kWidth * 0.45);
            const double dy = (y - kHeight / 2.0) / (kHeight * 0.45);
            const double d = dx * dx + dy * dy;
            p[3] = d < 0.95 ? 255 : d > 1.0 ? 0 : static_cast<std::uint8_t>((1.0 - d) / 0.05 * 255);
        }
    }
    return rgba;
}

std::filesystem::path WritePng(const std::vector<std::uint8_t>& rgba) {
    const auto path = std::filesystem::temp_directory_path() / "palvex-bench.png";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGBA;
    png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
    return path;
}

std::filesystem::path WriteJpeg(const std::vector<std::uint8_t>& rgba) {
    const auto path = std::filesystem::temp_directory_path() / "palvex-bench.jpeg";
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    FILE* out = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgba[std::size_t{cinfo.next_scanline} * kWidth * 4]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
    return path;
}

struct Files {
    std::filesystem::path png;
    std::filesystem::path jpeg;
};

const Files& BenchFiles() {
    static const Files files = [] {
        const auto rgba = MakeRgba();
        return Files{WritePng(rgba), WriteJpeg(rgba)};
    }();
    return files;
}

// The bare decodes: read the file and decode it into newly allocated 32-bit rows with the
// library's own API, nothing else. A fresh buffer each time, as a loader needs one.
struct PngBare {
    const palvex::FileBytes* file;
    std::size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t size) {
    auto* source = static_cast<PngBare*>(png_get_io_ptr(png));
    std::memcpy(out, source->file->bytes.Data() + source->offset, size);
    source->offset += size;
}

std::unique_ptr<std::uint8_t[]> BareDecodePng(const std::filesystem::path& path) {
    const palvex::FileBytes file = palvex::ReadWholeFile(path);
    PngBare source{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &source, ReadFromMemory);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    png_set_bgr(png);
    png_read_update_info(png, info);
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[std::size_t{width} * height * 4]);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = pixels.get() + std::size_t{y} * width * 4;
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

std::unique_ptr<std::uint8_t[]> BareDecodeJpeg(const std::filesystem::path& path) {
    const palvex::FileBytes file = palvex::ReadWholeFile(path);
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.bytes.Data(), file.bytes.Size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t{cinfo.output_width} * 4;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[stride * cinfo.output_height]);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.get() + std::size_t{cinfo.output_scanline} * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

void Load(benchmark::State& state, const std::filesystem::path& path) {
    palvex::SilentPrompter prompter;
    for (auto _ : state) {
        palvex::LoadResult result = palvex::LoadImageFile(path, 1, prompter);
        if (!result.ok) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(result.image.Data());
    }
}

void BM_LoadPngRgba(benchmark::State& state) {
    Load(state, BenchFiles().png);
}
void BM_BareDecodePngRgba(benchmark::State& state) {
    const auto& path = BenchFiles().png;  // made once, before any timing
    for (auto _ : state) {
        benchmark::DoNotOptimize(BareDecodePng(path).get());
    }
}
void BM_LoadJpeg(benchmark::State& state) {
    Load(state, BenchFiles().jpeg);
}
void BM_BareDecodeJpeg(benchmark::State& state) {
    const auto& path = BenchFiles().jpeg;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BareDecodeJpeg(path).get());
    }
}

BENCHMARK(BM_BareDecodePngRgba)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadPngRgba)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_BareDecodeJpeg)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
