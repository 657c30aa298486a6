#include "sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace vakuro::gen {

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

// One sine component of a tone: frequency ratio to the fundamental, relative
// amplitude, and exponential decay rate in 1/s.
struct Partial {
    double ratio, amplitude, decay;
};

struct Timbre {
    std::vector<Partial> partials;
    double attack;   // seconds of raised-cosine attack
    double release;  // seconds of fade after the note's length
};

// Bell-like tone of a struck bar: bright start, the upper partials dying
// first; a slightly detuned copy of the fundamental gives a gentle beat.
const Timbre kBell{{{1, 1.0, 2.2}, {1.003, 0.3, 2.2}, {2, 0.28, 4.5}, {3, 0.09, 8}, {5.4, 0.035, 16}},
                   0.004, 0.08};
// Glockenspiel: higher and glassier, the free-bar partials of a metal bar.
const Timbre kGlocken{{{1, 1.0, 3.0}, {2.76, 0.22, 7}, {5.40, 0.08, 14}, {8.93, 0.03, 24}}, 0.002, 0.06};
// Soft sustained pad under the chords.
const Timbre kPad{{{1, 0.6, 0.6}, {2, 0.18, 0.9}, {3, 0.07, 1.2}}, 0.25, 0.5};
// Brass-like: a full series of harmonics falling off with the order.
const Timbre kBrass{{{1, 1.0, 0.8}, {2, 0.62, 1.0}, {3, 0.42, 1.3}, {4, 0.28, 1.6}, {5, 0.18, 2.0},
                     {6, 0.11, 2.4}, {7, 0.07, 2.8}, {8, 0.04, 3.2}},
                    0.03, 0.07};
// Short chime of the completion sound.
const Timbre kChime{{{1, 1.0, 9}, {2, 0.3, 14}, {3, 0.08, 20}}, 0.002, 0.02};

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }

class Score {
public:
    explicit Score(double seconds) : buffer_(static_cast<size_t>(seconds * kSampleRate), 0.0) {}

    // Adds a note from start for length seconds (then its release).
    void note(double start, double midi, double gain, const Timbre& timbre, double length = 10) {
        const double f0 = midiHz(midi);
        const size_t first = static_cast<size_t>(start * kSampleRate);
        for (size_t i = first; i < buffer_.size(); ++i) {
            const double t = double(i - first) / kSampleRate;
            if (t > length + timbre.release) break;
            double env = 1;
            if (t < timbre.attack) env = 0.5 - 0.5 * std::cos(kTwoPi / 2 * t / timbre.attack);
            if (t > length) env *= 0.5 + 0.5 * std::cos(kTwoPi / 2 * (t - length) / timbre.release);
            double s = 0;
            for (const Partial& p : timbre.partials) {
                const double f = f0 * p.ratio;
                if (f > 0.45 * kSampleRate) continue;
                s += p.amplitude * std::exp(-p.decay * t) * std::sin(kTwoPi * f * t);
            }
            buffer_[i] += gain * env * s;
        }
    }

    std::vector<double>& samples() { return buffer_; }

private:
    std::vector<double> buffer_;
};

// A small Schroeder reverberator: four damped comb filters in parallel and
// two all-pass filters in series, mixed in at the given level.
void reverb(std::vector<double>& x, double wet) {
    struct Comb {
        std::vector<double> line;
        size_t pos = 0;
        double store = 0;
    };
    std::array<Comb, 4> combs;
    const std::array<size_t, 4> combLengths{557, 593, 641, 677};
    for (size_t k = 0; k < 4; ++k) combs[k].line.assign(combLengths[k], 0.0);
    std::array<std::vector<double>, 2> allpass{std::vector<double>(225, 0.0), std::vector<double>(171, 0.0)};
    std::array<size_t, 2> apPos{0, 0};
    const double feedback = 0.8, damp = 0.3;
    for (double& sample : x) {
        const double in = sample * 0.25;
        double out = 0;
        for (Comb& c : combs) {
            const double y = c.line[c.pos];
            c.store = y * (1 - damp) + c.store * damp;
            c.line[c.pos] = in + c.store * feedback;
            c.pos = (c.pos + 1) % c.line.size();
            out += y;
        }
        for (size_t k = 0; k < 2; ++k) {
            auto& line = allpass[k];
            const double buffered = line[apPos[k]];
            line[apPos[k]] = out + buffered * 0.5;
            out = buffered - out;
            apPos[k] = (apPos[k] + 1) % line.size();
        }
        sample = sample + wet * out;
    }
}

// Scales to the given peak and fades the last milliseconds to silence.
void finish(std::vector<double>& x, double peak) {
    double max = 0;
    for (double s : x) max = std::max(max, std::abs(s));
    const double k = max > 0 ? peak / max : 0;
    const size_t fade = std::min(x.size(), size_t(kSampleRate * 0.04));
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] *= k;
        const size_t fromEnd = x.size() - 1 - i;
        if (fromEnd < fade) x[i] *= double(fromEnd) / fade;
    }
    if (x.size() % 2) x.pop_back();  // an even count keeps 8-bit data free of a pad byte
}

// The usual jingle: a bell arpeggio rising through C major to a chord.
std::vector<double> jingle() {
    Score s(2.4);
    const double arpeggio[] = {72, 76, 79, 84, 88, 91};
    for (int i = 0; i < 6; ++i) s.note(0.09 * i, arpeggio[i], 0.5, kBell);
    for (double m : {72.0, 76.0, 79.0, 84.0}) s.note(0.62, m, 0.32, kBell);
    s.note(0.62, 96, 0.18, kGlocken);
    for (double m : {48.0, 55.0, 64.0}) s.note(0.55, m, 0.16, kPad, 1.3);
    reverb(s.samples(), 0.35);
    finish(s.samples(), 0.85);
    return s.samples();
}

// Rarer: a glockenspiel cascade falling down the pentatonic scale, then a
// rising answer and the same chord.
std::vector<double> cascade() {
    Score s(2.6);
    const double fall[] = {91, 88, 86, 84, 81, 79, 76, 74};
    for (int i = 0; i < 8; ++i) s.note(0.065 * i, fall[i], 0.42, kGlocken);
    const double rise[] = {72, 79, 84};
    for (int i = 0; i < 3; ++i) s.note(0.62 + 0.11 * i, rise[i], 0.45, kBell);
    for (double m : {76.0, 79.0, 84.0, 88.0}) s.note(0.98, m, 0.28, kBell);
    s.note(0.98, 100, 0.12, kGlocken);
    for (double m : {48.0, 60.0, 67.0}) s.note(0.9, m, 0.16, kPad, 1.2);
    reverb(s.samples(), 0.4);
    finish(s.samples(), 0.85);
    return s.samples();
}

// Rarest: a little fanfare, three short calls and a held major chord.
std::vector<double> fanfare() {
    Score s(2.3);
    for (int i = 0; i < 3; ++i) s.note(0.15 * i, 67, 0.4, kBrass, 0.08);
    s.note(0.45, 72, 0.42, kBrass, 0.9);
    s.note(0.45, 76, 0.28, kBrass, 0.9);
    s.note(0.45, 79, 0.24, kBrass, 0.9);
    s.note(0.45, 60, 0.2, kBrass, 0.9);
    s.note(0.45, 96, 0.16, kGlocken);
    s.note(0.53, 91, 0.12, kGlocken);
    reverb(s.samples(), 0.3);
    finish(s.samples(), 0.85);
    return s.samples();
}

// Completion: two quick rising chimes, a fifth apart.
std::vector<double> completion() {
    Score s(0.42);
    s.note(0.0, 88, 0.5, kChime);
    s.note(0.085, 95, 0.5, kChime);
    reverb(s.samples(), 0.15);
    finish(s.samples(), 0.8);
    return s.samples();
}

void put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

Sound makeSound(int number) {
    switch (number) {
        case 101: return {16, jingle()};
        case 102: return {16, cascade()};
        case 103: return {16, fanfare()};
        case 104: return {8, completion()};
        default: throw std::out_of_range("sound number");
    }
}

std::vector<uint8_t> encodeWav(const Sound& sound) {
    const int bytesPerSample = sound.bitsPerSample / 8;
    const uint32_t dataSize = static_cast<uint32_t>(sound.samples.size() * bytesPerSample);
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    put32(out, 36 + dataSize + (dataSize & 1));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kSampleRate);
    put32(out, static_cast<uint32_t>(kSampleRate * bytesPerSample));
    put16(out, bytesPerSample);
    put16(out, sound.bitsPerSample);
    putTag(out, "data");
    put32(out, dataSize);
    for (double s : sound.samples) {
        const double c = std::clamp(s, -1.0, 1.0);
        if (bytesPerSample == 1) {
            out.push_back(static_cast<uint8_t>(std::lround(128 + 127 * c)));
        } else {
            put16(out, static_cast<int>(std::lround(32767 * c)));
        }
    }
    if (dataSize & 1) out.push_back(0);
    return out;
}

}  // namespace vakuro::gen
