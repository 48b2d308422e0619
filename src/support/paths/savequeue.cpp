#include "support/paths/savequeue.h"

#include <algorithm>

namespace ksn {

SaveQueue::SaveQueue(const FileSystem& fso, int threads, int maxInFlight)
    : fso_(fso), maxInFlight_(std::size_t(std::max(1, maxInFlight))) {
    const int n = std::max(1, threads);
    threads_.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) threads_.emplace_back([this] { work(); });
}

SaveQueue::~SaveQueue() {
    {
        std::unique_lock lock(mutex_);
        jobFinished_.wait(lock, [this] { return nextToStart_ == jobs_.size(); });
        closing_ = true;
    }
    jobAdded_.notify_all();
    for (auto& t : threads_) t.join();
}

void SaveQueue::submit(int tag, const QString& path, const QByteArray& bytes) {
    {
        std::unique_lock lock(mutex_);
        // Only unfinished saves count: finished ones wait to be taken and hold no thread.
        jobFinished_.wait(lock, [this] {
            return std::size_t(std::count_if(jobs_.begin(), jobs_.end(), [](const Job& j) { return !j.done; })) <
                   maxInFlight_;
        });
        jobs_.push_back(Job{tag, path, bytes, {}, false});
    }
    jobAdded_.notify_one();
}

void SaveQueue::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        jobAdded_.wait(lock, [this] { return closing_ || nextToStart_ < jobs_.size(); });
        if (nextToStart_ >= jobs_.size()) return;  // closing with nothing left
        Job& job = jobs_[nextToStart_++];
        // Taking jobs only pops finished ones from the front, and this one is not finished, so
        // the reference stays valid; a deque keeps references across push_back.
        const QString path = job.path;
        const QByteArray bytes = job.bytes;
        lock.unlock();
        IoResult result = fso_.writeFile(path, bytes);
        lock.lock();
        job.result = std::move(result);
        job.done = true;
        job.bytes.clear();
        jobFinished_.notify_all();
    }
}

std::vector<SaveQueue::Finished> SaveQueue::takeLocked() {
    std::vector<Finished> out;
    while (!jobs_.empty() && jobs_.front().done) {
        Job& j = jobs_.front();
        out.push_back({j.tag, j.path, std::move(j.result)});
        jobs_.pop_front();
        --nextToStart_;
    }
    return out;
}

std::vector<SaveQueue::Finished> SaveQueue::takeFinished() {
    std::lock_guard lock(mutex_);
    return takeLocked();
}

std::vector<SaveQueue::Finished> SaveQueue::finishAll() {
    std::unique_lock lock(mutex_);
    jobFinished_.wait(lock,
                      [this] { return std::all_of(jobs_.begin(), jobs_.end(), [](const Job& j) { return j.done; }); });
    return takeLocked();
}

}  // namespace ksn
