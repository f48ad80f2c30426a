#include "CommandLineExport.h"
#include "GraphFormats.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QTimer>

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
    Action("mnuImport")->trigger();
    EXPECT_EQ(graph().NodeCount(), 5);
    EXPECT_TRUE(window->Modified());
    EXPECT_TRUE(window->GetDocumentPath().isEmpty());
    EXPECT_TRUE(script.Messages().empty());

    std::vector<clsPosition> before;
    for (int i = 1; i <= graph().NodeCount(); ++i)
        before.push_back(graph().Node(i).Position);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue("Hierarchical (for mostly one-way graphs)");
        dialog->accept();
    });
    Action("mnuLayout")->trigger();
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Layout");
    Action("mnuUndo")->trigger();
    for (int i = 1; i <= graph().NodeCount(); ++i) {
        EXPECT_EQ(graph().Node(i).Position.x, before[std::size_t(i - 1)].x);
        EXPECT_EQ(graph().Node(i).Position.y, before[std::size_t(i - 1)].y);
    }

    // Out as data and as a picture.
    script.QueueFile(File("out.dot"));
    Action("mnuExport")->trigger();
    clsGraph back;
    GraphFormats::Import(Platform::ToFileName(File("out.dot")), back);
    EXPECT_EQ(back.LinkCount(), graph().LinkCount());
    script.QueueFile(File("out.png"));
    Action("mnuExport")->trigger();
    EXPECT_TRUE(Read("out.png").startsWith("\x89PNG"));
    // What an import leaves out is listed at its end.
    script.QueueAnswer(Platform::Answer::No); // the imported graph is not kept
    script.QueueFile(FormatsData + "self-loop.graphml");
    Action("mnuImport")->trigger();
    EXPECT_EQ(graph().LinkCount(), 1);
    ASSERT_EQ(script.Messages().size(), 2u); // the unsaved-changes question, then the list
    EXPECT_TRUE(script.Messages()[1].text.contains("self-loop"))
        << script.Messages()[1].text.toStdString();
}

TEST(CommandLineExport, PicturesAndDataWithoutAWindow) {
    QTemporaryDir folder;
    const QString network = QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm";
    const auto run = [&](QStringList args) {
        args.prepend("pathloom");
        return ExportFromCommandLine(args);
    };
    ASSERT_EQ(run({"--export", folder.filePath("n.svg"), network}), 0);
    QFile svg(folder.filePath("n.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_EQ(svg.readAll().count("<circle"), 5); // one per node

    ASSERT_EQ(run({"--export", folder.filePath("n.png"), "--scale", "2", network}), 0);
    const QImage twice(folder.filePath("n.png"));
    ASSERT_EQ(run({"--export", folder.filePath("n1.png"), network}), 0);
    EXPECT_EQ(twice.size(), QImage(folder.filePath("n1.png")).size() * 2);
    ASSERT_EQ(run({"--export", folder.filePath("n.pdf"), network}), 0);
    QFile pdf(folder.filePath("n.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

    EXPECT_EQ(run({"--export", folder.filePath("n.txt"), network}), 1);
    EXPECT_EQ(run({"--export", folder.filePath("n.svg"), "--scale", "0", network}), 1);
    EXPECT_EQ(run({"--export", folder.filePath("n.svg"), folder.filePath("missing.plm")}), 1);
}

} // namespace
