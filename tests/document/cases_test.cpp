// The formation format as data: each folder of cases/ holds input.KSN and the rows listed in each mode
// with comments on and off (<mode>.<on|off>.expected, UTF-8, "␊" for a line feed in a row), which a
// save writes unless saved.<mode>.<on|off>.expected says otherwise. A folder holding "pending" is skipped.
#include "fixture.h"

#include "document/document.h"

namespace ksn {
namespace {

const QString kCases = QStringLiteral(KSNED_CASES_DIR);

std::optional<QStringList> readRows(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QString text = QString::fromUtf8(f.readAll());
    if (!text.endsWith(u'\n')) return QStringList{u"(no line feed after the last row of "_s + path + u')'};
    text.chop(1);
    QStringList rows = text.split(u'\n');
    for (QString& r : rows) r.replace(u'␊', u'\n');
    return rows;
}

class FormatCase : public ::testing::TestWithParam<QString> {};

TEST_P(FormatCase, ListsAndSavesTheRowsOfEachModeAndSwitch) {
    const QDir dir(kCases + u'/' + GetParam());
    if (dir.exists(u"pending"_s)) GTEST_SKIP() << "pending: " << GetParam().toStdString();
    // The case's files sit in the default folder D:\KSN, which is also the current folder, as after
    // the formation list has scanned it.
    test::TempDrive drive;
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        drive.write(u"KSN/"_s + name, f.readAll());
    }
    for (const SaveModeRow& modeRow : saveModes()) {
        const SaveMode mode = modeRow.mode;
        for (const bool on : {true, false}) {
            constexpr const char* modeNames[] = {"FileOnly", "AsInFile", "NonDrive", "DefaultFolder"};
            const QString name = QLatin1String(modeNames[int(mode)]) + (on ? u".on.expected"_s : u".off.expected"_s);
            SCOPED_TRACE(name.toStdString());
            const std::optional<QStringList> expected = readRows(dir.filePath(name));
            ASSERT_TRUE(expected) << "missing";
            Ksned state(FileSystem(drive.driveMap(), u"D:\\KSN"_s));
            state.DefaultFolder = u"D:\\KSN"_s;
            test::ScriptedModal modal;
            Document doc(state, modal);
            doc.setSaveMode(mode);
            doc.setCommentsOn(on);
            ASSERT_TRUE(doc.load(u"input.KSN"_s).loaded());
            EXPECT_EQ(doc.rows(), *expected);
            QByteArray written;
            for (const QString& row : readRows(dir.filePath(u"saved."_s + name)).value_or(*expected))
                written += cp932::encode(row) + "\r\n";
            EXPECT_EQ(doc.bytes(), written);
        }
    }
}

QStringList caseNames() { return QDir(kCases).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }

INSTANTIATE_TEST_SUITE_P(Cases, FormatCase, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<QString>& c) {
                             return QString(c.param).replace(u'-', u'_').toStdString();
                         });

}  // namespace
}  // namespace ksn
