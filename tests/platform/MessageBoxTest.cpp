#include "MessageBox.h"

#include "Busy.h"
#include "FileDialog.h"
#include "PlatformScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Platform::Answer;
using Platform::Buttons;

// Finds the modal box that is open now and answers it with the given button.
void AnswerOpenBox(QMessageBox::StandardButton button, QString* title, QMessageBox::Icon* icon) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *title = box->windowTitle();
        *icon = box->icon();
        box->button(button)->click();
    });
}

TEST(MessageBox, RealBoxIsTitledAndReturnsTheButtonPressed) {
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerOpenBox(QMessageBox::No, &title, &icon);
    EXPECT_EQ(
        Platform::ShowMessage(nullptr, "Save?", MessageIcon::Exclamation, Buttons::YesNoCancel),
        Answer::No);
    EXPECT_EQ(title, "Pathloom");
    EXPECT_EQ(icon, QMessageBox::Warning);

    AnswerOpenBox(QMessageBox::Ok, &title, &icon);
    EXPECT_EQ(Platform::ShowMessage(nullptr, "Bad", MessageIcon::Critical), Answer::Ok);
    EXPECT_EQ(icon, QMessageBox::Critical);

    AnswerOpenBox(QMessageBox::Ok, &title, &icon);
    Platform::ShowMessage(nullptr, "Not found any path.", MessageIcon::Information);
    EXPECT_EQ(icon, QMessageBox::Information);
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

TEST(PlatformScript, NestedScriptsRestoreTheOuterOne) {
    Platform::PlatformScript outer;
    {
        Platform::PlatformScript inner;
        Platform::ShowMessage(nullptr, "inner", MessageIcon::Critical);
        EXPECT_EQ(inner.Messages().size(), 1u);
    }
    Platform::ShowMessage(nullptr, "outer", MessageIcon::Critical);
    EXPECT_EQ(outer.Messages().size(), 1u);
    EXPECT_EQ(Platform::PlatformScript::Current(), &outer);
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
        fd->reject();
    });
    EXPECT_FALSE(dialog.ShowOpen(nullptr).has_value());
}

TEST(Busy, SetAndClearBalance) {
    Platform::SetBusy(true);
    Platform::SetBusy(true);
    EXPECT_TRUE(Platform::IsBusy());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Platform::SetBusy(false);
    EXPECT_FALSE(Platform::IsBusy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
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
