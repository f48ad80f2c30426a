#include "GraphClipboard.h"
#include "GraphFormats.h"
#include "WindowFixture.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>

namespace {

const QColor Aquamarine(150, 255, 225), Blue(96, 96, 254);

// Nodes 1, 2, 3 ("0", "1", "2") centred on (60, 60), (260, 60), (160, 200), linked 1-2, 2-3, 3-1.
class SelectionTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Play("do AddNode, click 60 60, click 260 60, click 160 200, do SimpleLink, drag 60 60 260 "
             "60, drag 260 60 160 200, drag 160 200 60 60, do Pointer");
    }
    // What is chosen together ("n" nodes, "l" links), the nodes' labels and places, the undo item.
    std::string Chosen() const {
        std::string text;
        for (const int32_t n : window->GetSelection().Nodes)
            text += "n" + std::to_string(n) + " ";
        for (const int32_t l : window->GetSelection().Links)
            text += "l" + std::to_string(l) + " ";
        text += "|";
        for (int32_t i = 1; i <= graph().NodeCount(); ++i) {
            const clsNode& node = graph().Node(i);
            text += " " + node.Label() + "@" + std::to_string(node.Position.x) + "," +
                    std::to_string(node.Position.y);
        }
        return text + " " + std::to_string(graph().LinkCount()) + " " +
               Action("mnuUndo")->text().toStdString();
    }
    static QString ClipboardGraphML() {
        return QGuiApplication::clipboard()->mimeData()->data(GraphClipboard::GraphMLType);
    }
};

TEST_F(SelectionTest, BandCtrlClickDragArrowsAndDeleteTakeTheSelectionAsOne) {
    Play("drag 20 20 300 100"); // a band around 1 and 2, on empty canvas
    EXPECT_EQ(Chosen(), "n1 n2 l1 | 0@40,40 1@240,40 2@140,180 3 &Undo Add Link");
    EXPECT_TRUE(Pixel(45, 60) == Aquamarine && Pixel(245, 60) == Aquamarine &&
                Pixel(100, 60) == Blue);
    Play("ctrl 160 200, ctrl 260 60"); // 3 comes with its links, 2 goes with its own
    EXPECT_EQ(Chosen(), "n1 n3 l3 | 0@40,40 1@240,40 2@140,180 3 &Undo Add Link");
    Play("drag 60 60 110 80");
    EXPECT_EQ(Chosen(), "n1 n3 l3 | 0@90,60 1@240,40 2@190,200 3 &Undo Move Nodes");
    Play("key Right, key Right, key Shift+Down");
    EXPECT_EQ(Chosen(), "n1 n3 l3 | 0@92,70 1@240,40 2@192,210 3 &Undo Move Nodes");
    Play("key Ctrl+Z"); // the arrow keys' moves are one step, the drag another
    EXPECT_EQ(Chosen(), "n1 n3 l3 | 0@90,60 1@240,40 2@190,200 3 &Undo Move Nodes");
    Play("key Ctrl+Z, key Del");
    EXPECT_EQ(Chosen(), "| 1@240,40 0 &Undo Delete Selection");
    Play("key Ctrl+Z, key Ctrl+A");
    EXPECT_EQ(Chosen(), "n1 n2 n3 l1 l2 l3 | 0@40,40 1@240,40 2@140,180 3 &Undo Add Link");
    Play("click 260 60"); // a click on one of them chooses it alone
    EXPECT_EQ(Chosen() + " " + std::to_string(window->GetSelectedNode()),
              "| 0@40,40 1@240,40 2@140,180 3 &Undo Add Link 2");
}

TEST_F(SelectionTest, CopyPasteCutAndUndoRoundTrip) {
    Play("drag 20 20 300 100, key Ctrl+C, do mnuPaste"); // beside the copied, labels their own
    EXPECT_EQ(Chosen(), "n4 n5 l4 | 0@40,40 1@240,40 2@140,180 0_2@60,60 1_2@260,60 4 &Undo Paste");
    Play("do mnuPaste, key Ctrl+Z, key Ctrl+Z");
    EXPECT_EQ(Chosen(), "| 0@40,40 1@240,40 2@140,180 3 &Undo Add Link");
    QCursor::setPos(canvas()->mapToGlobal(QPoint(300, 300))); // by its key: at the pointer
    Play("key Ctrl+V");
    EXPECT_EQ(graph().Node(4).Position.x + graph().Node(5).Position.x, 2 * 300 - 40);
    EXPECT_EQ(graph().Node(4).Position.y, 300 - 20);

    // Into an empty document the selection comes exactly as it was.
    Play("click 160 200, key Ctrl+A, key Ctrl+C");
    const QString copied = ClipboardGraphML();
    script.QueueAnswer(Answer::No);
    Play("do mnuNew, do mnuPaste");
    EXPECT_EQ(
        QString::fromStdString(GraphFormats::ExportText(graph(), GraphFormats::Format::GraphML)),
        copied);
    Play("key Ctrl+A, key Ctrl+X");
    EXPECT_EQ(Chosen(), "| 0 &Undo Cut");
    Play("key Ctrl+V"); // where it was cut from
    EXPECT_EQ(ClipboardGraphML(), copied);

    // GraphML from another program, as plain text.
    QFile other(QString(PATHLOOM_TEST_DATA) + "/formats/nx-undirected.graphml");
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    QGuiApplication::clipboard()->setText(other.readAll());
    Play("do mnuPaste");
    EXPECT_EQ(std::pair(graph().NodeCount(), graph().LinkCount()), std::pair(5 + 5, 4 + 6));
    EXPECT_EQ(Said(), "E? The graph in the file Untitled has changed.\r\n\r\nDo you want to save "
                      "the changes?");
}

} // namespace
