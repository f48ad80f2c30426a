#include "MessageBox.h"

#include "FileDialog.h"
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

using Platform::Answer;
using Platform::Buttons;

// Titled, with the icon of its kind, wide enough for its title even with a short text
// ("Overflow"), and answering with the button pressed.
TEST(MessageBox, RealBoxes) {
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Critical, QMessageBox::Critical},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Information, QMessageBox::Information}};
    for (const auto& [icon, shown] : icons) {
        const auto box = Platform::MakeMessageBox(nullptr, "Overflow", icon);
        EXPECT_EQ(box->windowTitle(), "Pathloom");
        EXPECT_EQ(box->icon(), shown);
        EXPECT_GE(box->sizeHint().width(),
                  box->fontMetrics().horizontalAdvance("Pathloom") + Platform::MinTitleBarExtra);
    }
    QTimer::singleShot(0, [] {
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())
            ->button(QMessageBox::No)
            ->click();
    });
    EXPECT_EQ(
        Platform::ShowMessage(nullptr, "Save?", MessageIcon::Exclamation, Buttons::YesNoCancel),
        Answer::No);
}

TEST(PlatformScript, RecordsMessagesAndAnswersQuestionsInOrder) {
    Platform::PlatformScript script;
    script.QueueAnswer(Answer::Yes);
    EXPECT_EQ(Platform::ShowMessage(nullptr, "one", MessageIcon::Critical), Answer::Ok);
    EXPECT_EQ(Platform::ShowMessage(nullptr, "two", MessageIcon::Exclamation, Buttons::YesNoCancel),
              Answer::Yes);
    // Nothing queued: the question is cancelled and counted, so a test sees it was unexpected.
    EXPECT_EQ(
        Platform::ShowMessage(nullptr, "three", MessageIcon::Exclamation, Buttons::YesNoCancel),
        Answer::Cancel);
    ASSERT_EQ(script.Messages().size(), 3u);
    EXPECT_EQ(script.Messages()[1].text, "two");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(script.UnansweredQuestions(), 1);
}

TEST(FileDialog, OffersTheLastNameAgainAndAddsTheSuffix) {
    Platform::PlatformScript script;
    Platform::FileDialog dialog("Pathloom Files (*.plm);;All Files (*)", "plm");
    script.QueueFile(QString("/tmp/net"));
    script.QueueFile(std::nullopt);
    EXPECT_EQ(dialog.ShowSave(nullptr).value_or("cancelled"), "/tmp/net.plm");
    EXPECT_FALSE(dialog.ShowOpen(nullptr).has_value());
    ASSERT_EQ(script.FileRequests().size(), 2u);
    EXPECT_TRUE(script.FileRequests()[0].save);
    EXPECT_EQ(script.FileRequests()[1].offeredName, "/tmp/net.plm");
    EXPECT_EQ(script.FileRequests()[1].filter, "Pathloom Files (*.plm);;All Files (*)");
    // A cancelled dialog keeps the name chosen before.
    EXPECT_EQ(dialog.FileName(), "/tmp/net.plm");
}

TEST(FileDialog, RealDialogCancelReturnsNothing) {
    Platform::FileDialog dialog("Pathloom Files (*.plm);;All Files (*)", "plm");
    QTimer::singleShot(0, [] {
        auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(fd, nullptr);
        EXPECT_EQ(fd->defaultSuffix(), "plm");
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(fd->iconProvider(), Platform::NameOnlyIcons());
        fd->reject();
    });
    EXPECT_FALSE(dialog.ShowOpen(nullptr).has_value());
}

// A file dialog that reads files to guess their types can block for ever on one of them
// (/proc/kmsg), and one that starts in /proc meets such files at once.
TEST(FileDialog, NeverReadsFilesNorStartsInSystemFolders) {
    QTemporaryDir folder;
    QFile pdf(folder.filePath("report"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    pdf.close();
    const QFileInfo info(pdf.fileName());
    EXPECT_FALSE(Platform::NameOnlyIcons()->type(info).contains("PDF"))
        << Platform::NameOnlyIcons()->type(info).toStdString();

    for (const auto& [path, system] : {std::pair{"/proc", true},
                                       {"/sys/x", true},
                                       {"/tmp/../dev/null", true},
                                       {"/process/x", false}})
        EXPECT_EQ(Platform::IsSystemFolder(path), system) << path;

    Platform::PlatformScript script;
    Platform::FileDialog dialog("Pathloom Files (*.plm);;All Files (*)", "plm");
    script.QueueFile(QString("/proc/x.plm"));
    script.QueueFile(std::nullopt);
    dialog.ShowSave(nullptr);
    dialog.ShowOpen(nullptr);
    EXPECT_EQ(script.FileRequests()[1].offeredName, "");
}

} // namespace

namespace {

TEST(MessageBox, ShownTextCutsOnlyOverlongLines) {
    EXPECT_EQ(Platform::ShownText("Syntax error:\r\n}"), "Syntax error:\n}");
    const QString label(Platform::MaxShownLine, 'x');
    EXPECT_EQ(Platform::ShownText("The following link not found.\r\nA->" + label),
              "The following link not found.\nA->" + label.left(Platform::MaxShownLine - 3) +
                  QString::fromUtf8("\u2026 (3 more characters)"));
    const QString huge = "Syntax error:\r\n" + QString(10'000'000, 'y');
    EXPECT_LT(Platform::ShownText(huge).size(), 1100);
}

} // namespace

int main(int argc, char** argv) {
    // Headless unless told otherwise, also when CMake lists the tests at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
