// ksn: the editor's formation commands for scripted work on whole folders.
#include "cli/messages.h"
#include "cli/parade.h"
#include "cli/render.h"
#include "cli/streammodal.h"
#include "cli/textout.h"
#include "cli/thumbnail.h"
#include "cli/thumbnailcache.h"
#include "document/document.h"
#include "document/thumbnail.h"
#include "support/settings/settingsfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <cstdio>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ksn {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kExitOk = 0;
constexpr int kExitReported = 1;
constexpr int kExitUsage = 2;

void out(const QString& s) { writeData(stdout, s); }
void err(const QString& s) { writeMessage(stderr, s); }

// Why a path given as a file is none: missing, or something else there (a pipe, a folder).
QString noFile(const QString& path) {
    const QFileInfo there(path);
    return there.exists() || there.isSymLink() ? climsg::notAFile(path) : climsg::noSuchFile(path);
}

int usageError(const QString& message) {
    err(climsg::usage(message));
    return kExitUsage;
}

// Names as the help joins them: "a, b, c or d".
QString orList(const QStringList& names) {
    if (names.size() < 2) return names.join(u"");
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + names.last();
}

class Cli;

// A command of ksn: its name, its lines in --help, the options that belong to it alone and what runs it.
struct Command {
    QLatin1StringView name;
    // One line of --help: what follows "ksn NAME ", and what it does (lines ending in "\n" and
    // continuing under the first).
    struct Usage {
        const char* arguments;
        const char* what;
    };
    std::vector<Usage> usage;
    // The options of this command alone, by their long names. Given to another command, each group
    // is told in one message.
    std::vector<QStringList> options;
    int (Cli::*run)(const QStringList& args);
};

class Cli {
public:
    explicit Cli(QCoreApplication& app) : app_(app) {}
    int run();

private:
    static const std::vector<Command>& commands();
    static QString description();
    static QList<QCommandLineOption> options();
    // The settings every command shares: save mode, comments, drives, default folder.
    int setUp();

    int show(const QStringList& args);
    int list(const QStringList& args);
    int check(const QStringList& args);
    int rewrite(const QStringList& args);
    int parade(const QStringList& args);
    int render(const QStringList& args);
    int thumbnail(const QStringList& args);
    int cacheThumbnails(const QStringList& args);

    // Host path -> Windows path, or a message and nothing.
    std::optional<QString> windowsPath(const QString& host);
    // The folder of a command: DIR when given, else the default folder.
    std::optional<QString> folderArgument(const QStringList& args, int* exitCode);

    QCoreApplication& app_;
    QCommandLineParser p_;
    std::optional<Ksned> g_;
    std::optional<StreamModal> modal_;
    std::optional<Document> document_;
};

const std::vector<Command>& Cli::commands() {
    static const std::vector<Command> table{
        {"show"_L1, {{"FILE [--mode M] [--comments on|off]", "the car list as the editor lists it"}}, {}, &Cli::show},
        {"list"_L1, {{"[DIR]", "file name and title of each formation"}}, {}, &Cli::list},
        {"check"_L1, {{"FILE...", "cars whose height differs from the first car's"}}, {}, &Cli::check},
        {"rewrite"_L1,
         {{"[DIR] [--mode M] [--comments on|off] [--dry-run]", "every formation of DIR in the chosen save mode"}},
         {{"dry-run"}},
         &Cli::rewrite},
        {"parade"_L1,
         {{"FILE [--no-bellows] [--quiet]", "the train as the screensaver reads it"}},
         {{"no-bellows", "quiet"}},
         &Cli::parade},
        {"render"_L1,
         {{"FILE -o OUT.png [--mode M] [--comments on|off]", "the whole-train view as a picture"}},
         {{"output"}},
         &Cli::render},
        {"thumbnail"_L1,
         {{"FILE OUT.png [--size N]",
           "the train as the screensaver reads it, folded\nnear square, within N x N (default 256) as PNG"},
          {"--cache FILE|DIR...",
           "the same into the desktop's thumbnail cache\n(128 and 256), where file managers look first"}},
         {{"size"}, {"cache"}},
         &Cli::thumbnail},
    };
    return table;
}

QString Cli::description() {
    // A usage line and the first line of its description share a line where there is room.
    constexpr qsizetype kWhatColumn = 49;
    QString lines;
    for (const Command& c : commands()) {
        for (const Command::Usage& u : c.usage) {
            QString line = QStringLiteral("  ksn ") + c.name + u' ' + QString::fromUtf8(u.arguments);
            line += line.size() + 2 < kWhatColumn ? QString(kWhatColumn - line.size(), u' ')
                                                  : u'\n' + QString(kWhatColumn, u' ');
            line += QString::fromUtf8(u.what).replace(u'\n', u'\n' + QString(kWhatColumn, u' '));
            lines += line + u'\n';
        }
    }
    return QStringLiteral(
               "Formation files (.KSN) from the command line, with the editor's own rules.\n"
               "\n"
               "Commands:\n") +
           lines +
           QStringLiteral(
               "\n"
               "FILE and DIR are host paths; they are turned into Windows paths through the drive map\n"
               "(Wine's drive letters, KSNED_DRIVES=\"C:=/srv/c;D:=/mnt/d\", or --drive).\n"
               "DIR defaults to the default folder: --default-folder, else the editor's setting.\n"
               "Exit status: 0 fine, 1 something was reported, 2 a usage error or a missing file or folder.");
}

// After --help and --version, in the order --help lists them; a misplaced option is told in this order.
QList<QCommandLineOption> Cli::options() {
    QStringList modes;
    for (const SaveModeRow& row : saveModes()) modes << QString::fromLatin1(row.ksnName);
    const QString defaultMode = QString::fromLatin1(saveModeRow(SaveMode::FileOnly).ksnName);
    // For the completion: the save modes' names, one a line.
    QCommandLineOption modeNames(QStringLiteral("mode-names"));
    modeNames.setFlags(QCommandLineOption::HiddenFromHelp);
    return {
        {QStringLiteral("drive"), QStringLiteral("Map a drive letter onto a host folder (repeatable)."),
         QStringLiteral("X:=DIR")},
        {QStringLiteral("default-folder"), QStringLiteral("The default folder (a host path)."), QStringLiteral("DIR")},
        {QStringLiteral("mode"), QStringLiteral("Save mode: %1 (default %2).").arg(orList(modes), defaultMode),
         QStringLiteral("M"), defaultMode},
        {QStringLiteral("comments"), QStringLiteral("Write comments: on or off (default on)."),
         QStringLiteral("on|off"), QStringLiteral("on")},
        {QStringLiteral("dry-run"), QStringLiteral("rewrite: write nothing, list the files that would change.")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("render: the picture file to write."),
         QStringLiteral("OUT")},
        {QStringLiteral("no-bellows"), QStringLiteral("parade: leave out coupler bellows pieces.")},
        {QStringLiteral("quiet"), QStringLiteral("parade: no load messages.")},
        {QStringLiteral("size"), QStringLiteral("thumbnail: the largest side of the picture (default 256)."),
         QStringLiteral("N"), QString::number(kThumbnailDefaultSide)},
        {QStringLiteral("cache"),
         QStringLiteral("thumbnail: draw each FILE, or each formation of DIR, into the desktop's thumbnail cache.")},
        modeNames,
    };
}

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
    QStringList names;
    for (const Command& c : commands()) names << c.name;
    p_.setApplicationDescription(description());
    p_.addHelpOption();
    p_.addVersionOption();
    const QList<QCommandLineOption> declared = options();
    p_.addOptions(declared);
    p_.addPositionalArgument(QStringLiteral("command"), orList(names));
    p_.addPositionalArgument(QStringLiteral("args"), QStringLiteral("FILE or DIR arguments"),
                             QStringLiteral("[args...]"));

    if (!p_.parse(app_.arguments())) return usageError(p_.errorText());
    if (p_.isSet(QStringLiteral("help"))) {
        out(p_.helpText());
        return kExitOk;
    }
    if (p_.isSet(QStringLiteral("version"))) {
        out(climsg::version(app_.applicationVersion()));
        return kExitOk;
    }
    if (p_.isSet(QStringLiteral("mode-names"))) {
        for (const SaveModeRow& row : saveModes()) out(QString::fromLatin1(row.ksnName) + u'\n');
        return kExitOk;
    }
    if (const int code = setUp(); code != kExitOk) return code;

    QStringList args = p_.positionalArguments();
    if (args.isEmpty()) return usageError(climsg::noCommand());
    const QString name = args.takeFirst();
    const auto command =
        std::find_if(commands().begin(), commands().end(), [&](const Command& c) { return c.name == name; });
    for (const QCommandLineOption& option : declared) {
        if (!p_.isSet(option.names().last())) continue;
        for (const Command& owner : commands())
            for (const QStringList& group : owner.options)
                if (group.contains(option.names().last()) && owner.name != name)
                    return usageError(climsg::optionsBelongTo(group, owner.name));
    }
    if (command == commands().end()) return usageError(climsg::unknownCommand(name));
    return (this->*command->run)(args);
}

int Cli::setUp() {
    const auto* mode = saveModeByKsnName(p_.value(QStringLiteral("mode")));
    if (!mode) return usageError(climsg::unknownMode(p_.value(QStringLiteral("mode"))));
    const QString comments = p_.value(QStringLiteral("comments"));
    if (comments != u"on" && comments != u"off") return usageError(climsg::commentsOnOrOff());

    DriveMap drives;
    if (p_.isSet(QStringLiteral("drive"))) {
        for (const QString& d : p_.values(QStringLiteral("drive"))) {
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
    document_->setSaveMode(mode->mode);
    document_->setCommentsOn(comments == u"on");

    if (p_.isSet(QStringLiteral("default-folder"))) {
        const QString dir = p_.value(QStringLiteral("default-folder"));
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
    return kExitOk;
}

int Cli::parade(const QStringList& args) {
    if (args.size() != 1) return usageError(climsg::commandTakes(QStringLiteral("parade"), QStringLiteral("one FILE")));
    const auto w = windowsPath(args[0]);
    const ParadeOptions options{p_.isSet(QStringLiteral("no-bellows")), p_.isSet(QStringLiteral("quiet"))};
    return w ? ksn::parade(g_->fso, *modal_, *w, options, stdout, stderr) : kExitUsage;
}

int Cli::render(const QStringList& args) {
    const QString output = p_.value(QStringLiteral("output"));
    if (args.size() != 1 || output.isEmpty())
        return usageError(climsg::commandTakes(QStringLiteral("render"), QStringLiteral("one FILE and -o OUT")));
    if (!QFileInfo(args[0]).isFile()) {
        err(climsg::errorLine(noFile(args[0])));
        return kExitUsage;
    }
    const auto w = windowsPath(args[0]);
    return w ? ksn::render(*document_, *w, output, stderr) : kExitUsage;
}

int Cli::thumbnail(const QStringList& args) {
    // Thumbnails are PNG from Qt's own writer, always. Without this every image format plugin
    // (GIF, ICO, JPEG with libjpeg) would be loaded only to be asked whether it wants to write PNG
    // instead, for each thumbnail a file manager asks for; and a reader of files from anywhere
    // loads no code it does not need.
    QCoreApplication::setLibraryPaths({});
    if (p_.isSet(QStringLiteral("cache"))) {
        if (p_.isSet(QStringLiteral("size"))) return usageError(climsg::cacheOrSize());
        return cacheThumbnails(args);
    }
    if (args.size() != 2) return usageError(climsg::thumbnailUsage());
    bool ok = false;
    const QString given = p_.value(QStringLiteral("size"));
    const int side = given.toInt(&ok);
    if (!ok || side < 1 || side > kThumbnailMaxSide)
        return usageError(climsg::sizeOutOfRange(given, kThumbnailMaxSide));
    const auto w = windowsPath(args[0]);
    return w ? ksn::thumbnail(g_->fso, *modal_, *w, args[1], side, stderr) : kExitUsage;
}

int Cli::show(const QStringList& args) {
    if (args.size() != 1) return usageError(climsg::commandTakes(QStringLiteral("show"), QStringLiteral("one FILE")));
    if (!QFileInfo(args[0]).isFile()) {
        err(climsg::errorLine(noFile(args[0])));
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
            err(climsg::errorLine(noFile(file)));
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

int Cli::rewrite(const QStringList& args) {
    const bool dryRun = p_.isSet(QStringLiteral("dry-run"));
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
        options.progress = [](int done, int total, const QString& name) {
            writeText(stderr, climsg::progress(done, total, withoutControls(name)));
        };
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
            err(climsg::errorLine(noFile(arg)));
            code = kExitUsage;
        }
    }
    const QString software = QStringLiteral("ksn ") + app_.applicationVersion();
    for (const QString& file : files) {
        const auto w = windowsPath(file);
        // A formation that cannot be drawn is told and left out; the others are still cached.
        const int one = w ? cacheThumbnail(g_->fso, *modal_, *w, file, cacheRoot, software, stderr) : kExitReported;
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
    ksn::Cli cli(app);
    const int code = cli.run();
    std::fflush(stdout);
    return code;
}
