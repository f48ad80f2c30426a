#include "CommandLineExport.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

const QString FormatsData = QString(PATHLOOM_TEST_DATA) + "/formats/";

class FilesTest : public WindowFixture {
  protected:
    QByteArray Read(const char* name) const {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(FilesTest, ImportLayOutAndExportFromTheWindow) {
    // Fitted into the window, also when the window takes another size before the user looks.
    window->OpenStartupDocument(QString(PATHLOOM_EXAMPLES_DIR) + "/streets.graphml");
    const double first = window->Panel().Zoom();
    window->resize(900, 700);
    QCoreApplication::processEvents();
    const QRect nodes = Canvas::GraphBounds(graph()).adjusted(41, 41, -41, -41);
    EXPECT_TRUE(canvas()->rect().contains(QRect(window->Panel().ToCanvas(nodes.topLeft()),
                                                window->Panel().ToCanvas(nodes.bottomRight()))));
    EXPECT_GT(window->Panel().Zoom(), first);
    script.QueueAnswer(Answer::No);
    script.QueueFile(FormatsData + "nx-undirected.graphml");
    Play("do mnuImport");
    EXPECT_EQ(State(), "Untitled* - Pathloom 5 6 -1 -1 0 &Undo");
    EXPECT_EQ(script.FileRequests().back().title, "Import");
    const clsPosition last = graph().Node(5).Position;
    AnswerDialog("cmdOK", "cmbStyle=1"); // hierarchical
    Play("do mnuLayout");
    EXPECT_EQ(answered, "frmLayout");
    EXPECT_NE(graph().Node(5).Position.x, last.x); // every node moves, to the last
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Layout");
    Play("do mnuUndo");
    EXPECT_EQ(graph().Node(5).Position.x, last.x);

    // Out as data and as a picture.
    script.QueueFile(File("out.dot"));
    Play("do mnuExport");
    clsGraph back;
    GraphFormats::Import(Platform::ToFileName(File("out.dot")), back);
    EXPECT_EQ(back.LinkCount(), graph().LinkCount());
    script.QueueFile(File("out.png"));
    Play("do mnuExport");
    EXPECT_TRUE(Read("out.png").startsWith("\x89PNG"));
    // What an import leaves out is listed at its end.
    script.QueueAnswer(Answer::No); // the imported graph is not kept
    script.QueueFile(FormatsData + "self-loop.graphml");
    Play("do mnuImport");
    EXPECT_EQ(graph().LinkCount(), 1);
    EXPECT_EQ(Said(), "E? The graph in the file Untitled has changed.\r\n\r\nDo you want to save "
                      "the changes? | E? The graph in the file Untitled has changed.\r\n\r\nDo "
                      "you want to save the changes? | I The graph was imported with these "
                      "changes:\n'" +
                          (FormatsData + "self-loop.graphml' line 7: edge 'b' -> 'b' is left "
                                         "out: it links a node to itself")
                              .toStdString());
}

// Open takes graphs of other programs too; opened and saved files are offered again, also after
// the next start; a file no longer there is taken off; files dropped on the window open.
TEST_F(FilesTest, OpenRecentAndDroppedFiles) {
    const auto recent = [](const frmMain& w) {
        QStringList names;
        for (const QAction* item : w.findChild<QMenu*>("mnuOpenRecent")->actions())
            names << item->text();
        return names.join(", ").toStdString();
    };
    WriteDocument("a&b.plm", {{10, 10}});
    WriteDocument("c.plm", {{10, 10}, {100, 10}});
    EXPECT_EQ(recent(*window), "No Recent Files");
    script.QueueFile(File("a&b.plm"));
    Play("do mnuOpen");
    script.QueueFile(FormatsData + "nx-undirected.graphml");
    Play("do mnuOpen");
    EXPECT_EQ(State(), "Untitled* - Pathloom 5 6 -1 -1 0 &Undo");
    script.QueueFile(File("saved"));
    Play("do mnuSave");
    EXPECT_EQ(recent(frmMain()), "&1 saved.plm, &2 nx-undirected.graphml, &3 a&&b.plm");
    QFile::remove(File("a&b.plm"));
    Play("do mnuRecent3");
    EXPECT_EQ(Said(), "E '" + File("a&b.plm").toStdString() +
                          "' is no longer there; it is taken off the recent files.");
    EXPECT_EQ(recent(*window), "&1 saved.plm, &2 nx-undirected.graphml");
    Play("do mnuRecent2");
    EXPECT_EQ(State(), "Untitled* - Pathloom 5 6 -1 -1 0 &Undo");

    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(File("c.plm"))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    script.QueueAnswer(Answer::No); // the imported graph is not kept
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(State(), "c - Pathloom 2 0 -1 -1 0 &Undo");
}

TEST_F(FilesTest, PicturesFromTheCommandLineWithoutAWindow) {
    const auto run = [&](const QString& out, QStringList more = {}) {
        return ExportFromCommandLine(
            QStringList{"pathloom", "--export", File(qPrintable(out))} + more
            << QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm");
    };
    // Status codes are never negative: a sum of 0 is four successes.
    ASSERT_EQ(run("n.svg") + run("n.pdf") + run("n1.png") + run("n2.png", {"--scale", "2"}), 0);
    EXPECT_EQ(Read("n.svg").count("<circle"), 5); // one per node
    EXPECT_TRUE(Read("n.pdf").startsWith("%PDF"));
    EXPECT_EQ(QImage(File("n2.png")).size(), QImage(File("n1.png")).size() * 2);
    EXPECT_EQ(std::pair(run("n.txt"), run("n.svg", {"--scale", "0"})), std::pair(1, 1));
    EXPECT_EQ(ExportFromCommandLine({"pathloom", "--export", File("m.svg"), File("missing.plm")}),
              1);
}

} // namespace
