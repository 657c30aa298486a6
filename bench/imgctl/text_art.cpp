#include "text_art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace imgctl_bench {
namespace {

struct Segment {
    float x0, y0, x1, y1;  // in a letter box of 1 x 1, y down
};

// Stroke skeletons of the letters V, A, K, U, R, O.
std::vector<std::vector<Segment>> letters() {
    std::vector<Segment> o;
    const float pi = 3.14159265f;
    for (int i = 0; i < 16; ++i) {
        const float a0 = 2 * pi * float(i) / 16, a1 = 2 * pi * float(i + 1) / 16;
        o.push_back({0.5f + 0.4f * std::cos(a0), 0.5f + 0.45f * std::sin(a0), 0.5f + 0.4f * std::cos(a1),
                     0.5f + 0.45f * std::sin(a1)});
    }
    std::vector<Segment> r = {{0.15f, 0.05f, 0.15f, 0.95f}, {0.15f, 0.05f, 0.6f, 0.05f},
                              {0.15f, 0.5f, 0.6f, 0.5f},    {0.45f, 0.5f, 0.85f, 0.95f}};
    for (int i = 0; i < 8; ++i) {
        const float a0 = -pi / 2 + pi * float(i) / 8, a1 = -pi / 2 + pi * float(i + 1) / 8;
        r.push_back({0.6f + 0.25f * std::cos(a0), 0.275f + 0.225f * std::sin(a0),
                     0.6f + 0.25f * std::cos(a1), 0.275f + 0.225f * std::sin(a1)});
    }
    std::vector<Segment> u = {{0.15f, 0.05f, 0.15f, 0.65f}, {0.85f, 0.05f, 0.85f, 0.65f}};
    for (int i = 0; i < 8; ++i) {
        const float a0 = pi * float(i) / 8, a1 = pi * float(i + 1) / 8;
        u.push_back({0.5f + 0.35f * std::cos(a0), 0.65f + 0.3f * std::sin(a0), 0.5f + 0.35f * std::cos(a1),
                     0.65f + 0.3f * std::sin(a1)});
    }
    return {
        {{0.05f, 0.05f, 0.5f, 0.95f}, {0.5f, 0.95f, 0.95f, 0.05f}},                                 // V
        {{0.05f, 0.95f, 0.5f, 0.05f}, {0.5f, 0.05f, 0.95f, 0.95f}, {0.25f, 0.6f, 0.75f, 0.6f}},     // A
        {{0.15f, 0.05f, 0.15f, 0.95f}, {0.85f, 0.05f, 0.15f, 0.55f}, {0.4f, 0.4f, 0.9f, 0.95f}},    // K
        u, r, o};
}

float segmentDistance(float px, float py, const Segment& s) {
    const float dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = px - (s.x0 + t * dx), ey = py - (s.y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// Coverage 0..1 of the letter strokes at every pixel (anti-aliased edges).
std::vector<float> textMask(int width, int height, float textX) {
    std::vector<float> mask(size_t(width) * size_t(height), 0.0f);
    const float box = float(height) * 0.52f, gap = box * 0.18f, top = float(height) * 0.24f;
    const float halfStroke = box * 0.07f;
    const auto glyphs = letters();
    for (size_t g = 0; g < glyphs.size(); ++g) {
        const float left = textX + float(g) * (box + gap);
        const int x0 = std::max(0, int(left - box * 0.2f)), x1 = std::min(width, int(left + box * 1.2f));
        for (int y = 0; y < height; ++y)
            for (int x = x0; x < x1; ++x) {
                float d = 1e9f;
                for (const Segment& s : glyphs[g])
                    d = std::min(d, segmentDistance((float(x) + 0.5f - left) / box,
                                                    (float(y) + 0.5f - top) / box, s) * box);
                const float cover = std::clamp(halfStroke + 0.5f - d, 0.0f, 1.0f);
                float& m = mask[size_t(y) * size_t(width) + size_t(x)];
                m = std::max(m, cover);
            }
    }
    return mask;
}

// Three passes of a box blur approximate a Gaussian.
std::vector<float> blur(std::vector<float> v, int width, int height, int radius) {
    std::vector<float> tmp(v.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += v[size_t(y) * size_t(width) + size_t(std::clamp(x + k, 0, width - 1))];
                tmp[size_t(y) * size_t(width) + size_t(x)] = sum / float(2 * radius + 1);
            }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += tmp[size_t(std::clamp(y + k, 0, height - 1)) * size_t(width) + size_t(x)];
                v[size_t(y) * size_t(width) + size_t(x)] = sum / float(2 * radius + 1);
            }
    }
    return v;
}

Rgb mix(Rgb a, Rgb b, float t) {
    return {uint8_t(std::lround(float(a.r) + (float(b.r) - float(a.r)) * t)),
            uint8_t(std::lround(float(a.g) + (float(b.g) - float(a.g)) * t)),
            uint8_t(std::lround(float(a.b) + (float(b.b) - float(a.b)) * t))};
}

}  // namespace

const std::vector<Style>& styles() {
    static const std::vector<Style> all = {
        {"sunset", {12, 16, 60}, {40, 20, 90}, {255, 240, 80}, {255, 140, 20}, {200, 30, 10},
         {0, 0, 0}, 0.7f, {255, 160, 60}, 0.8f},
        {"pastel", {255, 220, 235}, {200, 230, 255}, {40, 200, 120}, {20, 170, 190}, {30, 60, 200},
         {60, 60, 80}, 0.55f, {255, 255, 255}, 0.9f},
        {"mono", {255, 255, 255}, {255, 255, 255}, {10, 10, 10}, {90, 90, 90}, {170, 170, 170},
         {120, 120, 120}, 0.5f, {200, 220, 255}, 0.6f},
    };
    return all;
}

Picture renderTextArt(const Style& style, int width, int height, float textX) {
    const std::vector<float> text = textMask(width, height, textX);
    const std::vector<float> glow = blur(text, width, height, 4);
    std::vector<float> shifted(text.size(), 0.0f);
    const int sx = height / 25, sy = height / 25;
    for (int y = sy; y < height; ++y)
        for (int x = sx; x < width; ++x)
            shifted[size_t(y) * size_t(width) + size_t(x)] = text[size_t(y - sy) * size_t(width) + size_t(x - sx)];
    const std::vector<float> shadow = blur(shifted, width, height, 2);

    Picture p{width, height, std::vector<Rgb>(size_t(width) * size_t(height))};
    for (int y = 0; y < height; ++y) {
        const float t = float(y) / float(height - 1);
        const Rgb background = mix(style.background1, style.background2, t);
        const Rgb fill = t < 0.5f ? mix(style.fill1, style.fill2, t * 2) : mix(style.fill2, style.fill3, t * 2 - 1);
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            Rgb c = background;
            c = mix(c, style.glow, std::min(1.0f, glow[i] * 2.5f) * style.glowAlpha);
            c = mix(c, style.shadow, shadow[i] * style.shadowAlpha);
            c = mix(c, fill, text[i]);
            p.pixels[i] = c;
        }
    }
    return p;
}

bool writeBmp(const std::string& path, const Picture& p) {
    const uint32_t stride = (uint32_t(p.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b(54 + size_t(stride) * size_t(p.height), 0);
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, uint32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(p.width));
    put32(22, uint32_t(p.height));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.pixels[size_t(y) * size_t(p.width) + size_t(x)];
            uint8_t* d = &b[54 + size_t(p.height - 1 - y) * stride + size_t(x) * 3];
            d[0] = c.b;
            d[1] = c.g;
            d[2] = c.r;
        }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return bool(out);
}

bool readPpm(const std::string& path, Picture& p) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> p.width >> p.height >> maxval;
    in.get();
    if (!in || magic != "P6" || maxval != 255 || p.width < 1 || p.height < 1) return false;
    std::vector<uint8_t> raw(size_t(p.width) * size_t(p.height) * 3);
    in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()));
    if (!in) return false;
    p.pixels.resize(size_t(p.width) * size_t(p.height));
    for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = {raw[i * 3], raw[i * 3 + 1], raw[i * 3 + 2]};
    return true;
}

double psnr(const Picture& a, const Picture& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const double dr = a.pixels[i].r - b.pixels[i].r, dg = a.pixels[i].g - b.pixels[i].g,
                     db = a.pixels[i].b - b.pixels[i].b;
        sum += dr * dr + dg * dg + db * db;
    }
    const double mse = sum / (3.0 * double(a.pixels.size()));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace imgctl_bench
