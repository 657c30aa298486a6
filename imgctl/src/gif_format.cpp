#include "gif_format.h"

namespace imgctl {
namespace {

void put16(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t((v >> 8) & 0xFF));
}

// The table padded with black to its power-of-two size.
void appendColorTable(std::vector<uint8_t>& out, const std::vector<Rgb>& table) {
    const size_t size = size_t{1} << colorTableBits(table.size());
    for (size_t i = 0; i < size; ++i) {
        const Rgb c = i < table.size() ? table[i] : Rgb{};
        out.insert(out.end(), {c.r, c.g, c.b});
    }
}

}  // namespace

int colorTableBits(size_t entries) {
    int bits = 1;
    while (bits < 8 && (size_t{1} << bits) < entries) ++bits;
    return bits;
}

void appendScreen(std::vector<uint8_t>& out, int width, int height, const std::vector<Rgb>* global) {
    out.insert(out.end(), {'G', 'I', 'F', '8', '9', 'a'});
    put16(out, width);
    put16(out, height);
    // Colour resolution 8 bits; no sorted flag; background 0; no aspect.
    uint8_t packed = 0x70;
    if (global != nullptr) packed |= uint8_t(0x80 | (colorTableBits(global->size()) - 1));
    out.insert(out.end(), {packed, 0, 0});
    if (global != nullptr) appendColorTable(out, *global);
}

void appendLoopExtension(std::vector<uint8_t>& out, int loopField) {
    out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1});
    put16(out, loopField);
    out.push_back(0);
}

void appendGraphicControl(std::vector<uint8_t>& out, int disposal, int delay, int transparent) {
    const uint8_t packed = uint8_t((disposal & 7) << 2 | (transparent >= 0 ? 1 : 0));
    out.insert(out.end(), {0x21, 0xF9, 4, packed});
    put16(out, delay);
    out.push_back(uint8_t(transparent >= 0 ? transparent : 0));
    out.push_back(0);
}

void appendImageDescriptor(std::vector<uint8_t>& out, int left, int top, int width, int height,
                           const std::vector<Rgb>* local) {
    out.push_back(0x2C);
    put16(out, left);
    put16(out, top);
    put16(out, width);
    put16(out, height);
    out.push_back(local != nullptr ? uint8_t(0x80 | (colorTableBits(local->size()) - 1)) : uint8_t(0));
    if (local != nullptr) appendColorTable(out, *local);
}

void appendTrailer(std::vector<uint8_t>& out) { out.push_back(0x3B); }

}  // namespace imgctl
