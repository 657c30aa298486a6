// The program's sounds, synthesised: three title-screen jingles (101 the
// usual one, 102 and 103 rarer variants) and the completion sound 104.
#pragma once

#include <cstdint>
#include <vector>

namespace vakuro::gen {

inline constexpr int kSampleRate = 22050;
inline constexpr int kFirstSound = 101;
inline constexpr int kLastSound = 104;

struct Sound {
    int bitsPerSample;            // 16 for the jingles, 8 for the completion sound
    std::vector<double> samples;  // mono, -1 .. 1, at kSampleRate
};

// Sound number 101 .. 104.
Sound makeSound(int number);

// The sound as a RIFF WAVE file: PCM, mono, kSampleRate, its bit depth
// (8-bit samples unsigned around 128, 16-bit signed little-endian).
std::vector<uint8_t> encodeWav(const Sound& sound);

}  // namespace vakuro::gen
