#include "winpath.h"

#include <gtest/gtest.h>

namespace ksn::winpath {
namespace {

TEST(WinPath, DriveNameOfDriveLetterAndNetworkPaths) {
    EXPECT_EQ(driveName(QStringLiteral("C:\\Trains\\a.bmp")), QStringLiteral("C:"));
    EXPECT_EQ(driveName(QStringLiteral("\\\\server\\share\\a.bmp")), QStringLiteral("\\\\server\\share"));
    EXPECT_EQ(driveName(QStringLiteral("a.bmp")), QString());
}

}  // namespace
}  // namespace ksn::winpath
