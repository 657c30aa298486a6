#include "lzw_encoder.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace imgctl {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kCodes = 1 << kMaxCodeBits;
// A table is full once code 4094 is taken: giflib and most encoders clear
// it then, so every decoder expects a clear there. One that is kept takes
// code 4095 as well and then no more strings.
constexpr int kFullWhenNextIs = kCodes - 1;
// Once a full table has been cleared this many times in a row, the picture
// is taken to be too busy for kept tables: later ones are cleared without
// the trial, which saves most of its cost on such pictures.
constexpr int kTrialsAfterClears = 2;
// Branch points the search for a string may try beyond the first path, so
// that a long stretch of pixels that may be transparent cannot make one
// search slow.
constexpr int kMaxDetours = 64;

// The strings of the table, each a known string (prefix code) plus one
// index, in an open-addressing hash of 8192 slots for at most 4096 strings.
// A slot holds the key (prefix << 8 | index) and the string's code.
class StringTable {
public:
    StringTable() { clear(); }
    void clear() { slots_.fill(kEmpty); }

    int find(int prefix, int index) const {
        const uint32_t key = keyOf(prefix, index);
        for (uint32_t s = home(key);; s = (s + 1) & kMask) {
            const uint32_t e = slots_[s];
            if (e == kEmpty) return -1;
            if (e >> 12 == key) return int(e & 0xFFF);
        }
    }

    void add(int prefix, int index, int code) {
        const uint32_t key = keyOf(prefix, index);
        uint32_t s = home(key);
        while (slots_[s] != kEmpty) s = (s + 1) & kMask;
        slots_[s] = key << 12 | uint32_t(code);
    }

private:
    static constexpr int kSlotBits = 13;
    static constexpr uint32_t kMask = (1u << kSlotBits) - 1;
    // Never a real slot: a prefix of 4095 has no longer strings.
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static uint32_t keyOf(int prefix, int index) { return uint32_t(prefix) << 8 | uint32_t(index); }
    static uint32_t home(uint32_t key) { return (key * 2654435761u) >> (32 - kSlotBits); }
    std::array<uint32_t, 1u << kSlotBits> slots_;
};

// Codes packed least significant bit first into bytes; the sub-blocks are
// cut when the image is done.
struct CodeBits {
    std::vector<uint8_t> bytes;
    uint32_t pending = 0;
    int pendingBits = 0;

    void put(int code, int bits) {
        pending |= uint32_t(code) << pendingBits;
        pendingBits += bits;
        while (pendingBits >= 8) {
            bytes.push_back(uint8_t(pending));
            pending >>= 8;
            pendingBits -= 8;
        }
    }
    size_t bitCount() const { return bytes.size() * 8 + size_t(pendingBits); }
};

struct Match {
    int code;
    size_t end;     // one past the last pixel the string covers
    int lastIndex;  // the index it ends with
};

// What the encoder reads, shared by all its states.
struct Source {
    std::span<const uint8_t> pixels;
    std::span<const uint8_t> flexible;  // empty, or one flag per pixel
    int transparent;
    int minCodeSize;
    int clearCode;

    bool isFlexible(size_t i) const { return !flexible.empty() && flexible[i] != 0 && pixels[i] != transparent; }
};

// The encoder at one point of the image: the table, the code width, the
// string before and the codes written. A copy goes on from the same point.
class EncoderState {
public:
    explicit EncoderState(const Source& source) : src_(&source), bits_(source.minCodeSize + 1) {}

    size_t position() const { return pos_; }
    bool done() const { return pos_ >= src_->pixels.size(); }
    // Code 4094 is taken: a table being grown is due to be cleared or kept.
    bool full() const { return next_ >= kFullWhenNextIs; }
    CodeBits& codes() { return codes_; }

    // Writes the clear code and starts a new table.
    void clear() {
        codes_.put(src_->clearCode, bits_);
        table_.clear();
        for (int i = 0; i < src_->clearCode; ++i) firstIndexOf_[size_t(i)] = uint8_t(i);
        next_ = src_->clearCode + 2;
        bits_ = src_->minCodeSize + 1;
        previous_ = -1;
    }

    // Writes the next string: the longest the table has for the pixels from
    // here; the string before, followed by this one's first index, becomes
    // the table's next string while there is room.
    void step() {
        const size_t pos = pos_;
        int first = src_->pixels[pos];
        Match m;
        if (src_->isFlexible(pos)) {
            // Both ways of writing the first pixel; on a tie, the one that
            // continues the run of the pixel before, else the transparent
            // one, as unchanged stretches then read alike.
            const Match viaTransparent = longest(src_->transparent, pos + 1);
            const Match viaIndex = longest(first, pos + 1);
            const bool takeIndex = lastWritten_ == first ? viaIndex.end >= viaTransparent.end
                                                         : viaIndex.end > viaTransparent.end;
            if (!takeIndex) first = src_->transparent;
            m = takeIndex ? viaIndex : viaTransparent;
            if (define(first) && firstIndexOf_[size_t(previous_)] == first) {
                // The new string begins like the one before; when that one
                // begins with `first`, the match may now run through it
                // (and must, or the next string would be defined twice).
                m = longest(first, pos + 1);
            }
        } else {
            // The new string is defined first, as the decoder may need it at
            // once (a string followed by its own first pixel).
            define(first);
            m = longest(first, pos + 1);
        }
        emit(m.code);
        previous_ = m.code;
        lastWritten_ = m.lastIndex;
        pos_ = m.end;
    }

    // Writes the end code.
    void end() { emit(src_->clearCode + 1); }

private:
    bool define(int index) {
        if (previous_ < 0 || next_ >= kCodes) return false;
        firstIndexOf_[size_t(next_)] = firstIndexOf_[size_t(previous_)];
        table_.add(previous_, index, next_++);
        return true;
    }

    // The code width grows once the decoder, which defines each string one
    // code later than the encoder, can meet a code of the next width.
    void emit(int code) {
        codes_.put(code, bits_);
        if (next_ >= (1 << bits_) && bits_ < kMaxCodeBits) ++bits_;
    }

    // The longest string of the table that spells the pixels from `from` on,
    // starting with the one-index string `root` for the pixel before. Where
    // a pixel may be transparent, both ways are followed: first the one that
    // continues the run of the pixel before, else the transparent one, so
    // that it wins ties.
    Match longest(int root, size_t from) {
        const std::span<const uint8_t> pixels = src_->pixels;
        const size_t n = pixels.size();
        int node = root, last = root;
        size_t i = from;
        if (src_->flexible.empty()) {
            for (; i < n; ++i) {
                const int c = table_.find(node, pixels[i]);
                if (c < 0) break;
                node = c;
            }
            return {node, i, i > from ? pixels[i - 1] : root};
        }
        const int transparent = src_->transparent;
        Match best{root, from, root};
        detours_.clear();
        int detoursLeft = kMaxDetours;
        for (;;) {
            for (; i < n; ++i) {
                const int index = pixels[i];
                if (src_->flexible[i] != 0 && index != transparent) {
                    const int viaTransparent = table_.find(node, transparent);
                    const int viaIndex = table_.find(node, index);
                    const bool indexFirst = last == index;
                    const int firstCode = indexFirst ? viaIndex : viaTransparent;
                    const int secondCode = indexFirst ? viaTransparent : viaIndex;
                    const int firstIndex = indexFirst ? index : transparent;
                    const int secondIndex = indexFirst ? transparent : index;
                    if (firstCode >= 0) {
                        if (secondCode >= 0 && detoursLeft > 0) {
                            detours_.push_back({secondCode, i + 1, secondIndex});
                            --detoursLeft;
                        }
                        node = firstCode;
                        last = firstIndex;
                        continue;
                    }
                    if (secondCode < 0) break;
                    node = secondCode;
                    last = secondIndex;
                    continue;
                }
                const int c = table_.find(node, index);
                if (c < 0) break;
                node = c;
                last = index;
            }
            if (i > best.end) best = {node, i, last};
            if (detours_.empty()) break;
            node = detours_.back().code;
            i = detours_.back().end;
            last = detours_.back().lastIndex;
            detours_.pop_back();
        }
        return best;
    }

    const Source* src_;
    StringTable table_;
    std::array<uint8_t, kCodes> firstIndexOf_{};  // first index of every string
    int next_ = 0;
    int bits_;
    int previous_ = -1;     // code of the string before, none right after a clear
    int lastWritten_ = -1;  // the index the string before ended with
    size_t pos_ = 0;
    CodeBits codes_;
    std::vector<Match> detours_;
};

// Cuts the codes into sub-blocks of at most 255 bytes, ending with an empty
// one.
void appendSubBlocks(const CodeBits& codes, std::vector<uint8_t>& out) {
    std::vector<uint8_t> bytes = codes.bytes;
    if (codes.pendingBits > 0) bytes.push_back(uint8_t(codes.pending));
    for (size_t i = 0; i < bytes.size(); i += 255) {
        const size_t size = std::min<size_t>(255, bytes.size() - i);
        out.push_back(uint8_t(size));
        out.insert(out.end(), bytes.begin() + long(i), bytes.begin() + long(i + size));
    }
    out.push_back(0);
}

// Bits a branch has written since it started from `from`, per pixel covered.
double bitsPerPixel(EncoderState& branch, size_t from, int pendingBitsAtStart) {
    const size_t pixels = branch.position() - from;
    const size_t bits = branch.codes().bitCount() - size_t(pendingBitsAtStart);
    return pixels == 0 ? 0.0 : double(bits) / double(pixels);
}

// Writes the stretch after a full table both ways, cleared and kept, until
// a new table is full again (or the image ends), and goes on with the one
// that spent fewer bits per pixel. Returns whether the table was kept.
bool keepOrClear(EncoderState& state) {
    // The branches start from the same pending bits with no bytes of their
    // own; the winner's bytes follow those written so far.
    std::vector<uint8_t> written = std::move(state.codes().bytes);
    state.codes().bytes.clear();
    const size_t from = state.position();
    const int pendingBits = state.codes().pendingBits;
    auto cleared = std::make_unique<EncoderState>(state);
    auto kept = std::make_unique<EncoderState>(state);
    cleared->clear();
    do cleared->step();
    while (!cleared->done() && !cleared->full());
    while (!kept->done() && kept->position() < cleared->position()) kept->step();
    const bool keep = bitsPerPixel(*kept, from, pendingBits) < bitsPerPixel(*cleared, from, pendingBits);
    state = std::move(keep ? *kept : *cleared);
    written.insert(written.end(), state.codes().bytes.begin(), state.codes().bytes.end());
    state.codes().bytes = std::move(written);
    return keep;
}

// Each time the table is full it is cleared or kept without new strings,
// whichever spends fewer bits on the stretch that follows; a kept table is
// put to the same test again after each stretch.
void encodeKeepingTablesThatPay(EncoderState& state) {
    int clearsInARow = 0;
    while (!state.done()) {
        if (!state.full()) {
            state.step();
        } else if (clearsInARow >= kTrialsAfterClears) {
            state.clear();
        } else {
            clearsInARow = keepOrClear(state) ? 0 : clearsInARow + 1;
        }
    }
}

}  // namespace

int lzwCodeSizeFor(int entries) {
    int bits = 2;
    while (bits < 8 && (1 << bits) < entries) ++bits;
    return bits;
}

void appendLzwImageData(const LzwImage& image, std::vector<uint8_t>& out) {
    const bool flexible = image.mayBeTransparent.size() == image.indices.size() && image.transparent >= 0;
    const Source source{image.indices, flexible ? image.mayBeTransparent : std::span<const uint8_t>(),
                        image.transparent, image.minCodeSize, 1 << image.minCodeSize};
    auto state = std::make_unique<EncoderState>(source);
    state->clear();
    if (image.keepTablesThatPay) {
        encodeKeepingTablesThatPay(*state);
    } else {
        while (!state->done()) {
            state->step();
            if (state->full() && !state->done()) state->clear();
        }
    }
    state->end();
    out.push_back(uint8_t(image.minCodeSize));
    appendSubBlocks(state->codes(), out);
}

}  // namespace imgctl
