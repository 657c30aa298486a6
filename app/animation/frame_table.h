// The frame table of a generation run: the records handed whole to the GIF
// writer (or shown by the preview), the bitmaps behind them, and the
// reduction of each frame to 256 colours, which runs on worker threads while
// the next frames are generated.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include <QByteArray>

#include "library_binding.h"

namespace vakuro {

// Processor time of the calling thread and of the whole process, in
// milliseconds (for the stage times of the benchmark).
double threadCpuMilliseconds();
double processCpuMilliseconds();

class FrameTable {
public:
    // The table has 1001 places (frames 0 .. 1000). The driver counts the
    // frames of a schedule before it generates and refuses schedules that
    // would need more; a generator that appended more anyway is stopped.
    static constexpr int kCapacity = 1001;

    // workers: threads that reduce the frames' colours (0 reduces each frame
    // at once on the calling thread). With reduceColours false the frames
    // keep their 24-bit colours (for WebP) and the transparent value of a
    // record is the colour 0x00BBGGRR of pixel (0, 0).
    FrameTable(const ImageFormatLibrary& formats, int workers, bool reduceColours = true);
    // Waits for the reductions and releases every bitmap.
    ~FrameTable();
    FrameTable(const FrameTable&) = delete;
    FrameTable& operator=(const FrameTable&) = delete;

    enum class Append { Added, Full, Unreadable };
    // AniDatSet, first half: loads the BMP file at path into a bitmap (here,
    // so that the file may be overwritten as soon as this returns), records
    // the handle and the delay, and queues the reduction to 256 colours and
    // the reading of the transparent index (pixel (0, 0)).
    Append append(const QByteArray& path, int delay);

    // Waits until every queued reduction is done. False when one failed.
    bool finish();

    int count() const { return count_; }
    // The records of the frames appended (valid after finish()).
    std::span<FrameRecord> records() { return {records_.data(), static_cast<size_t>(count_)}; }
    std::span<const FrameRecord> records() const { return {records_.data(), static_cast<size_t>(count_)}; }

    // Flags 0x1008 and disposal 2 on every frame when the background is
    // transparent, else 0x1000 and 0.
    void setTransparency(bool transparent);

    // Releases every bitmap and empties the table.
    void release();

    // Milliseconds spent loading the files (wall time and processor time of
    // the calling thread) and reducing colours (processor time summed over
    // the threads), for the benchmark.
    double loadMilliseconds() const { return loadMs_; }
    double loadCpuMilliseconds() const { return loadCpuMs_; }
    double reduceCpuMilliseconds() const;

private:
    struct Job {
        int handle;
        int index;
    };
    void work();
    void reduce(const Job& job);

    const ImageFormatLibrary& formats_;
    bool reduceColours_ = true;
    std::vector<FrameRecord> records_;
    int count_ = 0;
    double loadMs_ = 0;
    double loadCpuMs_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    int busy_ = 0;
    bool failed_ = false;
    bool quit_ = false;
    double reduceCpuMs_ = 0;
    std::vector<std::thread> threads_;
};

}  // namespace vakuro
