// The Qt modal seam against Qt's own boxes and dialogs: what the user is shown, what each answer
// gives back, and Windows paths in and out of the file dialogs.
#include "mainwindow/qtmodal.h"
#include "mainwindow/qtjapanese.h"
#include "support/product/version.h"
#include "testkit/tempdrive.h"

#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <memory>

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
        if (auto* box = qobject_cast<Box*>(w))
            f(box);
        else
            ADD_FAILURE() << "expected a " << Box::staticMetaObject.className() << ", got a "
                          << w->metaObject()->className();
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
            QMetaObject::invokeMethod(
                &timer_,
                [step, box = QPointer<QWidget>(w)] {
                    if (box && step) step(box);
                    if (box && box->isVisible()) {
                        ADD_FAILURE() << "the step left its box open";
                        static_cast<QDialog*>(box.data())->reject();
                    }
                },
                Qt::QueuedConnection);
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
        return {FileDialogRequest::Kind::Open,
                "ﾌｧｲﾙを指定して読み込み",
                fileName,
                folder,
                "KSN",
                "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|",
                filterIndex};
    }
    QString host(const QString& relative) const { return canonical(drive.host(relative)); }
    QString chosen(const FileDialogRequest& r) { return modal.fileDialog(r).value_or("<nothing>"); }

    test::TempDrive drive{u'D'}, driveE{u'E'};
    FileSystem fs;
    QWidget owner;
    QtModal modal;
};

TEST_F(QtModalTest, BoxesShowPlainTextOverTheirOwnerAndEscapeDeclines) {
    const struct {
        MsgButtons buttons;
        QString title;
        Qt::Key key;
        MsgAnswer answer;
    } cases[] = {{MsgButtons::Ok, "", Qt::Key_Escape, MsgAnswer::Ok},
                 {MsgButtons::YesNo, "保管", Qt::Key_Return, MsgAnswer::Yes},
                 {MsgButtons::YesNo, "", Qt::Key_Escape, MsgAnswer::No}};
    for (const auto& c : cases) {
        ModalScript script({on<QMessageBox>([&](QMessageBox* box) {
            EXPECT_TRUE(box->parentWidget() == &owner && box->textFormat() == Qt::PlainText &&
                        box->icon() == QMessageBox::Warning);
            EXPECT_EQ(box->windowTitle() + '|' + box->text(),
                      (c.title.isEmpty() ? kAppTitle : c.title) + "|一行目\n二行目\n<b>x</b>");
            QTest::keyClick(box, c.key);
        })});
        EXPECT_EQ(modal.message("一行目\r\n二行目\r<b>x</b>", c.title, c.buttons, MsgIcon::Exclamation), c.answer);
    }
    ModalScript script({on<QInputDialog>([](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle() + '|' + box->labelText() + '|' + box->textValue(),
                  kAppTitle + "|行 : 3\n<b>|古い");
        for (const QLabel* label : box->findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
        box->reject();
    })});
    EXPECT_EQ(modal.input("行 : 3\r\n<b>", {}, "古い"), QString());  // Cancel gives the empty text
}

// The texts of a box the user reads: its labels' and its buttons', tool tips included, in a fixed order.
QStringList shownTexts(QWidget* box) {
    QStringList texts;
    for (const QLabel* l : box->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty()) texts << l->text();
    for (const QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (!b->isVisible()) continue;
        if (!b->text().isEmpty()) texts << b->text();
        if (!b->toolTip().isEmpty()) texts << b->toolTip();
    }
    texts.sort();
    return texts;
}

// What the user reads on a question, an input box with its text box's menu, and the open dialog.
struct QtTexts {
    QStringList question, input, menu, fileDialog, listed;
};

QtTexts textsShownBy(QtModal& modal, const FileDialogRequest& open) {
    QtTexts t;
    ModalScript script(
        {on<QMessageBox>([&](QMessageBox* box) {
             t.question = shownTexts(box);
             box->button(QMessageBox::No)->click();
         }),
         on<QInputDialog>([&](QInputDialog* box) {
             t.input = shownTexts(box);
             QLineEdit* edit = box->findChild<QLineEdit*>();
             const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
             for (const QAction* a : menu->actions())
                 if (!a->isSeparator()) t.menu << a->text().section(u'\t', 0, 0);
             box->reject();
         }),
         on<QFileDialog>([&](QFileDialog* d) {
             t.fileDialog = shownTexts(d);
             // The folder's list as its view shows it: name, size, type and date (the
             // model reads the folder on a thread). Dates differ by the run; their form not.
             auto* files = d->findChild<QFileSystemModel*>();
             const QAbstractItemModel* model = d->findChild<QTreeView*>()->model();
             const QModelIndex dir = d->proxyModel()->mapFromSource(files->index(d->directory().absolutePath()));
             EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(dir) == 3; }, 5000));
             static const QRegularExpression date(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$"));
             for (int row = 0; row < model->rowCount(dir); ++row) {
                 QStringList columns;
                 for (int column : {0, 1, 2, 3}) columns << model->index(row, column, dir).data().toString();
                 columns[3] = date.match(columns[3]).hasMatch() ? QStringLiteral("日時") : columns[3];
                 t.listed << columns.join(u'|');
             }
             t.listed.sort();
             d->reject();
         })});
    EXPECT_EQ(modal.message("保管しますか?", {}, MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);
    EXPECT_EQ(modal.input("行 : 3", {}, "古い"), QString());
    EXPECT_FALSE(modal.fileDialog(open));
    return t;
}

// Qt's own translation, installed as the editor installs it (by the tests' main).
TEST_F(QtModalTest, QtsOwnTextsAreJapanese) {
    ASSERT_TRUE(qtTextsTranslated()) << "qtbase_ja.qm is missing (package qt6-translations-l10n)";
    const QtTexts t = textsShownBy(modal, request({}));
    EXPECT_EQ(t.question, (QStringList{"いいえ(&N)", "はい(&Y)", "保管しますか?"}));
    EXPECT_EQ(t.input, (QStringList{"OK", "キャンセル", "行 : 3"}));
    EXPECT_EQ(t.menu, (QStringList{"元に戻す(&U)", "やり直す(&R)", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除",
                                   "すべてを選択"}));
    EXPECT_EQ(t.fileDialog,
              (QStringList{"アドレス:", "キャンセル", "ファイルの種類:", "ファイル名(&N):", "一覧表示", "戻る",
                           "新しいフォルダの作成", "親ディレクトリ", "詳細表示", "進む", "開く(&O)"}));
    // The file types too: Qt's for a folder, the system's type names for a file.
    EXPECT_EQ(t.listed, (QStringList{"B.KSN|1 バイト|平文テキストドキュメント|日時", "Sub||フォルダ|日時",
                                     "a.ksn|1 バイト|平文テキストドキュメント|日時"}));
}

// Qt's translators taken out for the life of this object, put back afterwards.
class WithoutQtTranslation {
public:
    WithoutQtTranslation() : translators_(qApp->findChildren<QTranslator*>()) {
        for (QTranslator* t : translators_) QCoreApplication::removeTranslator(t);
        // Qt tells the windows by posted events, which would otherwise reach the next box while it
        // is open and put Qt's English texts back on its buttons.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
    ~WithoutQtTranslation() {
        for (QTranslator* t : translators_) QCoreApplication::installTranslator(t);
    }

private:
    QList<QTranslator*> translators_;
};

TEST_F(QtModalTest, WithoutQtsTranslationOurBoxesStillHaveJapaneseButtons) {
    WithoutQtTranslation without;
    const QTemporaryDir noTranslations;
    EXPECT_FALSE(installQtJapanese(noTranslations.path()));
    ASSERT_FALSE(qtTextsTranslated());
    const QtTexts t = textsShownBy(modal, request({}));
    EXPECT_EQ(t.question, (QStringList{"いいえ", "はい", "保管しますか?"}));
    EXPECT_EQ(t.input, (QStringList{"OK", "キャンセル", "行 : 3"}));
    ModalScript script({on<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(shownTexts(box), (QStringList{"OK", "済"}));
        box->button(QMessageBox::Ok)->click();
    })});
    modal.message("済", {}, MsgButtons::Ok, MsgIcon::None);
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
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return listed(d) == QStringList{"B.KSN", "a.ksn"};
            },
            5000))
            << listed(d).join(u' ').toStdString();
        choose(d, "a.ksn");
    })});
    EXPECT_EQ(chosen(request({})), "D:\\KSN\\a.ksn");
}

TEST_F(QtModalTest, FileDialogOpensWhereTheRequestSays) {
    const struct {
        const char *fileName, *initialFolder;
        int filterIndex;
        const char *folderOnD, *offered, *filter;
    } cases[] = {
        {"", "D:\\KSN\\gone\\deeper", 2, "KSN", "", "All Files (*)"},  // the nearest folder that exists
        {"D:\\KSN\\Sub\\x.KSN", "D:\\", 0, "KSN/Sub", "x.KSN", "KSN File (*.KSN)"},
        {"d:\\ksn\\b.ksn", "D:\\", 3, "KSN", "B.KSN", "KSN File (*.KSN)"},   // offered as the host spells it
        {"a.ksn", "d:\\ksn", 1, "KSN", "a.ksn", "KSN File (*.KSN)"},         // a bare name, in the initial folder
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
                        on<QFileDialog>([&](QFileDialog* d) { choose(d, elsewhere.path()); }),
                        reported(elsewhere.path())});
    EXPECT_TRUE(modal.fileDialog(request({})).failed());  // not a Cancel: the command asks nothing more
    EXPECT_EQ(modal.browseFolder("t", "D:\\KSN"), QString());
}

}  // namespace
}  // namespace ksn
