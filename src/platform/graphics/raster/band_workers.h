// A small pool of worker threads that runs one job over horizontal bands of a target, the
// calling thread taking a band too. It lives inside the platform layer: the program itself
// stays single-threaded, and no job touches anything but the pixels of its own band.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Raster {

class Band_Workers {
public:
    explicit Band_Workers(int threads);
    ~Band_Workers();
    Band_Workers(const Band_Workers&) = delete;
    Band_Workers& operator=(const Band_Workers&) = delete;

    int Bands() const { return static_cast<int>(threads_.size()) + 1; }
    // Runs job(band) for band = 0 .. Bands() - 1 and returns when all have finished.
    void Run(const std::function<void(int band)>& job);

    // The process-wide pool, sized to the processor (at most 8 bands).
    static Band_Workers& Shared();

private:
    void Work(int band);

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable done_;
    const std::function<void(int)>* job_ = nullptr;
    uint64_t generation_ = 0;
    int running_ = 0;
    bool stopping_ = false;
};

} // namespace Raster
