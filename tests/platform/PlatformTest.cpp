#include "FileDialog.h"
#include "Latin1Text.h"
#include "PlatformScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Platform;

TEST(MessageBox, RealBoxes) {
    for (const auto& [icon, shown] : {std::pair{MessageIcon::Critical, QMessageBox::Critical},
                                      {MessageIcon::Exclamation, QMessageBox::Warning},
                                      {MessageIcon::Information, QMessageBox::Information}}) {
        const auto box = MakeMessageBox(nullptr, "Overflow", icon);
        EXPECT_EQ(box->windowTitle() + box->text(), "PathloomOverflow");
        EXPECT_EQ(box->icon(), shown);
        EXPECT_GE(box->sizeHint().width(),
                  box->fontMetrics().horizontalAdvance("Pathloom") + MinTitleBarExtra);
    }
    const QString label(MaxShownLine, 'x');
    EXPECT_EQ(ShownText("Not found.\r\nA->" + label),
              "Not found.\nA->" + label.left(MaxShownLine - 3) +
                  QString::fromUtf8("\u2026 (3 more characters)"));
}

// A dialog that reads files to guess their types can block for ever on one (/proc/kmsg), and
// one that starts in /proc meets such files at once. The name chosen last is offered again.
TEST(FileDialog, NeverReadsFilesNorStartsInSystemFolders) {
    QTemporaryDir folder;
    QFile pdf(folder.filePath("report"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly) && pdf.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"));
    pdf.close();
    EXPECT_FALSE(NameOnlyIcons()->type(QFileInfo(pdf.fileName())).contains("PDF"));
    EXPECT_TRUE(IsSystemFolder("/proc") && IsSystemFolder("/sys/x") &&
                IsSystemFolder("/tmp/../dev/null") && !IsSystemFolder("/process/x"));
    FileDialog dialog("Pathloom Files (*.plm);;All Files (*)", "plm");
    {
        PlatformScript script;
        for (const char* chosen : {"/tmp/net.plm", "/proc/x.plm"}) {
            script.QueueFile(QString(chosen));
            dialog.ShowSave(nullptr);
        }
    }
    QTimer::singleShot(0, [] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->selectedFiles().value(0), "/tmp/net.plm");
        EXPECT_EQ(shown->defaultSuffix(), "plm");
        EXPECT_EQ(shown->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(shown->iconProvider(), NameOnlyIcons());
        shown->reject();
    });
    EXPECT_FALSE(dialog.ShowOpen(nullptr));
}

TEST(Latin1Text, RoundTripsEveryLatin1Character) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(ToLatin1(FromLatin1(all)).value_or("refused"), all);
}

} // namespace
