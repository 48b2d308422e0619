// ksn: the editor's formation commands for scripted work on whole folders.
#include "cli/messages.h"
#include "cli/parade.h"
#include "cli/render.h"
#include "cli/streammodal.h"
#include "cli/thumbnail.h"
#include "cli/thumbnailcache.h"
#include "document/document.h"
#include "document/thumbnail.h"
#include "support/settings/settingsfile.h"
#include "support/text/cp932.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ksn {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitReported = 1;
constexpr int kExitUsage = 2;

void out(const QString& s) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
}
void err(const QString& s) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

int usageError(const QString& message) {
    err(climsg::usage(message));
    return kExitUsage;
}

std::optional<SaveMode> parseMode(const QString& s) {
    if (s == u"file-name") return SaveMode::FileOnly;
    if (s == u"as-in-file") return SaveMode::AsInFile;
    if (s == u"no-drive") return SaveMode::NonDrive;
    if (s == u"default-folder") return SaveMode::DefaultFolder;
    return std::nullopt;
}

const char* kDescription =
    "Formation files (.KSN) from the command line, with the editor's own rules.\n"
    "\n"
    "Commands:\n"
    "  ksn show FILE [--mode M] [--comments on|off]   the car list as the editor lists it\n"
    "  ksn list [DIR]                                 file name and title of each formation\n"
    "  ksn check FILE...                              cars whose height differs from the first car's\n"
    "  ksn rewrite [DIR] [--mode M] [--comments on|off] [--dry-run]\n"
    "                                                 every formation of DIR in the chosen save mode\n"
    "  ksn parade FILE [--no-bellows] [--quiet]       the train as the screensaver reads it\n"
    "  ksn render FILE -o OUT.png [--mode M] [--comments on|off]\n"
    "                                                 the whole-train view as a picture\n"
    "  ksn thumbnail FILE OUT.png [--size N]          the train as the screensaver reads it, folded\n"
    "                                                 near square, within N x N (default 256) as PNG\n"
    "  ksn thumbnail --cache FILE|DIR...              the same into the desktop's thumbnail cache\n"
    "                                                 (128 and 256), where file managers look first\n"
    "\n"
    "FILE and DIR are host paths; they are turned into Windows paths through the drive map\n"
    "(Wine's drive letters, KSNED_DRIVES=\"C:=/srv/c;D:=/mnt/d\", or --drive).\n"
    "DIR defaults to the default folder: --default-folder, else the editor's setting.\n"
    "Exit status: 0 fine, 1 something was reported, 2 a usage error or a missing file or folder.";

class Cli {
public:
    explicit Cli(QCoreApplication& app) : app_(app) {}
    int run();

private:
    int show(const QStringList& args);
    int list(const QStringList& args);
    int check(const QStringList& args);
    int rewrite(const QStringList& args, bool dryRun);
    int cacheThumbnails(const QStringList& args);

    // Host path -> Windows path, or a message and nothing.
    std::optional<QString> windowsPath(const QString& host);
    // The folder of a command: DIR when given, else the default folder.
    std::optional<QString> folderArgument(const QStringList& args, int* exitCode);

    QCoreApplication& app_;
    std::optional<Ksned> g_;
    std::optional<StreamModal> modal_;
    std::optional<Document> document_;
};

std::optional<QString> Cli::windowsPath(const QString& host) {
    QString error;
    auto w = g_->fso.toWindows(host, &error);
    if (!w) err(climsg::errorLine(climsg::oneLineEnds(error)));
    return w;
}

std::optional<QString> Cli::folderArgument(const QStringList& args, int* exitCode) {
    *exitCode = kExitOk;
    if (args.size() > 1) {
        *exitCode = usageError(climsg::oneFolderAtMost());
        return std::nullopt;
    }
    if (args.isEmpty()) {
        if (g_->DefaultFolder.isEmpty()) {
            *exitCode = usageError(climsg::noFolder());
            return std::nullopt;
        }
        if (!g_->fso.FolderExists(g_->DefaultFolder)) {
            err(climsg::errorLine(climsg::noDefaultFolder(g_->DefaultFolder)));
            *exitCode = kExitUsage;
            return std::nullopt;
        }
        return g_->DefaultFolder;
    }
    if (!QFileInfo(args[0]).isDir()) {
        err(climsg::errorLine(climsg::noSuchFolder(args[0])));
        *exitCode = kExitUsage;
        return std::nullopt;
    }
    auto w = windowsPath(args[0]);
    if (!w) *exitCode = kExitUsage;
    return w;
}

int Cli::run() {
    QCommandLineParser p;
    p.setApplicationDescription(QString::fromUtf8(kDescription));
    p.addHelpOption();
    p.addVersionOption();
    p.addOption({QStringLiteral("drive"), QStringLiteral("Map a drive letter onto a host folder (repeatable)."),
                 QStringLiteral("X:=DIR")});
    p.addOption(
        {QStringLiteral("default-folder"), QStringLiteral("The default folder (a host path)."), QStringLiteral("DIR")});
    p.addOption({QStringLiteral("mode"),
                 QStringLiteral("Save mode: file-name, as-in-file, no-drive or default-folder (default file-name)."),
                 QStringLiteral("M"), QStringLiteral("file-name")});
    p.addOption({QStringLiteral("comments"), QStringLiteral("Write comments: on or off (default on)."),
                 QStringLiteral("on|off"), QStringLiteral("on")});
    p.addOption(
        {QStringLiteral("dry-run"), QStringLiteral("rewrite: write nothing, list the files that would change.")});
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("render: the picture file to write."),
                 QStringLiteral("OUT")});
    p.addOption({QStringLiteral("no-bellows"), QStringLiteral("parade: leave out coupler bellows pieces.")});
    p.addOption({QStringLiteral("quiet"), QStringLiteral("parade: no load messages.")});
    p.addOption({QStringLiteral("size"), QStringLiteral("thumbnail: the largest side of the picture (default 256)."),
                 QStringLiteral("N"), QString::number(kThumbnailDefaultSide)});
    p.addOption({QStringLiteral("cache"),
                 QStringLiteral("thumbnail: draw each FILE, or each formation of DIR, into the desktop's "
                                "thumbnail cache.")});
    p.addPositionalArgument(QStringLiteral("command"),
                            QStringLiteral("show, list, check, rewrite, parade, render or thumbnail"));
    p.addPositionalArgument(QStringLiteral("args"), QStringLiteral("FILE or DIR arguments"),
                            QStringLiteral("[args...]"));

    if (!p.parse(app_.arguments())) return usageError(p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        out(p.helpText());
        return kExitOk;
    }
    if (p.isSet(QStringLiteral("version"))) {
        out(climsg::version(app_.applicationVersion()));
        return kExitOk;
    }

    const auto mode = parseMode(p.value(QStringLiteral("mode")));
    if (!mode) return usageError(climsg::unknownMode(p.value(QStringLiteral("mode"))));
    const QString comments = p.value(QStringLiteral("comments"));
    if (comments != u"on" && comments != u"off") return usageError(climsg::commentsOnOrOff());

    DriveMap drives;
    if (p.isSet(QStringLiteral("drive"))) {
        for (const QString& d : p.values(QStringLiteral("drive"))) {
            QString error;
            const auto one = DriveMap::parse(d, &error);
            if (!one || one->drives().empty()) return usageError(error.isEmpty() ? climsg::badDrive() : error);
            for (const auto& [letter, rootDir] : one->drives()) drives.set(letter, QDir(rootDir).absolutePath());
        }
    } else {
        const QString env = qEnvironmentVariable("KSNED_DRIVES");
        QString error;
        if (!env.trimmed().isEmpty() && !DriveMap::parse(env, &error)) return usageError(climsg::drivesVariable(error));
        drives = DriveMap::detect();
    }

    // The editor's ini file lies beside the editor, which is installed beside this program.
    const QString editorProgram = QDir(app_.applicationDirPath()).filePath(QStringLiteral("ksned32"));
    g_.emplace(FileSystem(std::move(drives)), editorProgram);
    modal_.emplace(stderr, g_->StopRequested);
    document_.emplace(*g_, *modal_);
    document_->setSaveMode(*mode);
    document_->setCommentsOn(comments == u"on");

    if (p.isSet(QStringLiteral("default-folder"))) {
        const QString dir = p.value(QStringLiteral("default-folder"));
        if (!QFileInfo(dir).isDir()) {
            err(climsg::errorLine(climsg::noSuchFolder(dir)));
            return kExitUsage;
        }
        const auto w = windowsPath(dir);
        if (!w) return kExitUsage;
        g_->DefaultFolder = *w;
    } else {
        g_->DefaultFolder = ReadIni(g_->lib);
    }
    // As after the editor's start-up scan, relative paths resolve against the default folder.
    if (!g_->DefaultFolder.isEmpty()) g_->fso.setCurrentDirectory(g_->DefaultFolder);

    QStringList args = p.positionalArguments();
    if (args.isEmpty()) return usageError(climsg::noCommand());
    const QString command = args.takeFirst();
    const bool dryRun = p.isSet(QStringLiteral("dry-run"));
    if (dryRun && command != u"rewrite")
        return usageError(climsg::optionBelongsTo(QStringLiteral("--dry-run"), QStringLiteral("rewrite")));
    const QString output = p.value(QStringLiteral("output"));
    if (p.isSet(QStringLiteral("output")) && command != u"render")
        return usageError(climsg::optionBelongsTo(QStringLiteral("--output"), QStringLiteral("render")));
    const ParadeOptions paradeOptions{p.isSet(QStringLiteral("no-bellows")), p.isSet(QStringLiteral("quiet"))};
    if ((paradeOptions.noBellows || paradeOptions.quiet) && command != u"parade")
        return usageError(climsg::bellowsAndQuietBelongToParade());
    if (p.isSet(QStringLiteral("size")) && command != u"thumbnail") return usageError(climsg::sizeBelongsToThumbnail());
    const bool cache = p.isSet(QStringLiteral("cache"));
    if (cache && command != u"thumbnail")
        return usageError(climsg::optionBelongsTo(QStringLiteral("--cache"), QStringLiteral("thumbnail")));
    if (command == u"show") return show(args);
    if (command == u"list") return list(args);
    if (command == u"check") return check(args);
    if (command == u"rewrite") return rewrite(args, dryRun);
    if (command == u"render") {
        if (args.size() != 1 || output.isEmpty())
            return usageError(climsg::commandTakes(QStringLiteral("render"), QStringLiteral("one FILE and -o OUT")));
        if (!QFileInfo(args[0]).isFile()) {
            err(climsg::errorLine(climsg::noSuchFile(args[0])));
            return kExitUsage;
        }
        const auto w = windowsPath(args[0]);
        return w ? render(*document_, *w, output, stderr) : kExitUsage;
    }
    if (command == u"thumbnail" && cache) {
        if (p.isSet(QStringLiteral("size"))) return usageError(climsg::cacheOrSize());
        return cacheThumbnails(args);
    }
    if (command == u"thumbnail") {
        if (args.size() != 2) return usageError(climsg::thumbnailUsage());
        bool ok = false;
        const QString given = p.value(QStringLiteral("size"));
        const int side = given.toInt(&ok);
        if (!ok || side < 1 || side > kThumbnailMaxSide)
            return usageError(climsg::sizeOutOfRange(given, kThumbnailMaxSide));
        const auto w = windowsPath(args[0]);
        return w ? thumbnail(g_->fso, g_->lib, *modal_, *w, args[1], side, stderr) : kExitUsage;
    }
    if (command == u"parade") {
        if (args.size() != 1)
            return usageError(climsg::commandTakes(QStringLiteral("parade"), QStringLiteral("one FILE")));
        const auto w = windowsPath(args[0]);
        return w ? parade(g_->fso, g_->lib, *modal_, *w, paradeOptions, stdout, stderr) : kExitUsage;
    }
    return usageError(climsg::unknownCommand(command));
}

int Cli::show(const QStringList& args) {
    if (args.size() != 1) return usageError(climsg::commandTakes(QStringLiteral("show"), QStringLiteral("one FILE")));
    if (!QFileInfo(args[0]).isFile()) {
        err(climsg::errorLine(climsg::noSuchFile(args[0])));
        return kExitUsage;
    }
    const auto w = windowsPath(args[0]);
    if (!w) return kExitUsage;
    if (!document_->load(*w).loaded()) return kExitUsage;
    for (const QString& row : document_->rows()) out(row + u'\n');
    return kExitOk;
}

int Cli::list(const QStringList& args) {
    int code = kExitOk;
    auto folder = folderArgument(args, &code);
    if (!folder) return code;
    document_->scan(*folder);
    for (const FormationEntry& e : document_->FormationFileNames()) out(e.fileName + u'\t' + e.title + u'\n');
    return kExitOk;
}

int Cli::check(const QStringList& args) {
    if (args.isEmpty())
        return usageError(climsg::commandTakes(QStringLiteral("check"), QStringLiteral("one FILE or more")));
    document_->setHeightCheckOnLoad(false);
    int code = kExitOk;
    for (const QString& file : args) {
        if (!QFileInfo(file).isFile()) {
            err(climsg::errorLine(climsg::noSuchFile(file)));
            code = kExitUsage;
            continue;
        }
        const auto w = windowsPath(file);
        if (!w) {
            code = kExitUsage;
            continue;
        }
        if (!document_->load(*w).loaded()) {
            code = kExitUsage;
            continue;
        }
        for (const HeightMismatch& m : document_->heightMismatches()) {
            out(climsg::heightMismatch(file, m.carNumber, m.path, m.height, m.firstHeight));
            if (code == kExitOk) code = kExitReported;
        }
    }
    return code;
}

int Cli::rewrite(const QStringList& args, bool dryRun) {
    int code = kExitOk;
    auto folder = folderArgument(args, &code);
    if (!folder) return code;
    g_->StopRequested = false;
    StreamModal::installInterruptHandler();

    RewriteOptions options;
    options.dryRun = dryRun;
#ifdef Q_OS_UNIX
    const bool tty = isatty(fileno(stderr)) != 0;
#else
    const bool tty = false;
#endif
    if (tty) {
        options.progress = [](int done, int total, const QString& name) { err(climsg::progress(done, total, name)); };
    }
    // The folder becomes the run's default folder, as the editor rewrites its default folder.
    const RewriteResult r = document_->rewriteFolder(*folder, options);
    if (tty && r.found > 0) err(QStringLiteral("\n"));

    if (dryRun) {
        for (const QString& name : r.changed) out(name + u'\n');
        err(climsg::wouldChange(r.changed.size(), r.found));
    } else {
        out(climsg::rewritten(r.processed - r.failed.size(), r.found, r.changed.size(), r.failed.size(), r.stopped));
    }
    return r.failed.isEmpty() ? kExitOk : kExitReported;
}

int Cli::cacheThumbnails(const QStringList& args) {
    if (args.isEmpty()) return usageError(climsg::cacheUsage());
    const QString cacheRoot = thumbcache::root(qEnvironmentVariable("XDG_CACHE_HOME"), qEnvironmentVariable("HOME"));
    if (cacheRoot.isEmpty()) {
        err(climsg::errorLine(climsg::noCacheFolder()));
        return kExitUsage;
    }
    // A folder stands for its formations, in any spelling of .KSN, as list finds them.
    QStringList files;
    int code = kExitOk;
    for (const QString& arg : args) {
        const QFileInfo info(arg);
        if (info.isDir()) {
            const QDir dir(arg);
            for (const QString& name :
                 dir.entryList({QStringLiteral("*.ksn")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase))
                files << dir.filePath(name);
        } else if (info.isFile()) {
            files << arg;
        } else {
            err(climsg::errorLine(climsg::noSuchFile(arg)));
            code = kExitUsage;
        }
    }
    const QString software = QStringLiteral("ksn ") + app_.applicationVersion();
    for (const QString& file : files) {
        const auto w = windowsPath(file);
        // A formation that cannot be drawn is told and left out; the others are still cached.
        const int one =
            w ? cacheThumbnail(g_->fso, g_->lib, *modal_, *w, file, cacheRoot, software, stderr) : kExitReported;
        if (one != kExitOk && code == kExitOk) code = kExitReported;
    }
    return code;
}

}  // namespace
}  // namespace ksn

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ksn"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KSNED_VERSION));
    if (!ksn::cp932::available()) {
        const QByteArray m = ksn::cp932::unavailableMessage().toUtf8();
        std::fprintf(stderr, "%s\n", m.constData());
        return 2;
    }
    ksn::Cli cli(app);
    const int code = cli.run();
    std::fflush(stdout);
    return code;
}
