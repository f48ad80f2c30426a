#include "DocumentFile.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QFile>

namespace {

using Platform::Answer;

class DocumentTest : public WindowFixture {
  protected:
    // Makes the document modified the way an edit would, with one node in the graph.
    void Edit() {
        window->Engine().Graph().AddNode(10, 10);
        window->Modified = true;
    }
};

TEST_F(DocumentTest, NewAsksAboutChangesAndGoesOnUnlessCancelled) {
    Action("mnuNew")->trigger(); // unchanged: nothing asked
    EXPECT_TRUE(script.Messages().empty());

    Edit();
    script.QueueAnswer(Answer::Cancel);
    Action("mnuNew")->trigger();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(
        script.Messages()[0].text,
        "The graph in the file Untitled has changed.\r\n\r\nDo you want to save the changes?");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(script.Messages()[0].buttons, Platform::Buttons::YesNoCancel);
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 1); // Cancel keeps everything
    EXPECT_TRUE(window->Modified);

    script.QueueAnswer(Answer::No);
    Action("mnuNew")->trigger();
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 0);
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(script.FileRequests().empty());

    // Yes saves first; a save cancelled or failed after Yes counts as Cancel, for New, Open and
    // closing alike.
    Edit();
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("kept"));
    Action("mnuNew")->trigger();
    EXPECT_TRUE(QFile::exists(File("kept.plm")));
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 0);
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    Edit();
    for (const char* leave : {"mnuNew", "mnuOpen", "mnuExit"}) {
        script.QueueAnswer(Answer::Yes); // and nothing queued: the save dialog is cancelled
        Action(leave)->trigger();
        EXPECT_EQ(window->Engine().Graph().NodeCount(), 1) << leave;
        EXPECT_TRUE(window->isVisible() && window->Modified) << leave;
    }
    script.QueueAnswer(Answer::Yes);
    script.QueueFile(File("no-such-folder/x.plm"));
    Action("mnuNew")->trigger();
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 1);
}

TEST_F(DocumentTest, SaveAsksForANameOnlyWhenNeeded) {
    Edit();
    script.QueueFile(std::nullopt);
    Action("mnuSave")->trigger();
    // Cancelled: still untitled and modified, and nothing said.
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_TRUE(window->Modified);
    EXPECT_TRUE(script.Messages().empty());
    ASSERT_EQ(script.FileRequests().size(), 1u);
    EXPECT_TRUE(script.FileRequests()[0].save);
    EXPECT_EQ(script.FileRequests()[0].filter, "Pathloom Files (*.plm);;All Files (*)");
    EXPECT_EQ(script.FileRequests()[0].defaultSuffix, "plm");

    script.QueueFile(File("net1.plm"));
    Action("mnuSave")->trigger();
    EXPECT_EQ(window->windowTitle(), "net1 - Pathloom");
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(window->GetDocumentPath(), File("net1.plm"));

    // Titled: Save writes without a dialog.
    window->Engine().Graph().AddNode(100, 10);
    window->Modified = true;
    Action("mnuSave")->trigger();
    EXPECT_EQ(script.FileRequests().size(), 2u);
    EXPECT_FALSE(window->Modified);
    clsLA reread;
    LoadGraph(reread, Platform::ToFileName(File("net1.plm")));
    EXPECT_EQ(reread.Graph().NodeCount(), 2);

    // Save As always asks, offers the last name, and retitles the window.
    script.QueueFile(File("net2.plm"));
    Action("mnuSaveAs")->trigger();
    ASSERT_EQ(script.FileRequests().size(), 3u);
    EXPECT_EQ(script.FileRequests()[2].offeredName, File("net1.plm"));
    EXPECT_EQ(window->windowTitle(), "net2 - Pathloom");
    EXPECT_TRUE(QFile::exists(File("net2.plm")));
}

TEST_F(DocumentTest, FailedSaveKeepsModifiedAndTheChosenPath) {
    Edit();
    script.QueueFile(File("no-such-folder/net.plm"));
    Action("mnuSave")->trigger();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text, "Error saving graph.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(window->GetDocumentPath(), File("no-such-folder/net.plm"));
    EXPECT_EQ(window->windowTitle(), "net - Pathloom");
}

TEST_F(DocumentTest, OpenLoadsTheGraphResetsTheViewAndAsksAboutChanges) {
    WriteDocument(File("two.plm"), {{10, 10}, {200, 10}}, {{1, 2, 1, 12.0f}});
    Scroll("HScroll")->setValue(100);
    Scroll("VScroll")->setValue(41);
    script.QueueFile(File("two.plm"));
    Action("mnuOpen")->trigger();
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 2);
    EXPECT_EQ(window->Engine().Graph().LinkCount(), 1);
    EXPECT_EQ(window->windowTitle(), "two - Pathloom");
    EXPECT_FALSE(window->Modified);
    EXPECT_EQ(Scroll("HScroll")->value(), 0);
    EXPECT_EQ(Scroll("VScroll")->value(), 0);
    EXPECT_FALSE(script.FileRequests()[0].save);
    EXPECT_EQ(Pixel(15, 30), QColor(255, 255, 150)); // node 1 drawn at its position

    Edit();
    script.QueueAnswer(Answer::No);
    script.QueueFile(std::nullopt);
    Action("mnuOpen")->trigger();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text,
              "The graph in the file two has changed.\r\n\r\nDo you want to save the changes?");
    // The dialog was cancelled: the modified document stays as it was.
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 3);
    EXPECT_TRUE(window->Modified);
    script.QueueAnswer(Answer::Cancel);
    Action("mnuOpen")->trigger();
    EXPECT_EQ(script.FileRequests().size(), 2u); // Cancel: no dialog at all
}

TEST_F(DocumentTest, FailedOpenReportsAndLeavesAnEmptyGraph) {
    QFile broken(File("broken.plm"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a graph at all");
    broken.close();
    Edit();
    script.QueueAnswer(Answer::No);
    script.QueueFile(File("broken.plm"));
    Action("mnuOpen")->trigger();
    ASSERT_EQ(script.Messages().size(), 2u);
    EXPECT_EQ(script.Messages()[1].text, "'" + File("broken.plm") + "' could not be loaded.");
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 0);
    EXPECT_EQ(Pixel(15, 30), QColor(Qt::white)); // redrawn at once without the node
    // A new untitled document: the next save asks for a name and never touches the broken file.
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
    EXPECT_FALSE(window->Modified);
    Action("mnuSave")->trigger();
    EXPECT_TRUE(script.FileRequests().back().save);
    QFile reread(File("broken.plm"));
    ASSERT_TRUE(reread.open(QIODevice::ReadOnly));
    EXPECT_EQ(reread.readAll(), "not a graph at all");
}

TEST_F(DocumentTest, StartupDocumentOpensOrLeavesAnUntitledOne) {
    WriteDocument(File("start.plm"), {{10, 10}, {100, 100}});
    window->OpenStartupDocument(File("start.plm"));
    EXPECT_EQ(window->Engine().Graph().NodeCount(), 2);
    EXPECT_EQ(window->windowTitle(), "start - Pathloom");
    window->OpenStartupDocument(File("missing.plm"));
    EXPECT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(window->windowTitle(), "Untitled - Pathloom");
}

TEST_F(DocumentTest, ClosingAsksAboutUnsavedChanges) {
    EXPECT_TRUE(window->close());
    window->show();
    Edit();
    script.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    script.QueueAnswer(Answer::No);
    Action("mnuExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(script.Messages().size(), 2u);
}

TEST(DocumentTitle, IsTheFileNameWithoutFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Untitled"},
        {"/home/u/net1.plm", "net1"},
        {"/tmp/my.data/net", "net"},
        {"/data/net.v2.plm", "net.v2"},
        {"/net", "net"},
        {"net1.plm", ""},
        {"/data/", ""},
    };
    for (const auto& [path, title] : cases)
        EXPECT_EQ(frmMain::DocumentTitle(path), QString(title)) << path;
}

} // namespace
