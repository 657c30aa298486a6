#include "frame_table.h"

#include <time.h>

#include <algorithm>
#include <chrono>

namespace vakuro {

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}


}  // namespace

double threadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double processCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

FrameTable::FrameTable(const ImageFormatLibrary& formats, int workers, bool reduceColours)
    : formats_(formats), reduceColours_(reduceColours), records_(kCapacity) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

FrameTable::~FrameTable() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
    release();
}

FrameTable::Append FrameTable::append(const QByteArray& path, int delay) {
    if (count_ >= kCapacity) return Append::Full;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuMilliseconds();
    const int handle = formats_.ToDIB(path.constData());
    loadMs_ += millisecondsSince(start);
    loadCpuMs_ += threadCpuMilliseconds() - cpuStart;
    if (handle == 0) return Append::Unreadable;
    const int index = count_++;
    FrameRecord& r = records_[static_cast<size_t>(index)];
    r = FrameRecord{};
    r.flags = IMGCTL_FRAME_STANDARD;
    r.delay = static_cast<int16_t>(std::clamp(delay, 0, 32767));
    r.dib = handle;
    const Job job{handle, index};
    if (threads_.empty()) {
        reduce(job);
        return Append::Added;
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(job);
    }
    wake_.notify_one();
    return Append::Added;
}

void FrameTable::reduce(const Job& job) {
    const double start = threadCpuMilliseconds();
    const int reduced = reduceColours_ ? formats_.DIBto8Bit(job.handle, 0, 0) : IMGCTL_OK;
    const int index = formats_.PixelDIB(job.handle, 0, 0);
    const double ms = threadCpuMilliseconds() - start;
    std::lock_guard lock(mutex_);
    // Each job writes only the transparent index of its own record, which
    // nobody reads before finish().
    records_[static_cast<size_t>(job.index)].transparentIndex = index >= 0 ? static_cast<uint32_t>(index) : 0;
    if (reduced != IMGCTL_OK || index < 0) failed_ = true;
    reduceCpuMs_ += ms;
}

void FrameTable::work() {
    for (;;) {
        Job job{};
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
            if (queue_.empty()) return;  // quitting with nothing left to do
            job = queue_.front();
            queue_.pop_front();
            ++busy_;
        }
        reduce(job);
        {
            std::lock_guard lock(mutex_);
            --busy_;
        }
        idle_.notify_all();
    }
}

bool FrameTable::finish() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && busy_ == 0; });
    return !failed_;
}

double FrameTable::reduceCpuMilliseconds() const {
    std::lock_guard lock(mutex_);
    return reduceCpuMs_;
}

void FrameTable::setTransparency(bool transparent) {
    for (FrameRecord& r : records()) {
        r.flags = transparent ? IMGCTL_FRAME_STANDARD | IMGCTL_TRANSPARENT : IMGCTL_FRAME_STANDARD;
        r.disposal = transparent ? 2 : 0;
    }
}

void FrameTable::release() {
    finish();
    for (FrameRecord& r : records()) {
        if (r.dib != 0) formats_.DeleteDIB(r.dib);
        r.dib = 0;
    }
    count_ = 0;
    std::lock_guard lock(mutex_);
    failed_ = false;
}

}  // namespace vakuro
