// What every effect generator works with: the sizes, the base and work
// files, the base picture and the working pictures, the base background,
// the style record and the libraries (through the program state), the
// per-character cut-outs, the random source, the entry being played, and
// the frame sink (AniDatSet). The driver fills one context per run and hands
// it to the generator of each entry; app/animation/README.md describes the
// contract.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "character_cutouts.h"
#include "program_state.h"
#include "schedule.h"

namespace vakuro {

class RenderPipeline;

// The random source of the effects: uniform numbers in [0, 1), seeded from
// the clock once per program run (tests seed it themselves).
class AnimationRandom {
public:
    AnimationRandom();
    void seed(uint64_t value) { engine_.seed(value); }
    double next();

private:
    std::mt19937_64 engine_;
};
AnimationRandom& animationRandom();

// State that belongs to the animation window and outlives one run: tables
// built when the window opens and particle state that an entry keeps from
// frame to frame. Generator authors add what their effects need here.
struct EffectState {
    // Splash delays [D][r][c] for grid sizes D = 1 .. 4 (SetDiz fills them
    // when the window opens; index 0 is unused).
    std::array<std::array<std::array<float, 4>, 4>, 5> splashDelay{};

    // Snow balls and stars: set up by the generator's preparation call, moved
    // by each frame of the same entry.
    struct Particle {
        float x = 0, y = 0, speed = 0;
        int value = 0;  // size for snow, phase for stars
    };
    std::vector<Particle> particles;

    // ---- Light, snow and illumination --------------------------------------
    // The light's mask picture: made on the first frame of a light entry and
    // used by the entry's other frames.
    QImage lightMask;
    // Snow intensity tables [y][x] of the small and the large snow ball,
    // filled by the snow's preparation call from the sprites.
    std::array<std::array<int, 28>, 28> snowSmall{};
    std::array<std::array<int, 28>, 28> snowLarge{};
    // The star glint's lit pixels, row by row: offsets and intensity profile
    // I[0 .. c], filled by the illumination's preparation call.
    struct StarPixel {
        int dx = 0, dy = 0;
        std::vector<int> intensity;
    };
    std::vector<StarPixel> starPixels;

    // The per-character cut-outs of the last run that needed them ("DB").
    CharacterCutouts lastCut;
    bool hasLastCut = false;

    // The generators' working pictures, kept here so that the window can
    // show them ("DB2"): the canvas written to the work file, the holder of
    // one picture at a time and the copy picture of the perspective steps.
    QImage canvas;
    QImage holder;
    QImage copy;
};

// One frame added to the frame table: the path of a 24-bit BMP file, the
// delay in hundredths of a second and the progress weight. Returns false
// when the run has been stopped (the table is full or a frame could not be
// read); the generator should then return at once.
using FrameSink = std::function<bool(const QByteArray& path, int delay, int weight)>;

// The timing of one entry, as the driver computes it.
struct EntryTiming {
    double seconds = 0;       // D: the entry's duration, clamped to 0 .. 30
    int framesPerSecond = 1;  // F: clamped to 1 .. 30
    int n = 0;                // round(D * F - 1), raised to 1 when it is 0; -1 makes no frames
    int delay = 100;          // d = round(100 / F), hundredths of a second
};

struct GenerationContext {
    GenerationContext(ProgramState& state, EffectState& effects) : state(state), effects(effects) {}

    ProgramState& state;    // the style record (state.style), options, libraries
    EffectState& effects;   // window-owned tables, particles and working pictures

    // The text of the main window (the per-character effects and the
    // renderings of kinds 7 and 9 use it).
    QString text;

    // Output size W x H (what the user chose) and the width scale
    // (W / width of the full-size rendering).
    int outputWidth = 0;
    int outputHeight = 0;
    double widthScale = 0.5;
    // Frame size Wf x Hf: the size of the base picture after the resize.
    int frameWidth = 0;
    int frameHeight = 0;

    // The base image GifAnime0.bmp (the text at frame size) and the work
    // image GifAnimeW.bmp, as paths and as the bytes the libraries take.
    QString basePath;
    QString workPath;
    QByteArray baseFile;
    QByteArray workFile;

    // The base image, loaded (Format_RGB32, Wf x Hf).
    QImage basePicture;
    // Colour (0x00BBGGRR) of the base picture's pixel at column 1, row 1.
    int baseBackground = 0;
    // The Anime setting "Smooth": resize with area averaging.
    bool smooth = true;

    // Cut-outs of the text, one picture per glyph at output size (only when
    // the schedule has a per-character kind).
    const CharacterCutouts* cutouts = nullptr;

    // The entry being played and its place in the schedule.
    const ScheduleEntry* entry = nullptr;
    int entryIndex = -1;

    // ---- Services ------------------------------------------------------------

    const Libraries& libraries() const { return state.libraries(); }
    // The style record's background colour (0x00BBGGRR).
    int backColor() const { return state.style.BackColor; }

    // AniDatSet: appends a frame from a BMP file.
    bool appendFrame(const QByteArray& path, int delay, int weight = 1) { return sink(path, delay, weight); }
    bool appendWork(int delay, int weight = 1) { return sink(workFile, delay, weight); }
    bool appendBase(int delay, int weight = 1) { return sink(baseFile, delay, weight); }
    // False once the run has been stopped.
    bool running() const { return !stopped; }
    // Stops the run because a frame could not be made (an effect failed to
    // write its file): nothing is written, the user is told.
    void frameFailed() {
        failed = true;
        stopped = true;
    }

    // Skips the frame being made because its work image could not be made
    // (an effect of the library or the canvas write failed, so the work
    // file may still hold the previous frame): nothing is appended for it,
    // the run goes on, and the driver says at its end how many frames were
    // skipped.
    void frameSkipped() { ++skippedFrames; }
    // Appends the work file when made is true, else skips the frame.
    // False once the run has been stopped.
    bool appendWorkIfMade(bool made, int delay, int weight = 1) {
        if (made) return appendWork(delay, weight);
        frameSkipped();
        return running();
    }

    // Writes a picture as a 24-bit BMP file (the work file by default).
    bool writePicture(const QImage& picture, const QByteArray& path) const;
    bool writeCanvas() const { return writePicture(effects.canvas, workFile); }
    // Loads a BMP file as a Format_RGB32 picture (null when unreadable).
    static QImage loadPicture(const QString& path);

    // Resizes a file in place to W x H as the base image was resized:
    // SReSize with 2 x 2 samples when smooth, else (or when it fails)
    // HReSize. Returns the library's result.
    int resizeToOutput(const QByteArray& path) const;

    // The text renderer of the main editor: renders the text with the
    // current style into path (RenderTextImage with the given high-quality
    // flag and quality base) and returns the picture it loaded.
    QImage renderText(const QString& path, int highQuality, int qualityBase);
    // Renders with the engine's white-ink flag (a pure white fill is text,
    // not background): set for the two passes of a transparent WebP.
    bool whiteInk = false;

    // ---- Filled by the driver --------------------------------------------------
    FrameSink sink;
    bool stopped = false;
    bool failed = false;
    int skippedFrames = 0;
    RenderPipeline* renderer = nullptr;
};

// Colour conversions between QImage pixels and 0x00BBGGRR.
inline int colourOf(QRgb pixel) { return qRed(pixel) | qGreen(pixel) << 8 | qBlue(pixel) << 16; }
inline QRgb pixelOf(int colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

// A level or position l * scale / n taken to the nearest integer (halves to
// even); the frame loops l = 0 .. n of the effects use it.
int levelOf(int l, int n, int scale);

}  // namespace vakuro
