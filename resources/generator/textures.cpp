#include "textures.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "random.h"
#include "torus_noise.h"

namespace vakuro::gen {

namespace {

constexpr int W = kTextureWidth;
constexpr int H = kTextureHeight;
constexpr Rgb kWhite{255, 255, 255};

// Seeds: one per texture, so that changing one texture never changes another.
uint64_t seedFor(int n, int part = 0) { return 0x5641'4B55'524F'0000ull + uint64_t(n) * 16 + part; }

// ---------------------------------------------------------------------------
// Stretched pictures: gradients.

// Elliptical radial gradient from the centre (t = 0) to the corners (t = 1).
Picture radial(const std::vector<Stop>& stops) {
    Picture p(W, H);
    p.fill(3, [&](double x, double y) {
        const double u = (x - W / 2.0) / (W / 2.0), v = (y - H / 2.0) / (H / 2.0);
        return gradient(stops, std::sqrt((u * u + v * v) / 2), true);
    });
    return p;
}

// Gradient from the left edge (t = 0) to the right edge (t = 1).
Picture leftToRight(const std::vector<Stop>& stops) {
    Picture p(W, H);
    p.fill(3, [&](double x, double) { return gradient(stops, x / W, true); });
    return p;
}

// ---------------------------------------------------------------------------
// Tiled textures. Their noise leaves out the waves longer than about 35
// pixels: a blotch the size of the whole tile would show the repeat.

Picture fineGrain() {
    const Field fine = spectralNoise(W, H, seedFor(7), [](double fx, double fy) {
        const double f = std::hypot(fx, fy);
        return f < 0.12 ? 0.0 : 1.0;
    });
    const Field soft = fractalNoise(W, H, seedFor(7, 1), 1.0, 0.03, 0.12);
    Picture p(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double v = 156 + 15 * fine.at(x, y) + 6 * soft.at(x, y);
            p.at(x, y) = {v, v, v + 3};
        }
    return p;
}

// Plain weave: threads 5 pixels wide, warp (vertical) over weft (horizontal)
// on alternate cells; 160 and 40 are whole numbers of the 10-pixel repeat.
Picture wovenFabric() {
    constexpr double thread = 5;
    // Fibres run along each thread: noise elongated vertically for the warp
    // and horizontally for the weft.
    const Field warpFibre = spectralNoise(W, H, seedFor(8, 0), [](double fx, double fy) {
        return std::abs(fy) < 0.04 && std::abs(fx) > 0.05 ? 1.0 : 0.0;
    });
    const Field weftFibre = spectralNoise(W, H, seedFor(8, 1), [](double fx, double fy) {
        return std::abs(fx) < 0.02 && std::abs(fy) > 0.05 ? 1.0 : 0.0;
    });
    Random rng(seedFor(8, 2));
    std::array<double, W / 5> warpTone{};
    std::array<double, H / 5> weftTone{};
    for (double& t : warpTone) t = rng.uniform(-1, 1);
    for (double& t : weftTone) t = rng.uniform(-1, 1);
    const Rgb warpColour{244, 204, 62}, weftColour{236, 186, 40};

    Picture p(W, H);
    p.fill(3, [&](double x, double y) {
        const int cx = static_cast<int>(x / thread), cy = static_cast<int>(y / thread);
        const double u = x / thread - cx, v = y / thread - cy;
        const bool warpOnTop = (cx + cy) % 2 == 0;
        // Across the thread: rounded; along it: dipping where it passes under.
        const double across = warpOnTop ? u : v, along = warpOnTop ? v : u;
        const double round = std::pow(std::sin(kPi * across), 0.6);
        const double dip = 0.78 + 0.22 * std::sin(kPi * along);
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        const double fibre = warpOnTop ? warpFibre.at(ix, iy) : weftFibre.at(ix, iy);
        const double tone = warpOnTop ? warpTone[cx] : weftTone[cy];
        const Rgb base = warpOnTop ? warpColour : weftColour;
        const double k = (0.42 + 0.62 * round * dip) * (1 + 0.05 * tone + 0.06 * fibre);
        return shade(base, k);
    });
    return p;
}

// Beige stone: sandy limestone. Mottled colour at two scales, a gentle
// relief lit from above, fine sand grains and a few small dark pores.
Picture beigeStone() {
    const Field height = fractalNoise(W, H, seedFor(9, 0), 1.0, 0.02, 0.2);
    const Field mottle = fractalNoise(W, H, seedFor(9, 1), 1.3, 0.02, 0.2);
    const Field blotch = fractalNoise(W, H, seedFor(9, 2), 0.6, 0.03, 0.3);
    const Field sand = spectralNoise(W, H, seedFor(9, 3), [](double, double) { return 1.0; });
    const Sites pores = scatterSites(W, H, 70, seedFor(9, 4));
    Random rng(seedFor(9, 5));
    std::vector<double> poreSize;
    for (size_t i = 0; i < pores.x.size(); ++i) poreSize.push_back(0.5 + 0.8 * rng.uniform() * rng.uniform());
    const std::vector<Stop> palette{
        {-2.0, {196, 172, 134}}, {0.0, {220, 202, 166}}, {2.0, {238, 226, 200}}};
    Picture p(W, H);
    p.fill(3, [&](double x, double y) {
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        const double gy = height.wrapped(ix, iy + 1) - height.wrapped(ix, iy - 1);
        Rgb c = gradient(palette, mottle.at(ix, iy) + 0.45 * blotch.at(ix, iy), true);
        c = shade(c, 1 - 0.05 * gy + 0.035 * sand.at(ix, iy));
        const Sites::Nearest pore = pores.nearest(x, y);
        if (pore.d1 < poreSize[pore.index]) c = mix(c, Rgb{132, 112, 86}, 0.75);
        else if (pore.d1 < poreSize[pore.index] + 0.8) c = shade(c, 1.06);  // lit rim
        return c;
    });
    return p;
}

struct Mineral {
    Rgb colour;
    double share;
};

// Granite: crystal grains as cells of a warped Voronoi pattern on the torus,
// each grain one mineral with its own slight tint, dark seams between
// grains, a faint sparkle inside them.
Picture granite(int n, const std::vector<Mineral>& minerals) {
    const Sites sites = scatterSites(W, H, 1150, seedFor(n, 0));
    const Field warpX = fractalNoise(W, H, seedFor(n, 1), 1.0, 0.02, 0.25);
    const Field warpY = fractalNoise(W, H, seedFor(n, 2), 1.0, 0.02, 0.25);
    const Field grain = spectralNoise(W, H, seedFor(n, 3), [](double, double) { return 1.0; });
    const Field cloud = fractalNoise(W, H, seedFor(n, 4), 1.2, 0.03, 0.1);

    Random rng(seedFor(n, 5));
    std::vector<Rgb> grainColour;
    double total = 0;
    for (const Mineral& m : minerals) total += m.share;
    for (size_t i = 0; i < sites.x.size(); ++i) {
        double pick = rng.uniform() * total;
        size_t k = 0;
        while (k + 1 < minerals.size() && pick >= minerals[k].share) pick -= minerals[k++].share;
        grainColour.push_back(shade(minerals[k].colour, 1 + rng.uniform(-0.14, 0.14)));
    }

    Picture p(W, H);
    p.fill(2, [&](double x, double y) {
        const double wx = x + 0.7 * warpX.sample(x, y), wy = y + 0.7 * warpY.sample(x, y);
        const Sites::Nearest near = sites.nearest(wx, wy);
        const double seam = smoothstep(0.0, 0.35, near.d2 - near.d1);
        return grainColour[near.index] * (0.8 + 0.2 * seam);
    });
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            p.at(x, y) = shade(p.at(x, y), 1 + 0.035 * grain.at(x, y) + 0.04 * cloud.at(x, y));
    return p;
}

struct SpeckleColours {
    Rgb base;
    std::vector<Mineral> dots;
};

// Speckle: a mottled ground strewn with round flecks of a few colours.
Picture speckle(int n, const SpeckleColours& colours) {
    const Field mottle = fractalNoise(W, H, seedFor(n, 0), 1.2, 0.03, 0.3);
    struct Dot {
        double x, y, r;
        Rgb c;
    };
    Random rng(seedFor(n, 1));
    double total = 0;
    for (const Mineral& m : colours.dots) total += m.share;
    std::vector<Dot> dots;
    for (int i = 0; i < 520; ++i) {
        Dot d{rng.uniform(0, W), rng.uniform(0, H), 0.45 + 0.9 * rng.uniform() * rng.uniform(), {}};
        double pick = rng.uniform() * total;
        size_t k = 0;
        while (k + 1 < colours.dots.size() && pick >= colours.dots[k].share)
            pick -= colours.dots[k++].share;
        d.c = shade(colours.dots[k].colour, 1 + rng.uniform(-0.08, 0.08));
        dots.push_back(d);
    }
    Picture p(W, H);
    p.fill(3, [&](double x, double y) {
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        Rgb c = shade(colours.base, 1 + 0.06 * mottle.at(ix, iy));
        for (const Dot& d : dots) {
            const double dx = wrapDelta(x, d.x, W), dy = wrapDelta(y, d.y, H);
            if (dx * dx + dy * dy < d.r * d.r) c = d.c;
        }
        return c;
    });
    return p;
}

// Horizontal pinstripes every 5 rows (8 to the picture height) on a
// brushed grey ground; uniform along x, so only the rows need to repeat.
Picture pinstripes() {
    const Field brush = spectralNoise(W, H, seedFor(26), [](double fx, double fy) {
        return std::abs(fx) <= 0.02 && fy != 0 ? 1.0 : 0.0;
    });
    Picture p(W, H);
    p.fill(4, [&](double x, double y) {
        const double phase = std::fmod(y, 5.0);
        // A light line of 1.1 pixels with a soft dark line under it.
        const double line = phase >= 1.45 && phase < 2.55 ? 1.0 : 0.0;
        const double under = phase >= 2.55 && phase < 3.3 ? 1.0 : 0.0;
        const double b = brush.at(static_cast<int>(x), static_cast<int>(y));
        Rgb ground{128, 131, 138};
        ground = shade(ground, 1 + 0.03 * b);
        return mix(mix(ground, Rgb{226, 228, 232}, 0.85 * line), Rgb{98, 100, 106}, 0.6 * under);
    });
    return p;
}

// ---------------------------------------------------------------------------
// Stretched pictures: stripes, waves, rainbows, metal.

Picture diagonalStripes(Rgb colour) {
    Picture p(W, H);
    p.fill(4, [&](double x, double y) {
        const double s = std::fmod(x + y, 16.0);
        const Rgb band = s < 8 ? colour : Rgb{252, 252, 252};
        // A gentle top-lit sheen.
        return shade(band, 1.04 - 0.12 * (y / H));
    });
    return p;
}

// White above, colour below a scalloped line: four round crests with a
// light rim, the colour deepening towards the bottom.
Picture wave(Rgb light, Rgb mid, Rgb deep) {
    Picture p(W, H);
    p.fill(4, [&](double x, double y) {
        const double edge = 25 - 9 * std::abs(std::sin(kPi * (x + 20) / 40));
        if (y < edge) return mix(kWhite, mix(light, kWhite, 0.7), 0.35 * (y / edge));
        const double depth = y - edge;
        Rgb c = gradient({{0, light}, {4, mid}, {22, deep}}, depth, true);
        // Rim: a pale band along the crest.
        const double rim = smoothstep(0.0, 0.8, depth) * (1 - smoothstep(1.2, 2.6, depth));
        return mix(c, kWhite, 0.55 * rim);
    });
    return p;
}

const std::vector<Stop>& rainbow() {
    static const std::vector<Stop> stops{
        {0.0 / 6, {228, 32, 40}},  {1.0 / 6, {246, 140, 24}}, {2.0 / 6, {250, 222, 40}},
        {3.0 / 6, {62, 184, 72}},  {4.0 / 6, {36, 130, 222}}, {5.0 / 6, {76, 62, 182}},
        {6.0 / 6, {156, 60, 180}},
    };
    return stops;
}

Picture rainbowBands() {
    Picture p(W, H);
    const auto& stops = rainbow();
    p.fill(4, [&](double, double y) {
        const double band = y / H * 7;  // seven bands, soft-edged
        const int i = std::min(6, static_cast<int>(band));
        const double f = band - i;
        const Rgb a = stops[i].colour, b = stops[std::min(6, i + 1)].colour;
        return mix(a, b, smoothstep(0.82, 1.0, f));
    });
    return p;
}

Picture rainbowDiagonal() {
    Picture p(W, H);
    p.fill(3, [&](double x, double y) { return gradient(rainbow(), (x + 1.5 * y) / (W + 1.5 * H), true); });
    return p;
}

// Polished metal: bands of light and shadow across the picture, as a
// reflection of sky and ground, with fine brushing along the bands.
std::vector<Stop> metalProfile(Rgb dark, Rgb mid, Rgb light, Rgb shine) {
    return {{0.00, mid},   {0.18, light}, {0.30, shine}, {0.42, light}, {0.52, dark},
            {0.60, mid},   {0.78, light}, {0.90, shine}, {1.00, mid}};
}

Picture metalBands(int n, Rgb dark, Rgb mid, Rgb light, Rgb shine) {
    const auto stops = metalProfile(dark, mid, light, shine);
    Random rng(seedFor(n));
    std::array<double, H> brush{};
    for (double& b : brush) b = rng.uniform(-1, 1);
    Picture p(W, H);
    p.fill(3, [&](double, double y) {
        const Rgb c = gradient(stops, y / H, true);
        return shade(c, 1 + 0.025 * brush[static_cast<int>(y)]);
    });
    return p;
}

Picture darkSilverDiagonal() {
    const std::vector<Stop> profile{{0.00, {70, 74, 82}},   {0.30, {150, 155, 164}},
                                    {0.45, {222, 226, 232}}, {0.55, {160, 165, 174}},
                                    {0.80, {58, 62, 70}},    {1.00, {70, 74, 82}}};
    Picture p(W, H);
    p.fill(4, [&](double x, double y) {
        const double s = std::fmod((x + 1.6 * y) / 46.0, 1.0);
        return gradient(profile, s, true);
    });
    return p;
}

// ---------------------------------------------------------------------------
// Stretched pictures: sunbursts.

// Angle of the point seen from the centre, in turns 0..1. Vertical offsets
// count double so that the rays spread over the wide picture evenly.
double turnsFromCentre(double x, double y, double cx, double cy) {
    const double a = std::atan2((y - cy) * 2.2, x - cx) / (2 * kPi);
    return a < 0 ? a + 1 : a;
}

double distanceFromCentre(double x, double y, double cx, double cy) {
    return std::hypot((x - cx) / (W / 2.0), (y - cy) / (H / 2.0));
}

// colours(i) gives the colour of ray i of count; a glow of glowColour
// lightens the centre.
template <class C>
Picture sunburst(int count, C colours, Rgb glowColour, double glow) {
    Picture p(W, H);
    const double cx = W / 2.0, cy = H / 2.0;
    p.fill(4, [&](double x, double y) {
        const int ray = static_cast<int>(turnsFromCentre(x, y, cx, cy) * count) % count;
        const double d = distanceFromCentre(x, y, cx, cy);
        return mix(colours(ray), glowColour, glow * std::exp(-d * d / 0.12));
    });
    return p;
}

Picture twoColourSunburst(Rgb colour, Rgb deep) {
    // The coloured rays deepen towards the rim; the white ones stay white.
    Picture p(W, H);
    const double cx = W / 2.0, cy = H / 2.0;
    p.fill(4, [&](double x, double y) {
        const int ray = static_cast<int>(turnsFromCentre(x, y, cx, cy) * 24) % 24;
        const double d = distanceFromCentre(x, y, cx, cy);
        const Rgb c = ray % 2 ? mix(colour, deep, clamp01(d / 1.4)) : Rgb{252, 252, 250};
        return mix(c, kWhite, 0.55 * std::exp(-d * d / 0.05));
    });
    return p;
}

// ---------------------------------------------------------------------------
// Stretched pictures: stone, sky, swirl.

Picture greyMarble() {
    const Field turb = fractalNoise(W, H, seedFor(41, 0), 1.5, 0.006, 0.1);
    const Field turb2 = fractalNoise(W, H, seedFor(41, 1), 1.5, 0.006, 0.12);
    const Field cloud = fractalNoise(W, H, seedFor(41, 2), 1.4, 0.006, 0.1);
    const Field grain = spectralNoise(W, H, seedFor(41, 3), [](double, double) { return 1.0; });
    Picture p(W, H);
    p.fill(3, [&](double x, double y) {
        // Veins: sines across the picture, bent by smooth noise; their
        // strength varies along them.
        const double s1 = std::sin((x * 0.8 + y * 2.0) / 15.0 + 1.7 * turb.sample(x, y));
        const double s2 = std::sin((x * 1.2 - y * 1.4) / 11.0 + 1.5 * turb2.sample(x, y));
        const double vein = std::pow(1 - std::abs(s1), 7) * (0.55 + 0.45 * smoothstep(-1, 1, turb2.sample(x, y)));
        const double hair = std::pow(1 - std::abs(s2), 14);
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        Rgb c = mix(Rgb{236, 236, 234}, Rgb{188, 190, 194}, smoothstep(-1.6, 1.6, cloud.sample(x, y)));
        c = mix(c, Rgb{150, 152, 158}, 0.3 * std::pow(1 - std::abs(s1), 2.5));  // halo
        c = mix(c, Rgb{88, 90, 98}, 0.8 * vein);
        c = mix(c, Rgb{150, 152, 158}, 0.45 * hair);
        return shade(c, 1 + 0.012 * grain.at(ix, iy));
    });
    return p;
}

struct SkyLook {
    Rgb top, horizon;      // sky gradient
    double cover;          // cloud threshold offset: higher gives more cloud
    double softness;       // width of the cloud edge
    Rgb cloudLight, cloudShadow;
};

// Sky with clouds: a vertical gradient, and clouds from horizontally
// stretched fractal noise, lit from above (tops light, undersides grey).
Picture sky(int n, const SkyLook& look) {
    const Field density = fractalNoise(W, H, seedFor(n, 0), 1.45, 0.004, 0.16, 2.2);
    Picture p(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double t = double(y) / (H - 1);
            const Rgb air = gradient({{0, look.top}, {1, look.horizon}}, t, true);
            // More cloud towards the horizon.
            const double d = density.at(x, y) + look.cover + 0.5 * t;
            const double cover = smoothstep(0.3, 0.3 + look.softness, d);
            const double above = density.at(x, std::max(0, y - 3)) - density.at(x, y);
            const double lit = clamp01(0.62 - 0.45 * above);
            const Rgb cloud = mix(look.cloudShadow, look.cloudLight, lit);
            p.at(x, y) = mix(air, cloud, cover);
        }
    return p;
}

Picture swirl() {
    Picture p(W, H);
    const double cx = W / 2.0, cy = H / 2.0;
    const Rgb blue{38, 96, 200}, pale{246, 250, 255};
    p.fill(4, [&](double x, double y) {
        const double dx = x - cx, dy = (y - cy) * 2.0;
        const double r = std::hypot(dx, dy);
        const double a = std::atan2(dy, dx);
        const double arms = std::sin(5 * a + r * 0.16);
        const Rgb c = mix(blue, pale, smoothstep(-0.25, 0.25, arms));
        // The centre fades to white.
        return mix(c, kWhite, std::exp(-r * r / 60.0));
    });
    return p;
}

Picture horizon() {
    const std::vector<Stop> stops{{0.00, {252, 246, 222}}, {0.45, {244, 226, 184}},
                                  {0.55, {214, 170, 112}}, {0.75, {160, 104, 56}},
                                  {1.00, {92, 52, 26}}};
    Picture p(W, H);
    p.fill(3, [&](double, double y) { return gradient(stops, y / H, true); });
    return p;
}

Picture sunGlare() {
    const double sx = 34, sy = 11;
    Picture p(W, H);
    p.fill(4, [&](double x, double y) {
        const double t = y / H;
        Rgb c = gradient({{0, {30, 86, 178}}, {1, {120, 180, 236}}}, t, true);
        const double dx = x - sx, dy = y - sy;
        const double d = std::hypot(dx, dy);
        // Wide halo, bright core, a faint star of rays and two flare rings
        // along the line from the sun through the picture centre.
        const double halo = std::exp(-d / 26.0);
        const double core = smoothstep(5.5, 3.5, d);
        const double a = std::atan2(dy, dx);
        const double rays = std::pow(std::abs(std::cos(3 * a)), 40) * std::exp(-d / 30.0);
        c = mix(c, Rgb{255, 246, 214}, clamp01(0.85 * halo + 0.5 * rays));
        c = mix(c, kWhite, core);
        const double ux = W / 2.0 - sx, uy = H / 2.0 - sy;
        for (const double along : {1.55, 2.3}) {
            const double fx = sx + ux * along, fy = sy + uy * along;
            const double fd = std::hypot(x - fx, y - fy);
            const double ring = std::exp(-std::pow((fd - 4.5) / 1.2, 2));
            const double disc = smoothstep(4.5, 2.5, fd);
            c = mix(c, Rgb{210, 236, 255}, 0.22 * ring + 0.12 * disc);
        }
        return c;
    });
    return p;
}

}  // namespace

bool textureIsTiled(int n) {
    switch (n) {
        case 7: case 8: case 9: case 13: case 14: case 15: case 16:
        case 20: case 21: case 22: case 26:
            return true;
        default:
            return false;
    }
}

Picture makeTexture(int n) {
    switch (n) {
        case 0:
            return radial({{0, {244, 252, 255}}, {0.45, {166, 214, 246}}, {1, {72, 142, 216}}});
        case 1:
            return radial({{0, {236, 255, 214}}, {0.5, {124, 206, 98}}, {1, {30, 118, 46}}});
        case 2:
            return radial({{0, {250, 246, 254}}, {0.5, {194, 184, 214}}, {1, {118, 110, 140}}});
        case 3:
            return radial({{0, {240, 104, 18}}, {0.55, {250, 184, 36}}, {1, {255, 238, 118}}});
        case 4:
            return radial({{0, {112, 34, 146}}, {0.45, {214, 34, 62}}, {1, {250, 152, 40}}});
        case 5:
            return radial({{0, {118, 140, 118}}, {0.55, {196, 210, 192}}, {1, {255, 255, 255}}});
        case 6:
            return radial({{0, {255, 246, 176}}, {0.16, {250, 212, 54}}, {0.5, {112, 96, 44}},
                           {1, {40, 40, 46}}});
        case 7: return fineGrain();
        case 8: return wovenFabric();
        case 9: return beigeStone();
        case 10:
            return leftToRight({{0, {104, 56, 22}}, {0.35, {204, 134, 70}}, {0.55, {242, 194, 134}},
                                {0.75, {178, 108, 52}}, {1, {92, 48, 20}}});
        case 11:
            return leftToRight({{0, {58, 78, 110}}, {0.5, {138, 158, 186}}, {1, {226, 234, 244}}});
        case 12:
            return leftToRight({{0, {30, 140, 64}}, {0.55, {150, 214, 150}}, {1, {255, 255, 255}}});
        case 13:
            return granite(n, {{{214, 136, 128}, 44}, {{236, 188, 178}, 20}, {{172, 166, 168}, 20},
                               {{46, 40, 44}, 16}});
        case 14:
            return granite(n, {{{40, 72, 52}, 40}, {{24, 32, 28}, 24}, {{96, 140, 100}, 18},
                               {{176, 196, 172}, 18}});
        case 15:
            return granite(n, {{{68, 90, 136}, 34}, {{148, 170, 212}, 20}, {{212, 218, 232}, 14},
                               {{30, 36, 62}, 20}, {{112, 158, 222}, 12}});
        case 16:
            return granite(n, {{{222, 222, 220}, 30}, {{170, 170, 172}, 30}, {{118, 118, 124}, 20},
                               {{34, 34, 38}, 20}});
        case 17: return diagonalStripes({214, 30, 46});
        case 18: return diagonalStripes({34, 90, 200});
        case 19: return diagonalStripes({38, 158, 70});
        case 20:
            return speckle(n, {{150, 76, 40}, {{{78, 34, 18}, 45}, {{216, 142, 86}, 35}, {{236, 204, 162}, 20}}});
        case 21:
            return speckle(n, {{38, 140, 140}, {{{14, 74, 80}, 45}, {{120, 212, 200}, 35}, {{226, 246, 240}, 20}}});
        case 22:
            return speckle(n, {{118, 70, 170}, {{{62, 28, 98}, 45}, {{190, 150, 232}, 35}, {{242, 226, 250}, 20}}});
        case 23: return wave({110, 176, 240}, {40, 110, 214}, {14, 44, 130});
        case 24: return wave({255, 236, 110}, {250, 200, 24}, {214, 130, 10});
        case 25: return wave({255, 130, 120}, {226, 36, 40}, {130, 10, 24});
        case 26: return pinstripes();
        case 27: return rainbowBands();
        case 28: return leftToRight(rainbow());
        case 29: return rainbowDiagonal();
        case 30:
            return metalBands(n, {104, 62, 14}, {190, 136, 44}, {236, 196, 104}, {255, 246, 200});
        case 31:
            return metalBands(n, {86, 90, 98}, {160, 164, 172}, {214, 218, 226}, {252, 253, 255});
        case 32:
            return metalBands(n, {150, 110, 0}, {232, 190, 20}, {252, 230, 90}, {255, 252, 214});
        case 33: return darkSilverDiagonal();
        case 34:
            return sunburst(24, [](int i) { return shade(gradient(rainbow(), (i / 2) / 11.0), i % 2 ? 1.0 : 1.25); },
                            kWhite, 0.65);
        case 35:
            return sunburst(20, [](int i) { return i % 2 ? Rgb{200, 16, 26} : Rgb{240, 64, 48}; },
                            Rgb{255, 220, 120}, 0.8);
        case 36:
            return sunburst(20, [](int i) { return hsv(i / 5.0 * 0.2 + (i % 2) * 0.5, 0.32, 1.0); },
                            kWhite, 0.6);
        case 37:
            return sunburst(72, [](int i) { return hsv(i / 72.0 * 3, i % 2 ? 1.0 : 0.75, i % 2 ? 0.9 : 1.0); },
                            kWhite, 0.55);
        case 38: return twoColourSunburst({222, 28, 38}, {150, 10, 24});
        case 39: return twoColourSunburst({40, 104, 214}, {18, 50, 140});
        case 40: return twoColourSunburst({40, 170, 72}, {16, 100, 40});
        case 41: return greyMarble();
        case 42:
            return sky(n, {{70, 120, 190}, {176, 206, 234}, 0.35, 0.9, {255, 255, 255}, {150, 158, 176}});
        case 43:
            return sky(n, {{20, 80, 190}, {110, 170, 236}, -0.35, 0.6, {255, 255, 255}, {186, 196, 216}});
        case 44:
            return sky(n, {{120, 186, 240}, {214, 236, 252}, -0.1, 1.2, {255, 255, 255}, {206, 220, 236}});
        case 45: return swirl();
        case 46: return horizon();
        case 47: return sunGlare();
        default:
            throw std::out_of_range("texture number");
    }
}

}  // namespace vakuro::gen
