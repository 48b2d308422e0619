// ksnparade: the trains of a folder of formations running across a window, or across the window a
// screensaver host hands over.
#include "parade/messages.h"
#include "parade/parade.h"
#include "parade/window.h"
#include "support/mylib.h"
#include "support/paths/filesystem.h"
#include "support/settings/settingsfile.h"
#include "support/system/soundplayer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <random>

namespace ksn::parade {
namespace {

void err(const QString& line) { std::fprintf(stderr, "%s\n", line.toUtf8().constData()); }

struct Run {
    QStringList files;
    QString folder;
};

// A Windows path through the drive map, or a host path named in Windows form.
std::optional<QString> windowsForm(const FileSystem& fs, const QString& path) {
    if (path.size() > 1 && path[1] == u':') return path;
    QString error;
    const auto w = fs.toWindows(QFileInfo(path).absoluteFilePath(), &error);
    if (!w) err(QStringLiteral("ksnparade: ") + error);
    return w;
}

int usage(const QString& why) {
    err(QStringLiteral("ksnparade: ") + why + QStringLiteral("\nTry 'ksnparade --help'."));
    return 2;
}

int run(QGuiApplication& app) {
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("The trains of a folder of formations (.KSN) running across the screen."));
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({
        {QStringLiteral("folder"), QStringLiteral("the formations of DIR (default: the editor's default folder)."),
         QStringLiteral("DIR")},
        {QStringLiteral("file"), QStringLiteral("one formation, over and over."), QStringLiteral("FILE")},
        {QStringLiteral("order"), QStringLiteral("name or shuffle (default)."), QStringLiteral("ORDER"),
         QStringLiteral("shuffle")},
        {QStringLiteral("seed"), QStringLiteral("the shuffle's seed: the same order every run."), QStringLiteral("N")},
        {QStringLiteral("direction"), QStringLiteral("left (default) or right: where the trains run to."),
         QStringLiteral("DIR"), QStringLiteral("left")},
        {QStringLiteral("speed"), QStringLiteral("screen pixels a second (default 160)."), QStringLiteral("N"),
         QStringLiteral("160")},
        {QStringLiteral("scale"), QStringLiteral("whole factor of the cars' pixels (default 1)."), QStringLiteral("N"),
         QStringLiteral("1")},
        {QStringLiteral("no-title"), QStringLiteral("no title while a train runs.")},
        {QStringLiteral("sound"), QStringLiteral("the train's sound as it enters, also under a screensaver host.")},
        {QStringLiteral("no-sound"), QStringLiteral("no sound, also in a window.")},
        {QStringLiteral("no-bellows"), QStringLiteral("leave out coupler bellows pieces.")},
        {QStringLiteral("fullscreen"), QStringLiteral("start full screen (F11 toggles).")},
        {QStringLiteral("root"), QStringLiteral("as a screensaver module: the window XSCREENSAVER_WINDOW names.")},
        {QStringLiteral("window-id"), QStringLiteral("draw into the X11 window ID (a screensaver's preview)."),
         QStringLiteral("ID")},
    });
    if (!p.parse(app.arguments())) return usage(p.errorText());
    if (p.isSet(QStringLiteral("help"))) p.showHelp(0);
    if (p.isSet(QStringLiteral("version"))) p.showVersion();
    if (!p.positionalArguments().isEmpty()) return usage(QStringLiteral("no arguments but options"));

    Options options;
    const QString order = p.value(QStringLiteral("order")), direction = p.value(QStringLiteral("direction"));
    if (order != u"name" && order != u"shuffle") return usage(QStringLiteral("--order takes name or shuffle"));
    if (direction != u"left" && direction != u"right") return usage(QStringLiteral("--direction takes left or right"));
    options.order = order == u"name" ? Order::Name : Order::Shuffle;
    options.direction = direction == u"left" ? Direction::RightToLeft : Direction::LeftToRight;
    bool ok = true;
    options.speed = p.value(QStringLiteral("speed")).toDouble(&ok);
    if (!ok || options.speed <= 0 || options.speed > 100000)
        return usage(QStringLiteral("--speed takes a number above 0"));
    options.scale = p.value(QStringLiteral("scale")).toInt(&ok);
    if (!ok || options.scale < 1 || options.scale > 64)
        return usage(QStringLiteral("--scale takes a number from 1 to 64"));
    options.seed =
        p.isSet(QStringLiteral("seed")) ? p.value(QStringLiteral("seed")).toUInt(&ok) : std::random_device()();
    if (!ok) return usage(QStringLiteral("--seed takes a number"));
    options.title = !p.isSet(QStringLiteral("no-title"));
    options.noBellows = p.isSet(QStringLiteral("no-bellows"));

    // The window a screensaver host hands over: as XSCREENSAVER_WINDOW (hex) or --window-id.
    std::uint32_t host = 0;
    const QString id = p.isSet(QStringLiteral("window-id")) ? p.value(QStringLiteral("window-id"))
                       : p.isSet(QStringLiteral("root"))    ? qEnvironmentVariable("XSCREENSAVER_WINDOW")
                                                            : QString();
    if (!id.isEmpty()) {
        host = id.trimmed().toUInt(&ok, 0);
        if (!ok || host == 0) return usage(QStringLiteral("no window %1").arg(id));
    }
    const bool underHost = p.isSet(QStringLiteral("root")) || host != 0;
    options.sound = p.isSet(QStringLiteral("sound")) || (!underHost && !p.isSet(QStringLiteral("no-sound")));

    FileSystem fs;
    const MyLibClass lib(fs, QDir(app.applicationDirPath()).filePath(QStringLiteral("ksned32")));
    QStringList files;
    QString folder;
    if (p.isSet(QStringLiteral("file"))) {
        const auto file = windowsForm(fs, p.value(QStringLiteral("file")));
        if (!file) return 2;
        files << *file;
        folder = fs.GetFolderPath(*file);
    } else {
        if (p.isSet(QStringLiteral("folder"))) {
            const auto f = windowsForm(fs, p.value(QStringLiteral("folder")));
            if (!f) return 2;
            folder = *f;
        } else {
            folder = ReadIni(lib);
            if (folder.isEmpty()) return usage(msg::noDefaultFolder());
        }
        if (!fs.FolderExists(folder)) {
            err(msg::noSuchFolder(folder));
            return 2;
        }
        // Names only: a folder of thousands starts at once; each formation is read when it runs.
        for (const QString& name : fs.findFiles(folder, QStringLiteral("*.KSN"))) files << fs.BuildPath(folder, name);
    }
    // As after the editor's scan, relative car paths resolve against the formations' folder.
    fs.setCurrentDirectory(folder);

    SoundPlayer sound(app.applicationDirPath());
    Parade parade(
        fs, files, options, [](const QString& reason) { err(msg::skipped(reason)); },
        [&sound](const QString& file) { sound.play(file); });
    parade.setEmptyText(msg::noFormations(folder));
    ParadeWindow window(parade);
    if (host) {
        if (!window.embedInto(host)) return usage(QStringLiteral("no window %1").arg(id));
        window.show();
    } else if (p.isSet(QStringLiteral("fullscreen"))) {
        window.setGeometry(window.screen()->geometry());  // also where no window manager sizes it
        window.showFullScreen();
    } else {
        window.resize(1024, 400);
        window.show();
    }
    return app.exec();
}

}  // namespace
}  // namespace ksn::parade

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ksnparade"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KSNED_VERSION));
    return ksn::parade::run(app);
}
