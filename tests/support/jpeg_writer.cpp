#include "support/jpeg_writer.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace palvex::test {
namespace {

struct WriterErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<WriterErrors*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// Plain pointers only in this frame, as longjmp leaves it.
bool Compress(jpeg_compress_struct* info, WriterErrors* errors, const JpegDescription* desc,
              unsigned char** out, unsigned long* outSize) {
    if (setjmp(errors->jump) != 0) {
        return false;
    }
    jpeg_create_compress(info);
    jpeg_mem_dest(info, out, outSize);
    info->image_width = static_cast<JDIMENSION>(desc->width);
    info->image_height = static_cast<JDIMENSION>(desc->height);
    info->input_components = JpegComponents(desc->colour);
    switch (desc->colour) {
        case JpegColour::Grey:
            info->in_color_space = JCS_GRAYSCALE;
            break;
        case JpegColour::Rgb:
            info->in_color_space = JCS_RGB;
            break;
        case JpegColour::Cmyk:
        case JpegColour::Ycck:
            info->in_color_space = JCS_CMYK;
            break;
    }
    jpeg_set_defaults(info);
    if (desc->colour == JpegColour::Ycck) {
        jpeg_set_colorspace(info, JCS_YCCK);
    } else if (desc->colour == JpegColour::Cmyk) {
        jpeg_set_colorspace(info, JCS_CMYK);
        info->write_Adobe_marker = desc->adobeMarker ? TRUE : FALSE;
    }
    jpeg_set_quality(info, desc->quality, TRUE);
    if (desc->progressive) {
        jpeg_simple_progression(info);
    }
    info->arith_code = desc->arithmetic ? TRUE : FALSE;
    jpeg_start_compress(info, TRUE);
    const std::size_t stride =
        static_cast<std::size_t>(desc->width) * static_cast<std::size_t>(info->input_components);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(desc->samples.data() + stride * info->next_scanline);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

int JpegComponents(JpegColour colour) {
    switch (colour) {
        case JpegColour::Grey:
            return 1;
        case JpegColour::Rgb:
            return 3;
        default:
            return 4;
    }
}

std::vector<std::uint8_t> WriteJpeg(const JpegDescription& desc) {
    const std::size_t expected = static_cast<std::size_t>(desc.width) *
                                 static_cast<std::size_t>(desc.height) *
                                 static_cast<std::size_t>(JpegComponents(desc.colour));
    if (desc.width <= 0 || desc.height <= 0 || desc.samples.size() != expected) {
        return {};
    }
    jpeg_compress_struct info{};
    WriterErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnError;
    errors.manager.output_message = Silent;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool ok = Compress(&info, &errors, &desc, &out, &outSize);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes;
    if (ok && out != nullptr) {
        bytes.assign(out, out + outSize);
    }
    std::free(out);
    return bytes;
}

}  // namespace palvex::test
