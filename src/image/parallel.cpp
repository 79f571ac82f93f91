#include "image/parallel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace palvex {

unsigned WorkersFor(std::size_t count) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::clamp<std::size_t>(count, 1, cores));
}

void ParallelFor(std::size_t count, const std::function<void(std::size_t, unsigned)>& body) {
    std::atomic<std::size_t> next{0};
    const auto work = [&](unsigned worker) {
        for (std::size_t i = next++; i < count; i = next++) {
            body(i, worker);
        }
    };
    std::vector<std::thread> threads;
    const unsigned workers = WorkersFor(count);
    for (unsigned worker = 1; worker < workers; ++worker) {
        try {
            threads.emplace_back(work, worker);
        } catch (const std::exception&) {
            break;  // fewer threads, same work
        }
    }
    work(0);
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace palvex
