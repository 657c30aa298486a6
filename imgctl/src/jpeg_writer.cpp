#include "jpeg_writer.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <csetjmp>
#include <cstdlib>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

namespace imgctl {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first member: libjpeg passes a pointer to it
    std::jmp_buf jump;
    bool outOfMemory;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->outOfMemory = err->base.msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings are not printed

// Destination growing a malloc'd buffer that stays owned by the caller, so
// that it is released whatever way compression ends.
struct GrowingDestination {
    jpeg_destination_mgr base;  // first member: libjpeg passes a pointer to it
    unsigned char* data;
    size_t capacity;
    size_t size;
};

void growBy(j_compress_ptr cinfo, size_t used) {
    auto* d = reinterpret_cast<GrowingDestination*>(cinfo->dest);
    const size_t capacity = d->capacity == 0 ? size_t{1} << 16 : d->capacity * 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(d->data, capacity));
    if (grown == nullptr) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    d->data = grown;
    d->capacity = capacity;
    d->base.next_output_byte = grown + used;
    d->base.free_in_buffer = capacity - used;
}

void initDestination(j_compress_ptr cinfo) { growBy(cinfo, 0); }

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<GrowingDestination*>(cinfo->dest);
    growBy(cinfo, d->capacity);  // libjpeg calls this only with the buffer full
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<GrowingDestination*>(cinfo->dest);
    d->size = d->capacity - d->base.free_in_buffer;
}

// Runs the compressor over rgbRows (top-down, 3 bytes a pixel). Holds no
// objects with destructors, so that a longjmp out of libjpeg is safe.
// Returns 0 on success, 1 on out of memory, 2 on any other failure; on
// success dest->data holds dest->size bytes. The caller frees dest->data in
// every case.
int compress(const uint8_t* rgb, int width, int height, int quality, bool progressive,
             GrowingDestination* dest) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
    err.outOfMemory = false;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return err.outOfMemory ? 1 : 2;
    }
    jpeg_create_compress(&cinfo);
    dest->base.init_destination = initDestination;
    dest->base.empty_output_buffer = emptyOutputBuffer;
    dest->base.term_destination = termDestination;
    cinfo.dest = &dest->base;
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

}  // namespace

EncodeStatus encodeJpeg(const Bitmap& bitmap, int quality, bool progressive,
                        std::vector<uint8_t>& out) {
    try {
        std::vector<uint8_t> rgb(bitmap.pixelCount() * 3);
        for (size_t i = 0; i < bitmap.pixelCount(); ++i) {
            const Rgb c = bitmap.colorAt(i);
            rgb[i * 3 + 0] = c.r;
            rgb[i * 3 + 1] = c.g;
            rgb[i * 3 + 2] = c.b;
        }
        GrowingDestination dest{};
        const int r = compress(rgb.data(), bitmap.width, bitmap.height, quality, progressive, &dest);
        struct Free {
            GrowingDestination& d;
            ~Free() { std::free(d.data); }
        } release{dest};
        if (r == 1) return EncodeStatus::OutOfMemory;
        if (r != 0 || dest.data == nullptr) return EncodeStatus::Failed;
        out.assign(dest.data, dest.data + dest.size);
        return EncodeStatus::Ok;
    } catch (const std::bad_alloc&) {
        return EncodeStatus::OutOfMemory;
    }
}

}  // namespace imgctl
