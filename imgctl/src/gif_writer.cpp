#include "gif_writer.h"

#include <algorithm>
#include <array>
#include <new>
#include <unordered_map>

#include "gif_format.h"
#include "lzw_encoder.h"
#include "parallel_for.h"
#include "shared_palette.h"

namespace imgctl {
namespace {

uint32_t packed(const Rgb& c) { return uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16; }
Rgb unpacked(uint32_t c) { return {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)}; }

// The colour each palette entry shows, packed, so that pixels of two frames
// compare with one look-up each.
using ColorLut = std::array<uint32_t, 256>;
ColorLut colorLut(const Bitmap& b) {
    ColorLut lut{};
    for (size_t i = 0; i < b.palette.size(); ++i) lut[i] = packed(b.palette[i]);
    return lut;
}

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    size_t area() const { return size_t(width) * size_t(height); }
};

// How one frame of an optimised animation is written.
struct FramePlan {
    Rect rect;
    // The rectangle holds pixels that did not change since the previous
    // frame; they may be written transparent.
    bool overPrevious = false;
    FrameColors colors;  // the distinct colours written
    int disposal = 0;
};

// Collects the distinct colours of palette entries.
class ColorList {
public:
    explicit ColorList(FrameColors& target) : target_(target) { seen_.fill(false); }
    void addEntry(const ColorLut& lut, uint8_t entry) {
        if (seen_[entry]) return;
        seen_[entry] = true;
        const uint32_t c = lut[entry];
        if (std::find(target_.colors.begin(), target_.colors.end(), c) == target_.colors.end())
            target_.colors.push_back(c);
    }

private:
    FrameColors& target_;
    std::array<bool, 256> seen_;
};

// A frame written whole, as given: its pixels' colours, its transparent
// entry apart.
FramePlan planWholeFrame(const AnimationFrame& f) {
    const Bitmap& b = *f.bitmap;
    FramePlan plan;
    plan.rect = {0, 0, b.width, b.height};
    plan.disposal = f.disposal;
    plan.colors.needsTransparent = f.transparentIndex >= 0;
    const ColorLut lut = colorLut(b);
    ColorList list(plan.colors);
    for (const uint8_t e : b.indices)
        if (e != f.transparentIndex) list.addEntry(lut, e);
    return plan;
}

// A frame after the first of an opaque animation of one size: the bounding
// rectangle of the pixels whose colour changed (one pixel when none did),
// with the colours of the changed pixels and an index for the unchanged
// ones; when the changed pixels use all 256 colours, the rectangle is
// written with its own colours.
FramePlan planChangedRect(const Bitmap& prev, const Bitmap& cur) {
    const ColorLut before = colorLut(prev), now = colorLut(cur);
    FramePlan plan;
    plan.disposal = 1;  // every frame builds on the one before
    int minX = cur.width, minY = cur.height, maxX = -1, maxY = -1;
    size_t changed = 0;
    std::array<bool, 256> seen{};
    for (int y = 0; y < cur.height; ++y) {
        const size_t row = size_t(y) * size_t(cur.width);
        const uint8_t* p = prev.indices.data() + row;
        const uint8_t* c = cur.indices.data() + row;
        int first = -1, last = -1;
        for (int x = 0; x < cur.width; ++x) {
            if (before[p[x]] == now[c[x]]) continue;
            ++changed;
            seen[c[x]] = true;
            if (first < 0) first = x;
            last = x;
        }
        if (first < 0) continue;
        minX = std::min(minX, first);
        maxX = std::max(maxX, last);
        minY = std::min(minY, y);
        maxY = y;
    }
    plan.rect = maxX < 0 ? Rect{0, 0, 1, 1} : Rect{minX, minY, maxX - minX + 1, maxY - minY + 1};
    plan.overPrevious = changed < plan.rect.area();
    ColorList list(plan.colors);
    for (size_t e = 0; e < seen.size(); ++e)
        if (seen[e]) list.addEntry(now, uint8_t(e));
    if (plan.overPrevious && plan.colors.colors.size() >= 256) {
        // No index is left for the unchanged pixels: the rectangle is
        // written with its own colours.
        plan.overPrevious = false;
        for (int y = plan.rect.top; y < plan.rect.top + plan.rect.height; ++y)
            for (int x = plan.rect.left; x < plan.rect.left + plan.rect.width; ++x)
                list.addEntry(now, cur.indices[size_t(y) * size_t(cur.width) + size_t(x)]);
    }
    plan.colors.needsTransparent = plan.overPrevious;
    return plan;
}

// The indices one image block is written with, in a colour table.
struct BlockIndices {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> unchanged;  // empty, or per pixel: may be written transparent
    int transparent = -1;
    int largestIndex = 0;
};

// The block of frame f (and, over the previous frame, of prev) in a table
// that maps packed colours to indices.
BlockIndices blockIndices(const AnimationFrame& f, const Bitmap* prev, const FramePlan& plan,
                          const std::unordered_map<uint32_t, int>& indexOf, int transparent) {
    const Bitmap& b = *f.bitmap;
    const ColorLut now = colorLut(b);
    const ColorLut before = prev != nullptr ? colorLut(*prev) : ColorLut{};
    // Table index of every palette entry, or the transparent index for
    // entries whose colour is not in the table.
    std::array<int, 256> entryIndex;
    for (size_t e = 0; e < 256; ++e) {
        const auto it = e < b.palette.size() ? indexOf.find(now[e]) : indexOf.end();
        entryIndex[e] = it != indexOf.end() ? it->second : transparent;
    }
    if (f.transparentIndex >= 0 && !plan.overPrevious) entryIndex[size_t(f.transparentIndex)] = transparent;

    BlockIndices out;
    out.transparent = transparent;
    out.pixels.resize(plan.rect.area());
    if (plan.overPrevious) out.unchanged.assign(out.pixels.size(), 0);
    int largest = std::max(transparent, 0);
    size_t k = 0;
    for (int y = plan.rect.top; y < plan.rect.top + plan.rect.height; ++y) {
        const size_t row = size_t(y) * size_t(b.width);
        for (int x = plan.rect.left; x < plan.rect.left + plan.rect.width; ++x, ++k) {
            const size_t i = row + size_t(x);
            const int index = entryIndex[b.indices[i]];
            out.pixels[k] = uint8_t(index);
            largest = std::max(largest, index);
            if (plan.overPrevious && before[prev->indices[i]] == now[b.indices[i]]) out.unchanged[k] = 1;
        }
    }
    out.largestIndex = largest;
    return out;
}

// The graphic control extension, image descriptor and data of one block.
void appendBlock(std::vector<uint8_t>& out, const FramePlan& plan, int delay, const BlockIndices& block,
                 const std::vector<Rgb>* localTable) {
    appendGraphicControl(out, plan.disposal, delay, block.transparent);
    appendImageDescriptor(out, plan.rect.left, plan.rect.top, plan.rect.width, plan.rect.height, localTable);
    LzwImage image;
    image.indices = block.pixels;
    image.minCodeSize = lzwCodeSizeFor(block.largestIndex + 1);
    image.mayBeTransparent = block.unchanged;
    image.transparent = block.transparent;
    image.keepTablesThatPay = true;
    appendLzwImageData(image, out);
}

// Frame f with its own table of the colours it uses.
std::vector<uint8_t> encodeWithLocalTable(const AnimationFrame& f, const Bitmap* prev, const FramePlan& plan) {
    std::unordered_map<uint32_t, int> indexOf;
    std::vector<Rgb> table;
    for (const uint32_t c : plan.colors.colors) {
        indexOf.emplace(c, int(table.size()));
        table.push_back(unpacked(c));
    }
    const int transparent = plan.colors.needsTransparent ? int(table.size()) : -1;
    if (transparent >= 0) table.push_back(Rgb{});
    std::vector<uint8_t> out;
    appendBlock(out, plan, f.delay, blockIndices(f, prev, plan, indexOf, transparent), &table);
    return out;
}

// In the global table, a frame's transparent index is the first entry it
// does not use.
int transparentInGlobalTable(const FramePlan& plan, const std::unordered_map<uint32_t, int>& globalIndex) {
    if (!plan.colors.needsTransparent) return -1;
    std::array<bool, 256> used{};
    for (const uint32_t c : plan.colors.colors) used[size_t(globalIndex.at(c))] = true;
    return int(std::find(used.begin(), used.end(), false) - used.begin());
}

int codeSizeInGlobalTable(const FramePlan& plan, const std::unordered_map<uint32_t, int>& globalIndex) {
    int largest = std::max(transparentInGlobalTable(plan, globalIndex), 0);
    for (const uint32_t c : plan.colors.colors) largest = std::max(largest, globalIndex.at(c));
    return lzwCodeSizeFor(largest + 1);
}

// Frame f with the global table.
std::vector<uint8_t> encodeWithGlobalTable(const AnimationFrame& f, const Bitmap* prev, const FramePlan& plan,
                                           const std::unordered_map<uint32_t, int>& globalIndex) {
    const int transparent = transparentInGlobalTable(plan, globalIndex);
    std::vector<uint8_t> out;
    appendBlock(out, plan, f.delay, blockIndices(f, prev, plan, globalIndex, transparent), nullptr);
    return out;
}

EncodeStatus encodePlain(std::span<const AnimationFrame> frames, int playCount, int width, int height,
                         std::vector<uint8_t>& out) {
    appendScreen(out, width, height, nullptr);
    const int loopField = netscapeLoopField(playCount);
    if (loopField >= 0) appendLoopExtension(out, loopField);
    for (const AnimationFrame& f : frames) {
        const Bitmap& b = *f.bitmap;
        appendGraphicControl(out, f.disposal, f.delay, f.transparentIndex);
        appendImageDescriptor(out, 0, 0, b.width, b.height, &b.palette);
        LzwImage image;
        image.indices = b.indices;
        image.minCodeSize = lzwCodeSizeFor(1 << colorTableBits(b.palette.size()));
        appendLzwImageData(image, out);
    }
    appendTrailer(out);
    return EncodeStatus::Ok;
}

// One frame's block in the global table (when its colours fit) or in a
// table of its own: the global one unless its own table of fewer colours,
// with shorter codes, comes out smaller. With codes of the same width the
// data is the same either way.
std::vector<uint8_t> encodeFrame(const AnimationFrame& f, const Bitmap* prev, const FramePlan& plan, bool fitsGlobal,
                                 const std::unordered_map<uint32_t, int>& globalIndex, bool& usesGlobal) {
    usesGlobal = false;
    if (!fitsGlobal) return encodeWithLocalTable(f, prev, plan);
    std::vector<uint8_t> global = encodeWithGlobalTable(f, prev, plan, globalIndex);
    const int localEntries = int(plan.colors.colors.size()) + (plan.colors.needsTransparent ? 1 : 0);
    if (lzwCodeSizeFor(localEntries) < codeSizeInGlobalTable(plan, globalIndex)) {
        std::vector<uint8_t> local = encodeWithLocalTable(f, prev, plan);
        if (local.size() < global.size()) return local;
    }
    usesGlobal = true;
    return global;
}

// Frames are planned and encoded on all cores: each depends only on its
// own bitmap and the one before.
EncodeStatus encodeOptimized(std::span<const AnimationFrame> frames, int playCount, int width, int height,
                             std::vector<uint8_t>& out) {
    const bool rects = canOptimize(frames);
    const auto previous = [&](size_t k) { return rects && k > 0 ? frames[k - 1].bitmap : nullptr; };
    std::vector<FramePlan> plans(frames.size());
    parallel::forEachIndex(frames.size(), [&](size_t k) {
        if (previous(k) != nullptr) {
            plans[k] = planChangedRect(*previous(k), *frames[k].bitmap);
        } else {
            plans[k] = planWholeFrame(frames[k]);
            if (rects) plans[k].disposal = 1;
        }
    });

    std::vector<FrameColors> colors;
    colors.reserve(plans.size());
    for (const FramePlan& p : plans) colors.push_back(p.colors);
    const SharedPalette shared = chooseSharedPalette(colors);
    std::unordered_map<uint32_t, int> globalIndex;
    for (size_t i = 0; i < shared.colors.size(); ++i) globalIndex.emplace(shared.colors[i], int(i));

    std::vector<std::vector<uint8_t>> blocks(frames.size());
    std::vector<char> usesGlobal(frames.size(), 0);
    parallel::forEachIndex(frames.size(), [&](size_t k) {
        bool global = false;
        blocks[k] = encodeFrame(frames[k], previous(k), plans[k], shared.fits[k], globalIndex, global);
        usesGlobal[k] = global;
    });

    // The global table is written only when some frame uses it.
    const bool globalUsed = std::find(usesGlobal.begin(), usesGlobal.end(), 1) != usesGlobal.end();
    std::vector<Rgb> globalTable;
    for (const uint32_t c : shared.colors) globalTable.push_back(unpacked(c));
    appendScreen(out, width, height, globalUsed ? &globalTable : nullptr);
    const int loopField = netscapeLoopField(playCount);
    if (loopField >= 0) appendLoopExtension(out, loopField);
    for (const std::vector<uint8_t>& b : blocks) out.insert(out.end(), b.begin(), b.end());
    appendTrailer(out);
    return EncodeStatus::Ok;
}

}  // namespace

int netscapeLoopField(int playCount) {
    if (playCount == 0) return 0;
    if (playCount == 1) return -1;
    return playCount - 1;
}

bool canOptimize(std::span<const AnimationFrame> frames) {
    for (const AnimationFrame& f : frames)
        if (f.transparentIndex >= 0 || f.bitmap->width != frames[0].bitmap->width ||
            f.bitmap->height != frames[0].bitmap->height)
            return false;
    return true;
}

EncodeStatus encodeGif(const Bitmap& bitmap, int transparentIndex, std::vector<uint8_t>& out) {
    try {
        std::vector<uint8_t> bytes;
        appendScreen(bytes, bitmap.width, bitmap.height, &bitmap.palette);
        if (transparentIndex >= 0) appendGraphicControl(bytes, 0, 0, transparentIndex);
        appendImageDescriptor(bytes, 0, 0, bitmap.width, bitmap.height, nullptr);
        LzwImage image;
        image.indices = bitmap.indices;
        image.minCodeSize = lzwCodeSizeFor(1 << colorTableBits(bitmap.palette.size()));
        appendLzwImageData(image, bytes);
        appendTrailer(bytes);
        out = std::move(bytes);
        return EncodeStatus::Ok;
    } catch (const std::bad_alloc&) {
        return EncodeStatus::OutOfMemory;
    }
}

EncodeStatus encodeAnimation(std::span<const AnimationFrame> frames, int playCount, bool optimize,
                             std::vector<uint8_t>& out) {
    if (frames.empty()) return EncodeStatus::Failed;
    try {
        int width = 0, height = 0;
        for (const AnimationFrame& f : frames) {
            width = std::max(width, f.bitmap->width);
            height = std::max(height, f.bitmap->height);
        }
        std::vector<uint8_t> bytes;
        const EncodeStatus s = optimize ? encodeOptimized(frames, playCount, width, height, bytes)
                                        : encodePlain(frames, playCount, width, height, bytes);
        if (s == EncodeStatus::Ok) out = std::move(bytes);
        return s;
    } catch (const std::bad_alloc&) {
        return EncodeStatus::OutOfMemory;
    }
}

}  // namespace imgctl
