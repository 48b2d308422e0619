// Saves handed to a few background threads, finished in the order they were handed over.
//
// Each save goes through FileSystem::writeFile, a save file that is synced to disk before it
// replaces the old file. That sync is a wait on the disk, not work for the processor; a batch that
// saves one file after another waits for every sync in turn, while saves running side by side are
// committed by the file system's journal together. Every file is still replaced whole or not at
// all, so a batch stopped or killed part-way leaves each file with its old bytes or its new ones.
#pragma once

#include "support/paths/filesystem.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace ksn {

class SaveQueue {
public:
    struct Finished {
        int tag = 0;   // as given to submit
        QString path;  // as given to submit
        IoResult result;
    };

    // fso is copied: the queue resolves paths against the current directory it had here.
    // At most maxInFlight saves are waiting or running at a time; submit waits for room.
    explicit SaveQueue(const FileSystem& fso, int threads = 8, int maxInFlight = 32);
    // Waits for every save handed over: none is abandoned half-way.
    ~SaveQueue();
    SaveQueue(const SaveQueue&) = delete;
    SaveQueue& operator=(const SaveQueue&) = delete;

    void submit(int tag, const QString& path, const QByteArray& bytes);
    // The saves finished so far, in the order they were submitted, from the first one not yet
    // taken; a save finished early waits behind an earlier one still running.
    std::vector<Finished> takeFinished();
    // Waits for every save submitted, then takes them all.
    std::vector<Finished> finishAll();

private:
    struct Job {
        int tag = 0;
        QString path;
        QByteArray bytes;
        IoResult result;
        bool done = false;
    };
    void work();
    std::vector<Finished> takeLocked();

    const FileSystem fso_;
    const std::size_t maxInFlight_;
    std::mutex mutex_;
    // Two conditions, so that a finished save wakes only the thread that hands saves over and a new
    // save only one of the idle savers: one condition for both woke all eight threads each time.
    std::condition_variable jobAdded_;     // savers wait here for work (or for closing)
    std::condition_variable jobFinished_;  // the submitting thread waits here for room or the end
    std::deque<Job> jobs_;                 // submitted and not yet taken, in submission order
    std::size_t nextToStart_ = 0;          // index into jobs_ of the first job no thread has started
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace ksn
