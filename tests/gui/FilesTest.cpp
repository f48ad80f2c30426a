#include "CommandLineExport.h"
#include "GraphFormats.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QFile>
#include <QImage>

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
    script.QueueFile(FormatsData + "nx-undirected.graphml");
    Play("do mnuImport");
    EXPECT_EQ(State(), "Untitled* - Pathloom 5 6 -1 -1 0 &Undo");
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
                      "the changes? | I The graph was imported with these changes:\n'" +
                          (FormatsData + "self-loop.graphml' line 7: edge 'b' -> 'b' is left "
                                         "out: it links a node to itself")
                              .toStdString());
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
