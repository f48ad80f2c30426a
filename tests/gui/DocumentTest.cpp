#include "DocumentFile.h"
#include "EditCommands.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QFile>
#include <QToolBar>

namespace {

using Platform::Answer;

class DocumentTest : public WindowFixture {
  protected:
    // An edit as the user makes it, one undo step.
    void Edit() { window->Document().Do(new AddNodeCommand(window->Document(), 10, 10)); }
};

TEST_F(DocumentTest, StartsIdleWithAnEmptyUntitledDocument) {
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_EQ(Status(), "Ready");
    EXPECT_FALSE(window->Modified() || window->IsWorking());
    EXPECT_EQ(window->GetCurrentTool(), Tool::Pointer);
    for (QAction* button : window->findChild<QToolBar*>("StdToolbar")->actions())
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_FALSE(Action("Forward")->isEnabled() || Action("Stop")->isEnabled());
    // The window's own toolbars and status bar leave the canvas its old size.
    EXPECT_EQ(window->Canvas()->size(), QSize(587, 374));
    EXPECT_EQ(window->Canvas()->Image().size(), QSize(587, 374));
}

TEST_F(DocumentTest, NewOpenAndCloseAskAboutChanges) {
    Action("mnuNew")->trigger(); // unchanged: nothing asked
    EXPECT_TRUE(script.Messages().empty());
    Edit();
    script.QueueAnswer(Answer::Cancel);
    Action("mnuNew")->trigger();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(
        script.Messages()[0].text,
        "The graph in the file Untitled has changed.\r\n\r\nDo you want to save the changes?");
    EXPECT_EQ(script.Messages()[0].buttons, Platform::Buttons::YesNoCancel);
    EXPECT_EQ(graph().NodeCount(), 1); // Cancel keeps everything
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("kept"));
    Action("mnuNew")->trigger();
    EXPECT_TRUE(QFile::exists(File("kept.plm")));
    EXPECT_EQ(graph().NodeCount(), 0);

    // A save that is cancelled or fails after Yes counts as Cancel, for New, Open and closing.
    Edit();
    for (const char* leave : {"mnuNew", "mnuOpen", "mnuExit"}) {
        script.QueueAnswer(Answer::Yes); // and nothing queued: the save dialog is cancelled
        Action(leave)->trigger();
        EXPECT_EQ(graph().NodeCount(), 1) << leave;
        EXPECT_TRUE(window->isVisible() && window->Modified()) << leave;
    }
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("no-such-folder/x.plm"));
    Action("mnuNew")->trigger();
    EXPECT_EQ(graph().NodeCount(), 1);
    EXPECT_EQ(script.Messages().back().text, "Error saving graph.");
    EXPECT_EQ(window->windowTitle(), "x - Pathloom"); // the chosen path stays
    script.QueueAnswer(Answer::No);
    EXPECT_TRUE(window->close());
}

TEST_F(DocumentTest, SaveAsksForANameOnlyWhenNeeded) {
    Edit();
    script.QueueFile(std::nullopt);
    Action("mnuSave")->trigger();
    // Cancelled: still untitled and modified, and nothing said.
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_TRUE(window->Modified());
    EXPECT_TRUE(script.Messages().empty());
    EXPECT_EQ(script.FileRequests()[0].filter, "Pathloom Files (*.plm);;All Files (*)");
    script.QueueFile(File("net1.plm"));
    Action("mnuSave")->trigger();
    EXPECT_EQ(window->windowTitle(), "net1 - Pathloom");
    EXPECT_FALSE(window->Modified());
    Edit(); // titled: Save writes without a dialog
    Action("mnuSave")->trigger();
    EXPECT_EQ(script.FileRequests().size(), 2u);
    clsLA reread;
    LoadGraph(reread, Platform::ToFileName(File("net1.plm")));
    EXPECT_EQ(reread.Graph().NodeCount(), 2);
    // Save As always asks, offers the last name, and retitles the window.
    script.QueueFile(File("net2.plm"));
    Action("mnuSaveAs")->trigger();
    EXPECT_EQ(script.FileRequests()[2].offeredName, File("net1.plm"));
    EXPECT_EQ(window->windowTitle(), "net2 - Pathloom");
}

TEST_F(DocumentTest, OpenLoadsOrLeavesANewUntitledDocument) {
    WriteDocument(File("two.plm"), {{10, 10}, {200, 10}}, {{1, 2, 1, 12.0f}});
    Scroll("HScroll")->setValue(100);
    script.QueueFile(File("two.plm"));
    Action("mnuOpen")->trigger();
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(window->windowTitle(), "two - Pathloom");
    EXPECT_EQ(Scroll("HScroll")->value(), 0);
    EXPECT_EQ(Pixel(15, 30), QColor(255, 255, 150)); // node 1 drawn at its position

    // A file that is no document: reported, then a new untitled document, so that the next save
    // asks for a name and never touches the broken file.
    QFile broken(File("broken.plm"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a graph at all");
    broken.close();
    for (const bool fromCommandLine : {false, true}) {
        if (fromCommandLine) {
            window->OpenStartupDocument(File("broken.plm"));
        } else {
            script.QueueFile(File("broken.plm"));
            Action("mnuOpen")->trigger();
        }
        EXPECT_EQ(script.Messages().back().text,
                  "'" + File("broken.plm") + "' could not be loaded.");
        EXPECT_EQ(graph().NodeCount(), 0);
        EXPECT_EQ(Pixel(15, 30), QColor(Qt::white));
        EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
        EXPECT_FALSE(window->Modified());
    }
    Action("mnuSave")->trigger();
    EXPECT_TRUE(script.FileRequests().back().save);
    ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
    EXPECT_EQ(broken.readAll(), "not a graph at all");
}

// Undo back to the saved state leaves nothing to ask about; New and Open start a new history.
TEST_F(DocumentTest, UndoRedoAndModified) {
    EXPECT_FALSE(Action("mnuUndo")->isEnabled());
    Edit();
    script.QueueFile(File("saved.plm"));
    Action("mnuSave")->trigger();
    Edit();
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Add Node");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(graph().NodeCount(), 1);
    EXPECT_EQ(Action("mnuRedo")->text(), "&Redo Add Node");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(graph().NodeCount(), 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(graph().NodeCount(), 2);
    Action("mnuUndo")->trigger();
    EXPECT_TRUE(window->close()); // at the saved state again: nothing asked
    window->show();
    Action("mnuNew")->trigger();
    EXPECT_FALSE(Action("mnuUndo")->isEnabled() || Action("mnuRedo")->isEnabled());
}

TEST(DocumentTitle, IsTheFileNameWithoutFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Untitled"},
        {"/home/u/net1.plm", "net1"},
        {"/tmp/my.data/net", "net"},
        {"/data/net.v2.plm", "net.v2"},
        {"net1.plm", ""},
        {"/data/", ""},
    };
    for (const auto& [path, title] : cases)
        EXPECT_EQ(frmMain::DocumentTitle(path), QString(title)) << path;
}

} // namespace
