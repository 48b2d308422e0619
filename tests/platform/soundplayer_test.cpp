#include "support/system/soundplayer.h"
#include "testkit/tempdrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ksn;

// Without the module a sound is not played (the window beeps instead) and the reason is kept;
// with it, only an existing file is handed over.
TEST(SoundPlayerTest, LoadsTheModuleOnDemandAndRefusesWhatItCannotPlay) {
    test::TempDrive drive;
    drive.write(QStringLiteral("horn.wav"), QByteArray("RIFF"));

    QTemporaryDir empty;
    SoundPlayer missing(empty.path());
    EXPECT_FALSE(missing.play(drive.host(QStringLiteral("horn.wav"))));
    EXPECT_FALSE(missing.loadError().isEmpty());

    SoundPlayer beside(QStringLiteral(KSNED_SOUND_MODULE_DIR));
    EXPECT_FALSE(beside.play(drive.host(QStringLiteral("none.wav"))));
    EXPECT_TRUE(beside.loadError().isEmpty());  // a missing file is refused before loading anything
    ASSERT_TRUE(beside.available()) << beside.loadError().toStdString();
    EXPECT_FALSE(beside.play(drive.hostRoot()));  // a folder is not a sound
    drive.special(QStringLiteral("pipe.wav"));
    EXPECT_FALSE(beside.play(drive.host(QStringLiteral("pipe.wav"))));  // nor a named pipe, which would never end
    EXPECT_FALSE(beside.play(QStringLiteral("/dev/zero")));             // nor a device
}

TEST(SoundPlayerTest, FindsTheModuleInTheInstalledLayout) {
    // <prefix>/bin/ksned32 looks in <prefix>/lib/ksned32 as installed.
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath(QStringLiteral("bin"));
    QDir(prefix.path()).mkpath(QStringLiteral("lib/ksned32"));
    const QString module = QFileInfo(QStringLiteral(KSNED_SOUND_MODULE_FILE)).fileName();
    ASSERT_TRUE(QFile::copy(QStringLiteral(KSNED_SOUND_MODULE_FILE), prefix.path() + "/lib/ksned32/" + module));
    SoundPlayer installed(prefix.path() + QStringLiteral("/bin"));
    EXPECT_TRUE(installed.available()) << installed.loadError().toStdString();
}
