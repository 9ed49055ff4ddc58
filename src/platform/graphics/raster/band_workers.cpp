// Worker pool of the software rasterizer.
#include "platform/graphics/raster/band_workers.h"

#include <algorithm>

namespace Raster {

Band_Workers::Band_Workers(int threads)
{
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this, i] { Work(i + 1); });
}

Band_Workers::~Band_Workers()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    start_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void Band_Workers::Run(const std::function<void(int)>& job)
{
    if (threads_.empty()) {
        job(0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        running_ = static_cast<int>(threads_.size());
        ++generation_;
    }
    start_.notify_all();
    job(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
    job_ = nullptr;
}

void Band_Workers::Work(int band)
{
    uint64_t seen = 0;
    for (;;) {
        const std::function<void(int)>* job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_)
                return;
            seen = generation_;
            job = job_;
        }
        (*job)(band);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--running_ == 0)
                done_.notify_one();
        }
    }
}

Band_Workers& Band_Workers::Shared()
{
    static Band_Workers pool(std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8) - 1);
    return pool;
}

} // namespace Raster
