// The open dialog as the operator leaves it: the name chosen or typed is the file opened.
#include "ui/dialogs/open_file_dialog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(OpenFileDialog, AnExistingFileOpensAsNamedATypedNameFindsItsExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"ls", "ls.txt", "iroda.vdb"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* typed;
        const char* extension;
        const char* opened;
    } cases[] = {{"ls", "txt", "ls"}, {"ls.txt", "txt", "ls.txt"}, {"iroda", "vdb", "iroda.vdb"}};
    for (const auto& c : cases) {
        OpenFileDialog dialog(nullptr, QStringLiteral("Megnyitás"), dir.path(),
                              QString::fromUtf8("Minden file (*)"), QString::fromUtf8(c.extension));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(QString::fromUtf8(c.typed));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(dialog.chosenFile(), dir.filePath(c.opened)) << c.typed;
    }
}

} // namespace
} // namespace zx
