#include "support/paths/savequeue.h"
#include "testkit/tempdrive.h"

#include <gtest/gtest.h>

using namespace ksn;
using ksn::test::TempDrive;

// Saves that fail at once (a folder in the way) overtake the ones still syncing to disk; the
// results must still come back in the order the saves were handed over, each with its own outcome,
// whatever the number of threads and of saves in flight, and the folder stays. With three threads
// the rest is left to the destructor, which must wait for every save.
TEST(SaveQueueTest, ResultsComeBackInSubmissionOrderWithTheirOwnOutcome) {
    for (const auto& [threads, inFlight] : {std::pair{1, 1}, {4, 1}, {8, 32}, {3, 2}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, " << inFlight << " in flight");
        TempDrive drive;
        const auto name = [](int i) { return QStringLiteral("f%1.KSN").arg(i % 3 == 1 ? -1 : i); };
        drive.mkdir(name(1));
        std::vector<SaveQueue::Finished> done;
        {
            SaveQueue queue(FileSystem(drive.driveMap(), drive.win({})), threads, inFlight);
            for (int i = 0; i < 40; ++i) {
                queue.submit(i, name(i), QByteArray::number(i));
                for (auto& f : queue.takeFinished()) done.push_back(std::move(f));
            }
            if (threads != 3)
                for (auto& f : queue.finishAll()) done.push_back(std::move(f));
        }
        ASSERT_TRUE(threads == 3 || done.size() == 40u) << done.size();
        for (size_t i = 0; i < done.size(); ++i) {
            EXPECT_EQ(done[i].tag, int(i));
            EXPECT_EQ(done[i].result.ok, i % 3 != 1) << done[i].result.error.toStdString();
        }
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(drive.read(name(i)), i % 3 != 1 ? QByteArray::number(i) : QByteArray()) << i;
    }
}
