#include "lzw_encoder.h"

#include <algorithm>
#include <array>
#include <utility>

namespace imgctl {
namespace {

constexpr int kMaxCodeBits = 12;
// The table is cleared once code 4094 is taken, before the last code would
// be: giflib and most encoders do the same, so every decoder expects it.
constexpr int kClearWhenNextIs = (1 << kMaxCodeBits) - 1;
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

// Packs codes, least significant bit first, into sub-blocks of 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}

    void put(int code, int bits) {
        pending_ |= uint32_t(code) << pendingBits_;
        pendingBits_ += bits;
        while (pendingBits_ >= 8) {
            byte(uint8_t(pending_));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }

    void finish() {
        if (pendingBits_ > 0) byte(uint8_t(pending_));
        pending_ = 0;
        pendingBits_ = 0;
        flushBlock();
        out_.push_back(0);
    }

private:
    void byte(uint8_t b) {
        block_[blockSize_++] = b;
        if (blockSize_ == block_.size()) flushBlock();
    }
    void flushBlock() {
        if (blockSize_ == 0) return;
        out_.push_back(uint8_t(blockSize_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + long(blockSize_));
        blockSize_ = 0;
    }

    std::vector<uint8_t>& out_;
    std::array<uint8_t, 255> block_{};
    size_t blockSize_ = 0;
    uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

struct Match {
    int code;
    size_t end;      // one past the last pixel the string covers
    int lastIndex;   // the index it ends with
};

class Encoder {
public:
    Encoder(const LzwImage& image, CodeWriter& writer)
        : pixels_(image.indices),
          flexible_(image.mayBeTransparent.size() == image.indices.size() && image.transparent >= 0
                        ? image.mayBeTransparent
                        : std::span<const uint8_t>()),
          transparent_(image.transparent),
          minCodeSize_(image.minCodeSize),
          clearCode_(1 << image.minCodeSize),
          writer_(writer),
          bits_(image.minCodeSize + 1) {}

    void run() {
        clear();
        int previous = -1;  // code of the string before, none right after a clear
        int lastWritten = -1;
        size_t pos = 0;
        const size_t n = pixels_.size();
        while (pos < n) {
            int first = pixels_[pos];
            Match m;
            if (isFlexible(pos)) {
                // Both ways of writing the first pixel; on a tie, the one
                // that continues the run of the pixel before, else the
                // transparent one, as unchanged stretches then read alike.
                const Match viaTransparent = longest(transparent_, pos + 1);
                const Match viaIndex = longest(first, pos + 1);
                const bool takeIndex = lastWritten == first ? viaIndex.end >= viaTransparent.end
                                                            : viaIndex.end > viaTransparent.end;
                if (!takeIndex) first = transparent_;
                m = takeIndex ? viaIndex : viaTransparent;
                if (previous >= 0) {
                    define(previous, first);
                    // The new string begins like the one before; when that
                    // one begins with `first`, the match may now run
                    // through it (and must, or the next string would be
                    // defined twice).
                    if (firstIndexOf_[size_t(previous)] == first) m = longest(first, pos + 1);
                }
            } else {
                // The new string is defined first, as the decoder may need
                // it at once (a string followed by its own first pixel).
                if (previous >= 0) define(previous, first);
                m = longest(first, pos + 1);
            }
            emit(m.code);
            previous = m.code;
            lastWritten = m.lastIndex;
            pos = m.end;
            if (pos < n && next_ >= kClearWhenNextIs) {
                clear();
                previous = -1;
            }
        }
        emit(clearCode_ + 1);  // end of information
        writer_.finish();
    }

private:
    bool isFlexible(size_t i) const { return !flexible_.empty() && flexible_[i] != 0 && pixels_[i] != transparent_; }

    void clear() {
        writer_.put(clearCode_, bits_);
        for (int i = 0; i < clearCode_; ++i) firstIndexOf_[size_t(i)] = uint8_t(i);
        table_.clear();
        next_ = clearCode_ + 2;
        bits_ = minCodeSize_ + 1;
    }

    void define(int prefix, int index) {
        firstIndexOf_[size_t(next_)] = firstIndexOf_[size_t(prefix)];
        table_.add(prefix, index, next_++);
    }

    // The code width grows once the decoder, which defines each string one
    // code later than the encoder, can meet a code of the next width.
    void emit(int code) {
        writer_.put(code, bits_);
        if (next_ >= (1 << bits_) && bits_ < kMaxCodeBits) ++bits_;
    }

    // The longest string of the table that spells the pixels from `from` on,
    // starting with the one-index string `root` for the pixel before. Where
    // a pixel may be transparent, both ways are followed: first the one that
    // continues the run of the pixel before, else the transparent one, so
    // that it wins ties.
    Match longest(int root, size_t from) {
        const size_t n = pixels_.size();
        int node = root, last = root;
        size_t i = from;
        if (flexible_.empty()) {
            for (; i < n; ++i) {
                const int c = table_.find(node, pixels_[i]);
                if (c < 0) break;
                node = c;
            }
            return {node, i, i > from ? pixels_[i - 1] : root};
        }
        Match best{root, from, root};
        detours_.clear();
        int detoursLeft = kMaxDetours;
        for (;;) {
            for (; i < n; ++i) {
                const int index = pixels_[i];
                if (flexible_[i] != 0 && index != transparent_) {
                    const int viaTransparent = table_.find(node, transparent_);
                    const int viaIndex = table_.find(node, index);
                    const bool indexFirst = last == index;
                    const int firstCode = indexFirst ? viaIndex : viaTransparent;
                    const int secondCode = indexFirst ? viaTransparent : viaIndex;
                    const int firstIndex = indexFirst ? index : transparent_;
                    const int secondIndex = indexFirst ? transparent_ : index;
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

    std::span<const uint8_t> pixels_;
    std::span<const uint8_t> flexible_;
    int transparent_;
    int minCodeSize_;
    int clearCode_;
    CodeWriter& writer_;
    int bits_;
    StringTable table_;
    std::array<uint8_t, 1 << kMaxCodeBits> firstIndexOf_{};  // first index of every string
    int next_ = 0;
    std::vector<Match> detours_;
};

}  // namespace

int lzwCodeSizeFor(int entries) {
    int bits = 2;
    while (bits < 8 && (1 << bits) < entries) ++bits;
    return bits;
}

void appendLzwImageData(const LzwImage& image, std::vector<uint8_t>& out) {
    out.push_back(uint8_t(image.minCodeSize));
    CodeWriter writer(out);
    Encoder(image, writer).run();
}

}  // namespace imgctl
