// The Qt modal seam against Qt's own boxes and dialogs: what the user is shown, what each answer
// gives back, and Windows paths in and out of the file dialogs.
#include "qtmodal.h"
#include "tempdrive.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace ksn {
namespace {

using Step = std::function<void(QWidget*)>;

// A step for a box of type Box; any other box fails the test.
template <class Box, class F>
Step on(F f) {
    return [f](QWidget* w) {
        if (auto* box = qobject_cast<Box*>(w)) f(box);
        else ADD_FAILURE() << "expected a " << Box::staticMetaObject.className() << ", got a " << w->metaObject()->className();
    };
}

// Answers the boxes a call opens, one step per box in order, from inside their own event loops. A
// box no step expects, or one a step leaves open, fails the test and is closed instead of hanging it.
class ModalScript {
public:
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible() || std::find(seen_.begin(), seen_.end(), w) != seen_.end()) return;
            seen_.push_back(w);
            const Step step = next_ < steps_.size() ? steps_[next_++] : Step();
            if (!step) ADD_FAILURE() << "unexpected box titled " << w->windowTitle().toStdString();
            // Queued: a box the step opens in turn runs its own loop, where the timer must fire again.
            QMetaObject::invokeMethod(&timer_, [step, box = QPointer<QWidget>(w)] {
                if (box && step) step(box);
                if (box && box->isVisible()) {
                    ADD_FAILURE() << "the step left its box open";
                    static_cast<QDialog*>(box.data())->reject();
                }
            }, Qt::QueuedConnection);
        });
        timer_.start(5);
    }
    ~ModalScript() { EXPECT_EQ(next_, steps_.size()) << "a box the script expected never opened"; }

private:
    QTimer timer_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::vector<QPointer<QWidget>> seen_;
};

QString canonical(const QString& hostPath) { return QFileInfo(hostPath).canonicalFilePath(); }
QString offered(QFileDialog* d) { return d->findChild<QLineEdit*>("fileNameEdit")->text(); }
// The user types a name or a whole host path and confirms, as the dialog's button would (which
// is enabled only once the view has read the folder).
void choose(QFileDialog* d, const QString& name) {
    d->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(d)->accept();
}

// Drive D: with formation files spelt in both cases, a text file and a sub-folder; drive E: empty.
class QtModalTest : public ::testing::Test {
protected:
    QtModalTest() : fs(drives(), "D:\\"), modal(&owner, fs) {
        drive.write("KSN/a.ksn", "a");
        drive.write("KSN/B.KSN", "b");
        drive.write("KSN/c.txt", "c");
        drive.mkdir("KSN/Sub");
    }
    DriveMap drives() const {
        DriveMap m = drive.driveMap();
        m.set(u'E', canonical(driveE.hostRoot()));
        return m;
    }
    static FileDialogRequest request(const QString& fileName, const QString& folder = "D:\\KSN", int filterIndex = 1) {
        return {FileDialogRequest::Kind::Open, "ﾌｧｲﾙを指定して読み込み", fileName, folder, "KSN",
                "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|", filterIndex};
    }
    QString host(const QString& relative) const { return canonical(drive.host(relative)); }
    QString chosen(const FileDialogRequest& r) { return modal.fileDialog(r).value_or("<nothing>"); }

    test::TempDrive drive{u'D'}, driveE{u'E'};
    FileSystem fs;
    QWidget owner;
    QtModal modal;
};

TEST_F(QtModalTest, BoxesShowPlainTextOverTheirOwnerAndEscapeDeclines) {
    const struct { MsgButtons buttons; QString title; Qt::Key key; MsgAnswer answer; } cases[] = {
        {MsgButtons::Ok, "", Qt::Key_Escape, MsgAnswer::Ok},
        {MsgButtons::YesNo, "保管", Qt::Key_Return, MsgAnswer::Yes},
        {MsgButtons::YesNo, "", Qt::Key_Escape, MsgAnswer::No}};
    for (const auto& c : cases) {
        ModalScript script({on<QMessageBox>([&](QMessageBox* box) {
            EXPECT_TRUE(box->parentWidget() == &owner && box->textFormat() == Qt::PlainText &&
                        box->icon() == QMessageBox::Warning);
            EXPECT_EQ(box->windowTitle() + '|' + box->text(), (c.title.isEmpty() ? kAppTitle : c.title) + "|一行目\n二行目\n<b>x</b>");
            QTest::keyClick(box, c.key);
        })});
        EXPECT_EQ(modal.message("一行目\r\n二行目\r<b>x</b>", c.title, c.buttons, MsgIcon::Exclamation), c.answer);
    }
    ModalScript script({on<QInputDialog>([](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle() + '|' + box->labelText() + '|' + box->textValue(), kAppTitle + "|行 : 3\n<b>|古い");
        for (const QLabel* label : box->findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
        box->reject();
    })});
    EXPECT_EQ(modal.input("行 : 3\r\n<b>", {}, "古い"), QString());  // Cancel gives the empty text
}

TEST_F(QtModalTest, FileDialogShowsTheRequestAndMatchesNamesWithoutRegardToCase) {
    // The files the dialog's view lists (enabled, not merely shown greyed out).
    auto listed = [](QFileDialog* d) {
        auto* model = d->findChild<QFileSystemModel*>();
        const QModelIndex dir = model->index(d->directory().absolutePath());
        QStringList names;
        for (int row = 0; row < model->rowCount(dir); ++row) {
            const QModelIndex i = model->index(row, 0, dir);
            if (!model->isDir(i) && model->flags(i).testFlag(Qt::ItemIsEnabled)) names << i.data().toString();
        }
        names.sort();
        return names;
    };
    ModalScript script({on<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle() + '|' + d->defaultSuffix(), "ﾌｧｲﾙを指定して読み込み|KSN");
        EXPECT_EQ(d->nameFilters(), (QStringList{"KSN File (*.KSN)", "All Files (*)"}));  // "*.*" would hide "README"
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog) && d->fileMode() == QFileDialog::ExistingFile);
        // The model reads the folder on a thread.
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(d) == QStringList{"B.KSN", "a.ksn"}; }, 5000))
            << listed(d).join(u' ').toStdString();
        choose(d, "a.ksn");
    })});
    EXPECT_EQ(chosen(request({})), "D:\\KSN\\a.ksn");
}

TEST_F(QtModalTest, FileDialogOpensWhereTheRequestSays) {
    const struct { const char *fileName, *initialFolder; int filterIndex; const char *folderOnD, *offered, *filter; } cases[] = {
        {"", "D:\\KSN\\gone\\deeper", 2, "KSN", "", "All Files (*)"},  // the nearest folder that exists
        {"D:\\KSN\\Sub\\x.KSN", "D:\\", 0, "KSN/Sub", "x.KSN", "KSN File (*.KSN)"},
        {"d:\\ksn\\b.ksn", "D:\\", 3, "KSN", "B.KSN", "KSN File (*.KSN)"},  // offered as the host spells it
        {"a.ksn", "d:\\ksn", 1, "KSN", "a.ksn", "KSN File (*.KSN)"},  // a bare name, in the initial folder
        {"Q:\\x\\y.KSN", "D:\\KSN", 1, "KSN", "y.KSN", "KSN File (*.KSN)"},  // a drive this host lacks
        {"D:\\KSN\\sub", "D:\\", 1, "KSN/Sub", "", "KSN File (*.KSN)"},
    };
    for (const auto& c : cases) {
        ModalScript script({on<QFileDialog>([&](QFileDialog* d) {
            EXPECT_EQ(canonical(d->directory().absolutePath()), host(c.folderOnD)) << c.fileName;
            EXPECT_EQ(offered(d), c.offered) << c.fileName;
            EXPECT_EQ(d->selectedNameFilter(), c.filter) << c.filterIndex;
            d->reject();
        })});
        EXPECT_EQ(chosen(request(c.fileName, c.initialFolder, c.filterIndex)), "<nothing>");
    }
}

TEST_F(QtModalTest, SaveReplacesWithoutAskingAndAddsTheDefaultExtension) {
    FileDialogRequest r = request("D:\\KSN\\B.KSN");
    r.kind = FileDialogRequest::Kind::Save;
    ModalScript script({on<QFileDialog>([](QFileDialog* d) {
                            EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
                            EXPECT_EQ(offered(d), "B.KSN");
                            static_cast<QDialog*>(d)->accept();  // an overwrite question would be an unexpected box
                        }),
                        on<QFileDialog>([](QFileDialog* d) { choose(d, "新編成"); })});
    EXPECT_EQ(chosen(r), "D:\\KSN\\B.KSN");
    EXPECT_EQ(chosen(r), "D:\\KSN\\新編成.KSN");
}

TEST_F(QtModalTest, FolderDialogOffersTheDrivesAndGivesLowerCase) {
    ModalScript script({on<QFileDialog>([&](QFileDialog* d) {
        EXPECT_TRUE(d->testOption(QFileDialog::ShowDirsOnly) && d->fileMode() == QFileDialog::Directory);
        EXPECT_EQ(canonical(d->directory().absolutePath()), host("KSN"));
        const QList<QUrl> drives{QUrl::fromLocalFile(host({})), QUrl::fromLocalFile(canonical(driveE.hostRoot()))};
        EXPECT_EQ(d->sidebarUrls(), drives);
        choose(d, drive.host("KSN/Sub"));
    })});
    EXPECT_EQ(modal.browseFolder("フォルダの選択", "D:\\KSN"), "d:\\ksn\\sub");
}

TEST_F(QtModalTest, AChoiceUnderNoDriveIsReportedAndGivesNothing) {
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath("x.KSN");
    QFile(outside).open(QIODevice::WriteOnly);
    auto reported = [](const QString& path) {
        return on<QMessageBox>([=](QMessageBox* box) {
            EXPECT_TRUE(box->text().contains(canonical(path))) << box->text().toStdString();
            box->button(QMessageBox::Ok)->click();
        });
    };
    ModalScript script({on<QFileDialog>([&](QFileDialog* d) { choose(d, outside); }), reported(outside),
                        on<QFileDialog>([&](QFileDialog* d) { choose(d, elsewhere.path()); }), reported(elsewhere.path())});
    EXPECT_EQ(chosen(request({})), "<nothing>");
    EXPECT_EQ(modal.browseFolder("t", "D:\\KSN"), QString());
}

}  // namespace
}  // namespace ksn
