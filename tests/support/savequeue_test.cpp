#include "savequeue.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

using namespace ksn;
using ksn::test::TempDrive;

// Saves that fail at once (a folder in the way) overtake the ones still syncing to disk; the
// results must still come back in the order the saves were handed over, each with its own outcome,
// whatever the number of threads and of saves in flight.
TEST(SaveQueueTest, ResultsComeBackInSubmissionOrderWithTheirOwnOutcome) {
    for (const auto& [threads, inFlight] : {std::pair{1, 1}, {4, 1}, {8, 32}, {3, 2}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, " << inFlight << " in flight");
        TempDrive drive;
        drive.mkdir(QStringLiteral("blocked.KSN"));
        std::vector<SaveQueue::Finished> done;
        {
            SaveQueue queue(FileSystem(drive.driveMap(), drive.win({})), threads, inFlight);
            for (int i = 0; i < 40; ++i) {
                const QString name = i % 3 == 1 ? QStringLiteral("blocked.KSN") : QStringLiteral("f%1.KSN").arg(i);
                queue.submit(i, name, QByteArray::number(i));
                for (auto& f : queue.takeFinished()) done.push_back(std::move(f));
            }
            // With three threads the rest is left to the destructor: it must wait for every save.
            if (threads != 3)
                for (auto& f : queue.finishAll()) done.push_back(std::move(f));
        }
        if (threads == 3) {
            for (int i = 0; i < 40; i += 3) EXPECT_EQ(drive.read(QStringLiteral("f%1.KSN").arg(i)), QByteArray::number(i));
            continue;
        }
        ASSERT_EQ(done.size(), 40u);
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(done[size_t(i)].tag, i);
            EXPECT_EQ(done[size_t(i)].result.ok, i % 3 != 1) << done[size_t(i)].result.error.toStdString();
            if (i % 3 != 1) {
                EXPECT_EQ(drive.read(QStringLiteral("f%1.KSN").arg(i)), QByteArray::number(i));
            }
        }
    }
}
