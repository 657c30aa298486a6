#include "shared_palette.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "gif_format.h"

namespace imgctl {
namespace {

constexpr size_t kTableSize = 256;

}  // namespace

SharedPalette chooseSharedPalette(std::span<const FrameColors> frames) {
    // Number every distinct colour, and list the frames of each.
    std::unordered_map<uint32_t, uint32_t> idOf;
    std::vector<std::vector<uint32_t>> idsOfFrame(frames.size());
    std::vector<std::vector<uint32_t>> framesOfColor;
    for (size_t f = 0; f < frames.size(); ++f)
        for (const uint32_t c : frames[f].colors) {
            const auto [it, added] = idOf.emplace(c, uint32_t(framesOfColor.size()));
            if (added) framesOfColor.emplace_back();
            framesOfColor[it->second].push_back(uint32_t(f));
            idsOfFrame[f].push_back(it->second);
        }
    std::vector<uint32_t> colorOfId(framesOfColor.size());
    for (const auto& [c, id] : idOf) colorOfId[id] = c;

    // Greedy: each round takes in the frame that adds the fewest colours
    // (the first such frame on ties); at most 256 rounds add colours.
    std::vector<size_t> missing(frames.size());
    for (size_t f = 0; f < frames.size(); ++f) missing[f] = idsOfFrame[f].size();
    std::vector<bool> inTable(framesOfColor.size(), false);
    std::vector<uint32_t> table;
    for (;;) {
        size_t best = frames.size(), bestMissing = std::numeric_limits<size_t>::max();
        for (size_t f = 0; f < frames.size(); ++f)
            if (missing[f] > 0 && missing[f] < bestMissing && table.size() + missing[f] <= kTableSize) {
                best = f;
                bestMissing = missing[f];
            }
        if (best == frames.size()) break;
        for (const uint32_t id : idsOfFrame[best]) {
            if (inTable[id]) continue;
            inTable[id] = true;
            table.push_back(id);
            for (const uint32_t g : framesOfColor[id]) --missing[g];
        }
    }

    SharedPalette out;
    out.fits.assign(frames.size(), false);
    const size_t padded = size_t{1} << colorTableBits(table.size());
    std::vector<size_t> users(framesOfColor.size(), 0);
    for (size_t f = 0; f < frames.size(); ++f) {
        out.fits[f] = missing[f] == 0 && (!frames[f].needsTransparent || idsOfFrame[f].size() < padded);
        if (out.fits[f])
            for (const uint32_t id : idsOfFrame[f]) ++users[id];
    }
    // Colours of more frames first, so that frames of few colours keep
    // small indices; ties in order of first appearance.
    std::stable_sort(table.begin(), table.end(), [&](uint32_t a, uint32_t b) {
        return users[a] > users[b] || (users[a] == users[b] && a < b);
    });
    for (const uint32_t id : table) out.colors.push_back(colorOfId[id]);
    return out;
}

}  // namespace imgctl
