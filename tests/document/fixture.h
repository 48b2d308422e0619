// Shared by the document tests: an editor on a temporary drive, and bitmap headers that lie.
#pragma once

#include "document/editor.h"
#include "support/text/cp932.h"
#include "testkit/scripted_modal.h"
#include "testkit/tempdrive.h"

namespace ksn::test {

// One editor on drive D:, whose default folder D:\KSN holds the formation files.
class EditorFixture : public ::testing::Test {
protected:
    EditorFixture()
        : state(FileSystem(drive.driveMap(), QStringLiteral("D:\\")), drive.host(QStringLiteral("bin/ksned32"))),
          editor(state, modal) {
        drive.mkdir(QStringLiteral("KSN"));
        state.DefaultFolder = QStringLiteral("D:\\KSN");
    }
    // Writes KSN/<name> and loads it by its bare name, as the formation list does.
    bool loadBytes(const QByteArray& bytes, const QString& name = QStringLiteral("t.KSN")) {
        drive.write(QStringLiteral("KSN/") + name, bytes);
        editor.document().setCurrentFilePath(name);
        return editor.LoadCurrentFile();
    }
    bool load(const QStringList& lines) { return loadBytes(ksnBytes(lines)); }
    QByteArray ksn(const QString& name) const { return drive.read(QStringLiteral("KSN/") + name); }

    TempDrive drive;
    ScriptedModal modal;
    Ksned state;
    Editor editor;
};

}  // namespace ksn::test
