#include "png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

namespace imgctl {
namespace {

struct Sink {
    std::vector<uint8_t>* out;
};

void writeToSink(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    sink->out->insert(sink->out->end(), data, data + length);
}

void flushSink(png_structp) {}

void quietWarning(png_structp, png_const_charp) {}

// One encoding with the given row filters and zlib strategy. The rows are
// prepared by the caller; libpng reports errors through longjmp, so nothing
// with a destructor is created after setjmp.
bool encodeOnce(const std::vector<png_bytep>& rows, int width, int height, int filters, int strategy,
                std::vector<uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    Sink sink{&out};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, writeToSink, flushSink);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_compression_level(png, Z_BEST_COMPRESSION);
    png_set_compression_mem_level(png, 9);
    png_set_compression_strategy(png, strategy);
    png_set_compression_window_bits(png, 15);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

EncodeStatus encodePng(const RgbaView& picture, std::vector<uint8_t>& out) {
    const int w = picture.width;
    const int h = picture.height;
    const size_t rowBytes = 4 * static_cast<size_t>(w);
    std::vector<uint8_t> pixels(rowBytes * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = pixels.data() + rowBytes * static_cast<size_t>(y);
        std::memcpy(dst, picture.row(y), rowBytes);
        for (size_t i = 0; i < rowBytes; i += 4) {
            if (dst[i + 3] == 0) dst[i] = dst[i + 1] = dst[i + 2] = 0;
        }
    }
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) rows[static_cast<size_t>(y)] = pixels.data() + rowBytes * static_cast<size_t>(y);

    // Adaptive filtering with the default strategy is what most writers use
    // at their best setting; text art with large flat areas often packs
    // better unfiltered or with one fixed filter, so those are tried too.
    struct Choice {
        int filters;
        int strategy;
    };
    constexpr Choice kChoices[] = {
        {PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY}, {PNG_ALL_FILTERS, Z_FILTERED},     {PNG_FILTER_NONE, Z_DEFAULT_STRATEGY},
        {PNG_FILTER_SUB, Z_DEFAULT_STRATEGY},  {PNG_FILTER_UP, Z_DEFAULT_STRATEGY}, {PNG_FILTER_PAETH, Z_DEFAULT_STRATEGY},
        {PNG_FILTER_PAETH, Z_FILTERED},
    };
    out.clear();
    bool any = false;
    std::vector<uint8_t> attempt;
    for (const Choice& choice : kChoices) {
        attempt.clear();
        if (!encodeOnce(rows, w, h, choice.filters, choice.strategy, attempt)) continue;
        if (!any || attempt.size() < out.size()) out.swap(attempt);
        any = true;
    }
    return any ? EncodeStatus::Ok : EncodeStatus::Failed;
}

}  // namespace imgctl
