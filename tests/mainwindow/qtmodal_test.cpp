#include "qtmodal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "tempdrive.h"

QT_BEGIN_NAMESPACE
[[maybe_unused]] static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
[[maybe_unused]] static void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{';
    for (const QString& s : l) *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
QT_END_NAMESPACE

namespace ksn {
namespace {

using test::TempDrive;

QString q(const char* s) { return QString::fromUtf8(s); }

// Answers the modal boxes that a call opens, one step per box in the order they open, from inside
// their own event loops. A box that no step expects fails the test and is closed, as is a box a
// step leaves open, so that a fault shows as a failure instead of a test that never ends.
class ModalScript {
  public:
    ModalScript() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }
    ~ModalScript() { EXPECT_EQ(next_, steps_.size()) << "a box the script expected never opened"; }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    template <class Box>
    ModalScript& then(std::function<void(Box*)> step) {
        steps_.push_back([step](QWidget* w) {
            auto* box = qobject_cast<Box*>(w);
            if (!box) {
                ADD_FAILURE() << "expected a " << Box::staticMetaObject.className() << ", got a "
                              << w->metaObject()->className() << " titled " << w->windowTitle().toStdString();
                return;
            }
            step(box);
        });
        return *this;
    }

  private:
    static void close(QWidget* w) {
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
    }

    void tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        for (const QPointer<QWidget>& seen : seen_)
            if (seen == w) return;
        seen_.push_back(w);
        if (next_ >= steps_.size()) {
            ADD_FAILURE() << "unexpected box: " << w->metaObject()->className() << " titled "
                          << w->windowTitle().toStdString();
            close(w);
            return;
        }
        // The step runs after this tick returns: a box the step opens in turn (a question while
        // accepting, say) runs its own loop, where this timer must be free to fire again.
        QMetaObject::invokeMethod(
            &timer_,
            [step = steps_[next_++], box = QPointer<QWidget>(w)] {
                if (!box) return;
                step(box);
                if (box && box->isVisible()) {
                    ADD_FAILURE() << "the step left its box open";
                    close(box);
                }
            },
            Qt::QueuedConnection);
    }

    QTimer timer_;
    std::vector<std::function<void(QWidget*)>> steps_;
    std::size_t next_ = 0;
    std::vector<QPointer<QWidget>> seen_;
};

QString canonical(const QString& hostPath) { return QFileInfo(hostPath).canonicalFilePath(); }

// The names of the files (not folders) that the dialog's view lists in its current folder.
QStringList shownFiles(QFileDialog* dialog) {
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (!model) return {QStringLiteral("<no model>")};
    const QModelIndex dir = model->index(dialog->directory().absolutePath());
    QStringList names;
    for (int row = 0; row < model->rowCount(dir); ++row) {
        const QModelIndex i = model->index(row, 0, dir);
        if (!model->isDir(i) && model->flags(i).testFlag(Qt::ItemIsEnabled)) names << i.data().toString();
    }
    names.sort();
    return names;
}

// Waits until the dialog lists exactly these files (the model reads folders on a thread).
bool waitForShown(QFileDialog* dialog, const QStringList& expected) {
    const bool ok = QTest::qWaitFor([&] { return shownFiles(dialog) == expected; }, 5000);
    EXPECT_EQ(shownFiles(dialog), expected);
    return ok;
}

QLineEdit* nameField(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QString offeredName(QFileDialog* dialog) {
    const QLineEdit* edit = nameField(dialog);
    return edit ? edit->text() : QStringLiteral("<no name field>");
}

// What the dialog's accept button does (QFileDialog keeps accept() protected); the button itself
// is enabled only once the view has read the folder.
void confirm(QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); }

// The user types a name or a whole host path into the name field and confirms.
void choose(QFileDialog* dialog, const QString& name) {
    QLineEdit* edit = nameField(dialog);
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    confirm(dialog);
}

// A file dialog's answer as text, so that a failure prints it.
const QString kNothing = QStringLiteral("<nothing>");
QString chosen(const std::optional<QString>& file) { return file.value_or(kNothing); }

const QString kKsnFilter = q("KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|");

// ---------------------------------------------------------------------------------------------
// Filter translation

struct FilterCase {
    const char* name;
    const char* windows;
    QStringList qt;
};
void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }

class QtFiltersTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(QtFiltersTest, Translates) { EXPECT_EQ(qtFilters(q(GetParam().windows)), GetParam().qt); }

INSTANTIATE_TEST_SUITE_P(
    Filters, QtFiltersTest,
    ::testing::Values(
        FilterCase{"FormationAndAll",
                   "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|",
                   {q("KSN File (*.KSN)"), q("All Files (*)")}},
        FilterCase{"WithoutTrailingBar",
                   "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*",
                   {q("KSN File (*.KSN)"), q("All Files (*)")}},
        FilterCase{"BitmapAndAll",
                   "BMP File (*.BMP)|*.BMP|All Files (*.*)|*.*|",
                   {q("BMP File (*.BMP)"), q("All Files (*)")}},
        FilterCase{"DescriptionWithoutPatterns", "Sounds|*.WAV|", {q("Sounds (*.WAV)")}},
        FilterCase{"SeveralPatterns", "Pictures|*.bmp;*.dib|", {q("Pictures (*.bmp *.dib)")}},
        FilterCase{
            "SeveralPatternsRespelt", "Pictures (*.bmp;*.dib)|*.bmp; *.dib|", {q("Pictures (*.bmp *.dib)")}},
        FilterCase{"TailOfOtherCaseIsRespelt", "KSN File (*.ksn)|*.KSN|", {q("KSN File (*.KSN)")}},
        FilterCase{"OtherParenthesesKept", "KSN (old)|*.KSN|", {q("KSN (old) (*.KSN)")}},
        FilterCase{"EveryFileAmongOthers", "Any|*.KSN;*.*|", {q("Any (*.KSN *)")}},
        FilterCase{"JapaneseDescription", "編成ファイル (*.KSN)|*.KSN|", {q("編成ファイル (*.KSN)")}},
        FilterCase{"Empty", "", {}},
        FilterCase{"UnpairedDescriptionDropped", "KSN File|*.KSN|Odd", {q("KSN File (*.KSN)")}},
        FilterCase{"EmptyPatternEndsTheList", "KSN File|*.KSN|Odd||All|*.*|", {q("KSN File (*.KSN)")}},
        FilterCase{"EmptyDescriptionEndsTheList", "KSN File|*.KSN||*.BMP|", {q("KSN File (*.KSN)")}}),
    [](const auto& p) { return std::string(p.param.name); });

struct LineBreakCase {
    const char* name;
    const char* in;
    const char* out;
};
void PrintTo(const LineBreakCase& c, std::ostream* os) { *os << c.name; }

class LineBreaksTest : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(LineBreaksTest, BecomeNewlines) { EXPECT_EQ(qtLineBreaks(q(GetParam().in)), q(GetParam().out)); }

INSTANTIATE_TEST_SUITE_P(LineBreaks, LineBreaksTest,
                         ::testing::Values(LineBreakCase{"CrLf", "a\r\nb\r\nc", "a\nb\nc"},
                                           LineBreakCase{"LoneCr", "a\rb", "a\nb"},
                                           LineBreakCase{"LoneLf", "a\nb", "a\nb"},
                                           LineBreakCase{"BlankLine", "a\r\n\r\nb", "a\n\nb"}),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------------------------
// Message and input boxes

class QtModalBoxTest : public ::testing::Test {
  protected:
    QtModalBoxTest() : fs(drive.driveMap(), q("D:\\")), modal(nullptr, fs) {}
    TempDrive drive;
    FileSystem fs;
    QtModal modal;
};

enum class Press { Ok, Yes, No, Return, Escape };

struct MessageCase {
    const char* name;
    MsgButtons buttons;
    MsgIcon icon;
    const char* title;
    QMessageBox::Icon shownIcon;
    const char* shownTitle;
    Press press;
    MsgAnswer answer;
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class QtModalMessageTest : public QtModalBoxTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(QtModalMessageTest, ShowsAndAnswers) {
    const MessageCase& c = GetParam();
    const bool yesNo = c.buttons == MsgButtons::YesNo;
    ModalScript script;
    script.then<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), q(c.shownTitle));
        EXPECT_EQ(box->text(), q("一行目\n二行目 <b>x</b>"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), c.shownIcon);
        const auto expectedButtons =
            yesNo ? QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
        EXPECT_EQ(box->standardButtons(), expectedButtons);
        EXPECT_EQ(box->defaultButton(), box->button(yesNo ? QMessageBox::Yes : QMessageBox::Ok));
        switch (c.press) {
            case Press::Ok:
                box->button(QMessageBox::Ok)->click();
                break;
            case Press::Yes:
                box->button(QMessageBox::Yes)->click();
                break;
            case Press::No:
                box->button(QMessageBox::No)->click();
                break;
            case Press::Return:
                QTest::keyClick(box, Qt::Key_Return);
                break;
            case Press::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
        }
    });
    EXPECT_EQ(modal.message(q("一行目\r\n二行目 <b>x</b>"), q(c.title), c.buttons, c.icon), c.answer);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Messages, QtModalMessageTest,
    ::testing::Values(
        MessageCase{"OkNoIconAppTitle", MsgButtons::Ok, MsgIcon::None, "", QMessageBox::NoIcon, "KSN File Editer 32", Press::Ok, MsgAnswer::Ok},
        MessageCase{"OkInformationByReturn", MsgButtons::Ok, MsgIcon::Information, "保管", QMessageBox::Information, "保管", Press::Return, MsgAnswer::Ok},
        MessageCase{"OkCriticalByEscape", MsgButtons::Ok, MsgIcon::Critical, "", QMessageBox::Critical, "KSN File Editer 32", Press::Escape, MsgAnswer::Ok},
        MessageCase{"YesNoQuestionYes", MsgButtons::YesNo, MsgIcon::Question, "確認", QMessageBox::Question, "確認", Press::Yes, MsgAnswer::Yes},
        MessageCase{"YesNoExclamationNo", MsgButtons::YesNo, MsgIcon::Exclamation, "", QMessageBox::Warning, "KSN File Editer 32", Press::No, MsgAnswer::No},
        MessageCase{"YesNoReturnIsYes", MsgButtons::YesNo, MsgIcon::None, "", QMessageBox::NoIcon, "KSN File Editer 32", Press::Return, MsgAnswer::Yes},
        MessageCase{"YesNoEscapeIsNo", MsgButtons::YesNo, MsgIcon::Question, "", QMessageBox::Question, "KSN File Editer 32", Press::Escape, MsgAnswer::No}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST_F(QtModalBoxTest, BoxesBelongToTheOwnerOfTheMoment) {
    QWidget owner;
    modal.setOwner(&owner);
    ModalScript script;
    script.then<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->parentWidget(), &owner);
        box->button(QMessageBox::Ok)->click();
    });
    script.then<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->parentWidget(), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    modal.message(q("a"), {}, MsgButtons::Ok, MsgIcon::None);
    modal.setOwner(nullptr);
    modal.message(q("b"), {}, MsgButtons::Ok, MsgIcon::None);
}

TEST_F(QtModalBoxTest, ForgetsAnOwnerThatIsGone) {
    auto owner = std::make_unique<QWidget>();
    modal.setOwner(owner.get());
    owner.reset();
    EXPECT_EQ(modal.owner(), nullptr);
    ModalScript script;
    script.then<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->parentWidget(), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    modal.message(q("a"), {}, MsgButtons::Ok, MsgIcon::None);
}

TEST_F(QtModalBoxTest, InputOkGivesTheTypedText) {
    ModalScript script;
    script.then<QInputDialog>([](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle(), q("コメントの編集"));
        EXPECT_EQ(box->labelText(),
                  q("削除する場合はキャンセルを選択してください\n行 : 3\nFile= <D:\\a.bmp>"));
        for (const QLabel* label : box->findChildren<QLabel*>())
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->textValue(), q("古いコメント"));
        auto* edit = box->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, q("new comment"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(modal.input(q("削除する場合はキャンセルを選択してください\r\n行 : 3\r\nFile= <D:\\a.bmp>"),
                          q("コメントの編集"), q("古いコメント")),
              q("new comment"));
}

TEST_F(QtModalBoxTest, InputCancelGivesTheEmptyText) {
    ModalScript script;
    script.then<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(modal.input(q("編成コメントを入力して下さい"), q("編成コメントの変更"), q("特急")), QString());
}

TEST_F(QtModalBoxTest, InputWithoutTitleCarriesTheAppTitle) {
    ModalScript script;
    script.then<QInputDialog>([](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle(), kAppTitle);
        box->accept();
    });
    EXPECT_EQ(modal.input(q("p"), {}, q("kept")), q("kept"));
}

TEST_F(QtModalBoxTest, ProcessEventsRunsPendingWork) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    modal.processEvents();
    EXPECT_TRUE(ran);
}

// ---------------------------------------------------------------------------------------------
// File dialog

// Drive D: with a folder of formation files spelt in both cases, a text file and a sub-folder.
class QtModalFileTest : public ::testing::Test {
  protected:
    QtModalFileTest() : fs(drive.driveMap(), q("D:\\")), modal(nullptr, fs) {
        drive.write(q("KSN/a.ksn"), "a");
        drive.write(q("KSN/B.KSN"), "b");
        drive.write(q("KSN/c.txt"), "c");
        drive.mkdir(q("KSN/sub"));
    }
    FileDialogRequest openRequest(const QString& fileName = {}) const {
        FileDialogRequest r;
        r.kind = FileDialogRequest::Kind::Open;
        r.title = q("ﾌｧｲﾙを指定して読み込み");
        r.fileName = fileName;
        r.initialFolder = q("D:\\KSN");
        r.defaultExt = q("KSN");
        r.filter = kKsnFilter;
        r.filterIndex = 1;
        return r;
    }
    QString host(const QString& relative) const { return canonical(drive.host(relative)); }

    TempDrive drive;
    FileSystem fs;
    QtModal modal;
};

TEST_F(QtModalFileTest, OpenShowsTheRequestAndReturnsTheWindowsPath) {
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), q("ﾌｧｲﾙを指定して読み込み"));
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(canonical(d->directory().absolutePath()), host(q("KSN")));
        EXPECT_EQ(d->nameFilters(), (QStringList{q("KSN File (*.KSN)"), q("All Files (*)")}));
        EXPECT_EQ(d->selectedNameFilter(), q("KSN File (*.KSN)"));
        EXPECT_EQ(d->defaultSuffix(), q("KSN"));
        choose(d, q("B.KSN"));
    });
    EXPECT_EQ(chosen(modal.fileDialog(openRequest())), q("D:\\KSN\\B.KSN"));
}

TEST_F(QtModalFileTest, FilterMatchesWithoutRegardToCase) {
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) {
        EXPECT_TRUE(waitForShown(d, {q("B.KSN"), q("a.ksn")}));
        // Every file, then the formation filter again: the text file must go, not merely be
        // still unread.
        d->selectNameFilter(q("All Files (*)"));
        EXPECT_TRUE(waitForShown(d, {q("B.KSN"), q("a.ksn"), q("c.txt")}));
        d->selectNameFilter(q("KSN File (*.KSN)"));
        EXPECT_TRUE(waitForShown(d, {q("B.KSN"), q("a.ksn")}));
        choose(d, q("a.ksn"));
    });
    EXPECT_EQ(chosen(modal.fileDialog(openRequest())), q("D:\\KSN\\a.ksn"));
}

struct FilterIndexCase {
    const char* name;
    int index;
    const char* selected;
};
void PrintTo(const FilterIndexCase& c, std::ostream* os) { *os << c.name; }

class QtModalFilterIndexTest : public QtModalFileTest,
                               public ::testing::WithParamInterface<FilterIndexCase> {};

TEST_P(QtModalFilterIndexTest, SelectsTheFilter) {
    FileDialogRequest r = openRequest();
    r.filterIndex = GetParam().index;
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->selectedNameFilter(), q(GetParam().selected));
        d->reject();
    });
    modal.fileDialog(r);
}

INSTANTIATE_TEST_SUITE_P(FilterIndex, QtModalFilterIndexTest,
                         ::testing::Values(FilterIndexCase{"First", 1, "KSN File (*.KSN)"},
                                           FilterIndexCase{"Second", 2, "All Files (*)"},
                                           FilterIndexCase{"ZeroIsFirst", 0, "KSN File (*.KSN)"},
                                           FilterIndexCase{"BeyondIsFirst", 3, "KSN File (*.KSN)"}),
                         [](const auto& p) { return std::string(p.param.name); });

struct StartCase {
    const char* name;
    const char* fileName;
    const char* initialFolder;
    const char* folder;  // relative to the drive's root
    const char* offered;
};
void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class QtModalStartTest : public QtModalFileTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(QtModalStartTest, OpensWhereTheRequestSays) {
    const StartCase& c = GetParam();
    FileDialogRequest r = openRequest(q(c.fileName));
    r.initialFolder = q(c.initialFolder);
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(canonical(d->directory().absolutePath()), host(q(c.folder)));
        EXPECT_EQ(offeredName(d), q(c.offered));
        d->reject();
    });
    modal.fileDialog(r);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Start, QtModalStartTest,
    ::testing::Values(
        StartCase{"InitialFolder", "", "D:\\KSN", "KSN", ""},
        StartCase{"InitialFolderOtherCase", "", "d:\\ksn", "KSN", ""},
        StartCase{"FileNamesFolderWins", "D:\\KSN\\sub\\x.KSN", "D:\\", "KSN/sub", "x.KSN"},
        StartCase{"FileNameOtherCase", "d:\\ksn\\b.ksn", "D:\\", "KSN", "B.KSN"},
        StartCase{"BareNameInInitialFolder", "a.ksn", "D:\\KSN", "KSN", "a.ksn"},
        StartCase{"UnmappedDriveFallsBack", "Q:\\x\\y.KSN", "D:\\KSN", "KSN", "y.KSN"},
        StartCase{"MissingFolderFallsBack", "D:\\gone\\new.KSN", "D:\\KSN", "KSN", "new.KSN"},
        StartCase{"FolderAsFileName", "D:\\KSN\\sub", "D:\\", "KSN/sub", ""},
        StartCase{"MissingInitialFolderNearest", "", "D:\\KSN\\gone\\deeper", "KSN", ""}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST_F(QtModalFileTest, CancelReturnsNothing) {
    ModalScript script;
    script.then<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_EQ(chosen(modal.fileDialog(openRequest(q("D:\\KSN\\B.KSN")))), kNothing);
}

TEST_F(QtModalFileTest, SaveReplacesWithoutAsking) {
    FileDialogRequest r = openRequest(q("D:\\KSN\\B.KSN"));
    r.kind = FileDialogRequest::Kind::Save;
    r.title = q("名前を付けてKSNの保管");
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), q("名前を付けてKSNの保管"));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(offeredName(d), q("B.KSN"));
        confirm(d);  // an overwrite question would be an unexpected box
    });
    EXPECT_EQ(chosen(modal.fileDialog(r)), q("D:\\KSN\\B.KSN"));
}

TEST_F(QtModalFileTest, SaveAddsTheDefaultExtension) {
    FileDialogRequest r = openRequest();
    r.kind = FileDialogRequest::Kind::Save;
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) { choose(d, q("新編成")); });
    EXPECT_EQ(chosen(modal.fileDialog(r)), q("D:\\KSN\\新編成.KSN"));
}

TEST_F(QtModalFileTest, FileUnderNoDriveIsReportedAndCancels) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString outside = elsewhere.filePath(q("x.KSN"));
    QFile(outside).open(QIODevice::WriteOnly);
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* d) { choose(d, outside); });
    script.then<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), kAppTitle);
        EXPECT_TRUE(box->text().contains(canonical(outside))) << box->text().toStdString();
        EXPECT_FALSE(box->text().contains(u'\r'));
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(chosen(modal.fileDialog(openRequest())), kNothing);
}

// ---------------------------------------------------------------------------------------------
// Folder dialog

// Drives D: (with D:\Trains\KSN) and E:.
class QtModalFolderTest : public ::testing::Test {
  protected:
    QtModalFolderTest() : fs(map(), q("D:\\")), modal(nullptr, fs) { d.mkdir(q("Trains/KSN")); }
    DriveMap map() const {
        DriveMap m = d.driveMap();
        m.set(u'E', canonical(e.hostRoot()));
        return m;
    }
    QString host(const QString& relative) const { return canonical(d.host(relative)); }

    TempDrive d{u'D'};
    TempDrive e{u'E'};
    FileSystem fs;
    QtModal modal;
};

TEST_F(QtModalFolderTest, ShowsFoldersOnlyFromTheInitialFolderWithTheDrives) {
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), q("フォルダの選択"));
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        EXPECT_EQ(canonical(dialog->directory().absolutePath()), host(q("Trains")));
        EXPECT_EQ(dialog->sidebarUrls(),
                  (QList<QUrl>{QUrl::fromLocalFile(host({})), QUrl::fromLocalFile(canonical(e.hostRoot()))}));
        choose(dialog, d.host(q("Trains/KSN")));
    });
    EXPECT_EQ(modal.browseFolder(q("フォルダの選択"), q("D:\\Trains")), q("d:\\trains\\ksn"));
}

TEST_F(QtModalFolderTest, DriveRootComesBackAsRoot) {
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) { choose(dialog, e.hostRoot()); });
    EXPECT_EQ(modal.browseFolder(q("t"), q("D:\\Trains")), q("e:\\"));
}

TEST_F(QtModalFolderTest, WithoutInitialFolderOpensAtTheFirstDrive) {
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(canonical(dialog->directory().absolutePath()), host({}));
        dialog->reject();
    });
    EXPECT_EQ(modal.browseFolder(q("t"), {}), QString());
}

TEST_F(QtModalFolderTest, CancelGivesTheEmptyText) {
    ModalScript script;
    script.then<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(modal.browseFolder(q("t"), q("D:\\Trains")), QString());
}

TEST_F(QtModalFolderTest, FolderUnderNoDriveIsReportedAndGivesTheEmptyText) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) { choose(dialog, elsewhere.path()); });
    script.then<QMessageBox>([&](QMessageBox* box) {
        EXPECT_TRUE(box->text().contains(canonical(elsewhere.path()))) << box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(modal.browseFolder(q("t"), q("D:\\Trains")), QString());
}

}  // namespace
}  // namespace ksn
