// Runs independent pieces of work on the machine's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace parallel {

// Calls body(i) once for every i in [0, count), on up to one thread per core
// (the calling thread is one of them). The calls must not depend on each
// other. When threads cannot be started the calling thread does all the
// work. The first exception a call throws is rethrown here once every
// thread has stopped; the calls not yet started are skipped.
template <class Body>
void forEachIndex(size_t count, Body&& body) {
    constexpr unsigned kMaxThreads = 8;
    std::atomic<size_t> nextIndex{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    const auto work = [&] {
        try {
            for (size_t i = nextIndex++; i < count && !failed; i = nextIndex++) body(i);
        } catch (...) {
            std::lock_guard lock(errorMutex);
            if (!error) error = std::current_exception();
            failed = true;
        }
    };
    const unsigned cores = std::max(1u, std::min(kMaxThreads, std::thread::hardware_concurrency()));
    const size_t helpers = std::min<size_t>(cores, count) - (count > 0 ? 1 : 0);
    std::vector<std::thread> threads;
    try {
        threads.reserve(helpers);
        for (size_t t = 0; t < helpers; ++t) threads.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer helpers than cores: the work is shared among those started.
    }
    work();
    for (std::thread& t : threads) t.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace parallel
