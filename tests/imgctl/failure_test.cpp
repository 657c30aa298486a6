// The result codes for failures that valid input never meets: memory that
// runs out (IMGCTL_ERR_MEMORY) and an encoder or the colour quantiser
// refusing its work (IMGCTL_ERR_CODEC). This program stands in for both: it
// replaces the global operator new with one that can refuse large requests,
// and it puts its own libimagequant and libjpeg entry points before the
// libraries' ones (the dynamic linker binds libimgctl.so to the program's
// definitions first), refusing when asked and calling the real ones
// otherwise. Every case also checks that the stand-in was reached, so a
// build where it is not cannot pass unnoticed.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jerror.h>
#include <jpeglib.h>
#include <libimagequant.h>

#include "imgctl.h"
#include "support.h"

using namespace imgctl_test;

namespace {

std::atomic<size_t> allocationLimit{SIZE_MAX};
std::atomic<int> refusedAllocations{0};
std::atomic<bool> quantiserRefuses{false};
std::atomic<int> quantiserRefusals{0};
std::atomic<bool> jpegRefuses{false};
std::atomic<int> jpegRefusals{0};

// While alive, every request for more than `bytes` bytes fails.
class AllocationLimit {
public:
    explicit AllocationLimit(size_t bytes) { allocationLimit = bytes; }
    ~AllocationLimit() { allocationLimit = SIZE_MAX; }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

// While alive, the flag is set.
class Refusing {
public:
    explicit Refusing(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
    ~Refusing() { flag_ = false; }
    Refusing(const Refusing&) = delete;
    Refusing& operator=(const Refusing&) = delete;

private:
    std::atomic<bool>& flag_;
};

// The stand-ins must be seen from outside the program, which is built with
// hidden symbols.
#define STAND_IN __attribute__((visibility("default")))

template <class F>
F realFunction(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Loaded {
    Loaded(const ScratchDir& dir, const Picture& p, const std::string& name, bool reduce) {
        writeFile(dir.file(name), bmp24(p));
        handle = ToDIB(dir.file(name).c_str());
        EXPECT_NE(handle, 0);
        if (reduce) {
            EXPECT_EQ(DIBto8Bit(handle, 0, 0), IMGCTL_OK);
        }
    }
    ~Loaded() { DeleteDIB(handle); }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    int handle = 0;
};

int bitsOf(int handle) {
    int bits = 0;
    DIBInfo(handle, nullptr, nullptr, &bits);
    return bits;
}

int colorref(Color c) { return c.r | c.g << 8 | c.b << 16; }

}  // namespace

// Every form of the plain operators allocates with malloc and releases with
// free, so that no memory passes between this pair and another's. Not
// inlined: the compiler would otherwise see malloc'ed memory released by a
// delete expression and warn of a mismatch that is none.
namespace {

void* allocate(std::size_t size) {
    if (size > allocationLimit.load()) {
        ++refusedAllocations;
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}

}  // namespace

__attribute__((noinline)) void* operator new(std::size_t size) { return allocateOrThrow(size); }
__attribute__((noinline)) void* operator new[](std::size_t size) { return allocateOrThrow(size); }
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

// The quantiser finds no palette good enough.
extern "C" STAND_IN liq_error liq_image_quantize(liq_image* image, liq_attr* attr, liq_result** result) {
    if (quantiserRefuses) {
        ++quantiserRefusals;
        return LIQ_QUALITY_TOO_LOW;
    }
    using Fn = liq_error (*)(liq_image*, liq_attr*, liq_result**);
    static const Fn real = realFunction<Fn>("liq_image_quantize");
    return real(image, attr, result);
}

// The compressor refuses the picture through its error handler, as it does
// for a picture beyond its largest size.
extern "C" STAND_IN void jpeg_start_compress(j_compress_ptr cinfo, boolean writeAllTables) {
    if (jpegRefuses) {
        ++jpegRefusals;
        cinfo->err->msg_code = JERR_IMAGE_TOO_BIG;
        cinfo->err->msg_parm.i[0] = int(JPEG_MAX_DIMENSION);
        (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
    }
    using Fn = void (*)(j_compress_ptr, boolean);
    static const Fn real = realFunction<Fn>("jpeg_start_compress");
    real(cinfo, writeAllTables);
}

// Memory that runs out gives IMGCTL_ERR_MEMORY; the bitmap stays as it was
// and no file is written. With memory again the same calls succeed.
TEST(ImgctlFailures, MemoryThatRunsOutIsReportedAndChangesNothing) {
    ScratchDir dir;
    const Picture p = gradient(400, 300);  // 120 000 pixels, many colours
    Loaded full(dir, p, "full.bmp", false), reduced(dir, p, "reduced.bmp", true);
    FrameRecord frames[3] = {};
    for (FrameRecord& f : frames) {
        f.flags = IMGCTL_FRAME_STANDARD;
        f.delay = 10;
        f.dib = reduced.handle;
    }
    const GifAnimeHeader header{IMGCTL_ANIME_HEADER_TAG, {}, 0, 0};
    const std::string gif = dir.file("out.gif"), jpg = dir.file("out.jpg"), anim = dir.file("anim.gif");
    const std::vector<std::string> before = dir.entries();

    struct Case {
        const char* name;
        int (*call)(const std::string&, int full, int reduced, const FrameRecord*, const GifAnimeHeader*);
        const std::string* output;
    };
    const Case cases[] = {
        {"DIBto8Bit nearest", [](const std::string&, int f, int, const FrameRecord*, const GifAnimeHeader*) {
             return DIBto8Bit(f, 0, IMGCTL_QUANT_NEAREST);
         }, nullptr},
        {"DIBto8Bit dithered", [](const std::string&, int f, int, const FrameRecord*, const GifAnimeHeader*) {
             return DIBto8Bit(f, 0, IMGCTL_QUANT_DITHER);
         }, nullptr},
        {"DIBtoGIFex", [](const std::string& out, int, int r, const FrameRecord*, const GifAnimeHeader*) {
             return DIBtoGIFex(out.c_str(), r, nullptr);
         }, &gif},
        {"DIBtoJPG", [](const std::string& out, int f, int, const FrameRecord*, const GifAnimeHeader*) {
             return DIBtoJPG(out.c_str(), f, 90, 0);
         }, &jpg},
        {"DIBtoGIFAniEx", [](const std::string& out, int, int, const FrameRecord* fr, const GifAnimeHeader* h) {
             return DIBtoGIFAniEx(out.c_str(), fr, 3, h);
         }, &anim},
    };
    for (const Case& c : cases) {
        const std::string out = c.output != nullptr ? *c.output : std::string();
        const int refusedBefore = refusedAllocations;
        int result = 0;
        {
            const AllocationLimit limit(16 * 1024);  // far below what 120 000 pixels need
            result = c.call(out, full.handle, reduced.handle, frames, &header);
        }
        EXPECT_EQ(result, IMGCTL_ERR_MEMORY) << c.name;
        EXPECT_GT(refusedAllocations.load(), refusedBefore) << c.name << ": the limit was not reached";
        EXPECT_EQ(dir.entries(), before) << c.name;
        EXPECT_EQ(bitsOf(full.handle), 24) << c.name;
        EXPECT_EQ(PixelDIB(full.handle, 399, 299), colorref(p.at(399, 299))) << c.name;
    }
    for (const Case& c : cases) {
        if (c.output == nullptr) continue;
        EXPECT_EQ(c.call(*c.output, full.handle, reduced.handle, frames, &header), IMGCTL_OK) << c.name;
        EXPECT_GT(readFile(*c.output).size(), 0u) << c.name;
    }
    EXPECT_EQ(DIBto8Bit(full.handle, 0, 0), IMGCTL_OK);
    EXPECT_EQ(bitsOf(full.handle), 8);
}

// The dithering quantiser refusing the picture gives IMGCTL_ERR_CODEC and
// leaves the bitmap as it was; the nearest-colour reduction does not use it.
TEST(ImgctlFailures, QuantiserRefusalIsACodecError) {
    ScratchDir dir;
    const Picture p = gradient(120, 80);
    Loaded img(dir, p, "in.bmp", false);
    const int refusalsBefore = quantiserRefusals;
    {
        const Refusing refuse(quantiserRefuses);
        EXPECT_EQ(DIBto8Bit(img.handle, 0, IMGCTL_QUANT_DITHER), IMGCTL_ERR_CODEC);
        EXPECT_EQ(quantiserRefusals.load(), refusalsBefore + 1) << "the stand-in was not reached";
        EXPECT_EQ(bitsOf(img.handle), 24);
        EXPECT_EQ(PixelDIB(img.handle, 119, 79), colorref(p.at(119, 79)));
        EXPECT_EQ(DIBto8Bit(img.handle, 0, IMGCTL_QUANT_NEAREST), IMGCTL_OK);
    }
    EXPECT_EQ(bitsOf(img.handle), 8);
}

// The JPEG compressor refusing the picture gives IMGCTL_ERR_CODEC; the file
// already at the path is kept and nothing else is left in the folder.
TEST(ImgctlFailures, JpegRefusalIsACodecErrorAndKeepsTheOldFile) {
    ScratchDir dir;
    Loaded img(dir, gradient(64, 48), "in.bmp", false);
    const std::string path = dir.file("out.jpg");
    writeFile(path, {'o', 'l', 'd'});
    const std::vector<std::string> before = dir.entries();
    const int refusalsBefore = jpegRefusals;
    {
        const Refusing refuse(jpegRefuses);
        for (const int progressive : {0, 1})
            EXPECT_EQ(DIBtoJPG(path.c_str(), img.handle, 90, progressive), IMGCTL_ERR_CODEC) << progressive;
    }
    EXPECT_EQ(jpegRefusals.load(), refusalsBefore + 2) << "the stand-in was not reached";
    EXPECT_EQ(readFile(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(dir.entries(), before);
    EXPECT_EQ(DIBtoJPG(path.c_str(), img.handle, 90, 0), IMGCTL_OK);
    EXPECT_TRUE(decodeJpeg(path).ok);
}
