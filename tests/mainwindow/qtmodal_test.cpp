// The modal seam on Qt's own boxes: what the user is shown, what each answer gives back.
#include "mainwindow/qtmodal.h"
#include "mainwindow/application.h"
#include "mainwindow/qtjapanese.h"
#include "support/product/version.h"
#include "testkit/tempdrive.h"

#include <QtTest>
#include <QtWidgets>

namespace ksn {
namespace {

using Step = std::function<void(QWidget*)>;

// A step for a box of type Box; any other box fails the test.
template <class Box, class F>
Step on(F f) {
    return [f](QWidget* w) {
        auto* box = qobject_cast<Box*>(w);
        ASSERT_TRUE(box) << "got a " << w->metaObject()->className();
        f(box);
    };
}

// Answers the boxes a call opens, a step each, from inside their loops; an unexpected box fails.
class ModalScript {
public:
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible() || w->property("scripted").toBool()) return;
            w->setProperty("scripted", true);
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
};

QString canonical(const QString& hostPath) { return QFileInfo(hostPath).canonicalFilePath(); }
QString offered(QFileDialog* d) { return d->findChild<QLineEdit*>("fileNameEdit")->text(); }
// The user types a name or a whole host path and confirms, as the dialog's button would.
void choose(QFileDialog* d, const QString& name) {
    d->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(d)->accept();
}

// Drive D: with formation files spelt in both cases and a sub-folder.
class QtModalTest : public ::testing::Test {
protected:
    QtModalTest() : fs(drive.driveMap(), "D:\\"), modal(&owner, fs) {
        drive.write("KSN/a.ksn", "a");
        drive.write("KSN/B.KSN", "b");
        drive.mkdir("KSN/Sub");
    }
    static FileDialogRequest request(const QString& fileName, const QString& folder = "D:\\KSN", int filterIndex = 1,
                                     FileDialogRequest::Kind kind = FileDialogRequest::Kind::Open) {
        return {kind,       "ﾌｧｲﾙを指定して読み込み",
                fileName,   folder,
                "KSN",      "KSN File (*.KSN)|*.KSN|All Files (*.*)|*.*|",
                filterIndex};
    }
    QString host(const QString& relative) const { return canonical(drive.host(relative)); }
    QString chosen(const FileDialogRequest& r) { return modal.fileDialog(r).value_or("<nothing>"); }

    test::TempDrive drive{u'D'};
    FileSystem fs;
    QWidget owner;
    QtModal modal;
};

TEST_F(QtModalTest, BoxesShowPlainTextOverTheirOwnerAndEscapeDeclines) {
    const struct {
        QString title;
        Qt::Key key;
        MsgAnswer answer;
    } cases[] = {{"保管", Qt::Key_Return, MsgAnswer::Yes}, {"", Qt::Key_Escape, MsgAnswer::No}};
    for (const auto& c : cases) {
        ModalScript script({on<QMessageBox>([&](QMessageBox* box) {
            EXPECT_TRUE(box->parentWidget() == &owner && box->textFormat() == Qt::PlainText &&
                        box->icon() == QMessageBox::Warning);
            EXPECT_EQ(box->windowTitle() + '|' + box->text(),
                      (c.title.isEmpty() ? kAppTitle : c.title) + "|一行目\n二行目\n<b>x</b>");
            QTest::keyClick(box, c.key);
        })});
        EXPECT_EQ(modal.message("一行目\r\n二行目\r<b>x</b>", c.title, MsgButtons::YesNo, MsgIcon::Exclamation),
                  c.answer);
    }
    ModalScript script({on<QInputDialog>([](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle() + '|' + box->labelText() + '|' + box->textValue(),
                  kAppTitle + "|行 : 3\n<b>|古い");
        for (const QLabel* label : box->findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
        box->reject();
    })});
    EXPECT_EQ(modal.input("行 : 3\r\n<b>", {}, "古い"), QString());  // Cancel gives the empty text
}

// The buttons of a question and of an input box, as the user reads them.
QStringList buttonTexts(QtModal& modal) {
    QStringList texts;
    auto read = [&](QDialog* box) {
        for (const QAbstractButton* b : box->findChildren<QAbstractButton*>())
            if (b->isVisible()) texts << b->text();
        box->reject();
    };
    ModalScript script({on<QMessageBox>(read), on<QInputDialog>(read)});
    modal.message("?", {}, MsgButtons::YesNo, MsgIcon::Question);
    modal.input("?", {}, {});
    texts.sort();
    return texts;
}

// With Qt's translation (installed by the tests' main) and without it, the buttons are Japanese.
TEST_F(QtModalTest, ButtonsAreJapaneseWithQtsTranslationAndWithout) {
    ASSERT_TRUE(qtTextsTranslated()) << "qtbase_ja.qm is missing (package qt6-translations-l10n)";
    EXPECT_EQ(buttonTexts(modal), (QStringList{"OK", "いいえ(&N)", "はい(&Y)", "キャンセル"}));
    const QList<QTranslator*> translators = qApp->findChildren<QTranslator*>();
    for (QTranslator* t : translators) QCoreApplication::removeTranslator(t);
    // Qt tells the windows by posted events, which would otherwise reach the next box while it is
    // open and put Qt's English texts back on its buttons.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_FALSE(installQtJapanese(QTemporaryDir().path()));
    EXPECT_EQ(buttonTexts(modal), (QStringList{"OK", "いいえ", "はい", "キャンセル"}));
    for (QTranslator* t : translators) QCoreApplication::installTranslator(t);
}

// Start-up icons are made when first drawn or measured, once, and then are the icon made.
TEST(LazyIcon, IsMadeWhenFirstAskedAndOnlyOnce) {
    int made = 0;
    const QIcon icon = lazyIcon([&] {
        ++made;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        return QIcon(red);
    });
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(made, 0);
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_EQ(icon.pixmap(16).toImage().pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(made, 1);
}

TEST_F(QtModalTest, FileDialogOpensWhereTheRequestSaysAndGivesTheChoice) {
    using enum FileDialogRequest::Kind;
    const struct {
        FileDialogRequest::Kind kind;
        const char *fileName, *initialFolder;
        int filterIndex;
        const char *folderOnD, *offered, *filter, *typed, *chosen;
    } cases[] = {
        {Open, "", "D:\\KSN\\gone\\deeper", 2, "KSN", "", "All Files (*)", nullptr, "<nothing>"},  // the nearest folder
        {Open, "D:\\KSN\\Sub\\x.KSN", "D:\\", 0, "KSN/Sub", "x.KSN", "KSN File (*.KSN)", nullptr, "<nothing>"},
        // Offered as the host spells it.
        {Open, "d:\\ksn\\b.ksn", "D:\\", 3, "KSN", "B.KSN", "KSN File (*.KSN)", "B.KSN", "D:\\KSN\\B.KSN"},
        // A bare name, in the initial folder.
        {Open, "a.ksn", "d:\\ksn", 1, "KSN", "a.ksn", "KSN File (*.KSN)", "a.ksn", "D:\\KSN\\a.ksn"},
        // Saving replaces without asking (a question would be an unexpected box) and adds the extension.
        {Save, "D:\\KSN\\B.KSN", "D:\\", 1, "KSN", "B.KSN", "KSN File (*.KSN)", "B.KSN", "D:\\KSN\\B.KSN"},
        {Save, "D:\\KSN\\B.KSN", "D:\\", 1, "KSN", "B.KSN", "KSN File (*.KSN)", "新編成", "D:\\KSN\\新編成.KSN"},
        // Windows paths typed: through the drive map, against the folder shown.
        {Open, "", "D:\\KSN", 1, "KSN", "", "KSN File (*.KSN)", "d:\\ksn\\b.ksn", "D:\\KSN\\B.KSN"},
        {Save, "", "D:\\KSN", 1, "KSN", "", "KSN File (*.KSN)", "sub\\新編成", "D:\\KSN\\Sub\\新編成.KSN"},
    };
    for (const auto& c : cases) {
        ModalScript script({on<QFileDialog>([&](QFileDialog* d) {
            // A desktop's own dialog may give back paths under no drive.
            EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(QStringList({canonical(d->directory().absolutePath()), offered(d), d->selectedNameFilter()}),
                      QStringList({host(c.folderOnD), c.offered, c.filter}))
                << c.fileName;
            if (c.typed)
                choose(d, c.typed);
            else
                d->reject();
        })});
        EXPECT_EQ(chosen(request(c.fileName, c.initialFolder, c.filterIndex, c.kind)), c.chosen) << c.fileName;
    }
}

TEST_F(QtModalTest, FolderDialogGivesLowerCaseAndAChoiceUnderNoDriveIsReported) {
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath("x.KSN");
    QFile(outside).open(QIODevice::WriteOnly);
    auto reported = [](const QString& text) {
        return on<QMessageBox>([=](QMessageBox* box) {
            EXPECT_TRUE(box->text().contains(text)) << box->text().toStdString();
            box->button(QMessageBox::Ok)->click();
        });
    };
    ModalScript script({on<QFileDialog>([&](QFileDialog* d) {
                            EXPECT_EQ(canonical(d->directory().absolutePath()), host("KSN"));
                            choose(d, drive.host("KSN/Sub"));
                        }),
                        on<QFileDialog>([&](QFileDialog* d) {
                            choose(d, "Q:\\KSN");  // a drive this host does not have: said, and asked again
                            choose(d, elsewhere.path());
                        }),
                        reported("Q:\\KSN\nこのドライブはありません。"), reported(canonical(elsewhere.path())),
                        on<QFileDialog>([&](QFileDialog* d) { choose(d, outside); }), reported(canonical(outside))});
    EXPECT_EQ(modal.browseFolder("フォルダの選択", "D:\\KSN"), "d:\\ksn\\sub");
    EXPECT_EQ(modal.browseFolder("t", "D:\\KSN"), QString());
    EXPECT_TRUE(modal.fileDialog(request({})).failed());  // not a Cancel: the command asks nothing more
}

}  // namespace
}  // namespace ksn
