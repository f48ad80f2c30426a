#include "CommandLineExport.h"
#include "GermanLocale.h"
#include "GraphClipboard.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Graphviz.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <sys/stat.h>

namespace {

const QString FormatsData = QString(PATHLOOM_TEST_DATA) + "/formats/";

class FilesTest : public WindowFixture {
  protected:
    QByteArray Read(const char* name) const {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Answers Edit > Layout's question with the style's place in its list.
    void ChooseStyle(int style) { AnswerDialog("cmdOK", "cmbStyle=" + std::to_string(style)); }
    // The window's state and every node's place.
    std::string StateAndPlaces() const {
        std::string text = State();
        for (int i = 1; i <= graph().NodeCount(); ++i)
            text += " " + std::to_string(graph().Node(i).Position.x) + "," +
                    std::to_string(graph().Node(i).Position.y);
        return text;
    }
};

TEST_F(FilesTest, ImportLayOutAndExportFromTheWindow) {
    // Fitted into the window, also when the window takes another size before the user looks.
    window->OpenStartupDocument(QString(PATHLOOM_EXAMPLES_DIR) + "/streets.graphml");
    const double first = window->Panel().Zoom();
    window->resize(900, 700);
    QCoreApplication::processEvents();
    const QRect nodes = Canvas::GraphBounds(graph()).toRect().adjusted(41, 41, -41, -41);
    EXPECT_TRUE(canvas()->rect().contains(QRect(window->Panel().ToCanvas(nodes.topLeft()),
                                                window->Panel().ToCanvas(nodes.bottomRight()))));
    EXPECT_GT(window->Panel().Zoom(), first);
    script.QueueAnswer(Answer::No);
    script.QueueFile(FormatsData + "nx-undirected.graphml");
    Play("do mnuImport");
    EXPECT_EQ(State(), "Untitled* - Pathloom 5 6 -1 -1 0 &Undo");
    EXPECT_EQ(script.FileRequests().back().title, "Import");
    // No file of another format stores learning settings: the import's learn.
    EXPECT_EQ(window->Document().Settings().ModelType, Scheme::LRI);
    EXPECT_EQ(window->Document().Settings().Reward, 0.1f);
    const clsPosition last = graph().Node(5).Position;
    ChooseStyle(1); // hierarchical
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
    // A PNG past the size limit at the view's zoom is refused, saying how far to zoom out.
    window->Document().Do(new AddNodeCommand(window->Document(), 40000, 20));
    Play("do mnuActualSize");
    script.QueueFile(File("far.png"));
    Play("do mnuExport");
    EXPECT_NE(Said().find("more than a PNG may have (32767 a side and 67108864 in all). Zoom out "
                          "to 81% or less, or export SVG or PDF."),
              std::string::npos);
    EXPECT_FALSE(QFile::exists(File("far.png")));
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
    // One that is there but cannot be opened stays.
    QFile::remove(File("saved.plm"));
    ASSERT_EQ(::mkfifo(Platform::ToFileName(File("saved.plm")).c_str(), 0600), 0);
    script.QueueAnswer(Answer::No);
    Play("do mnuRecent2");
    EXPECT_EQ(Said(), "E? The graph in the file Untitled has changed.\r\n\r\nDo you want to save "
                      "the changes? | C '" +
                          File("saved.plm").toStdString() + "' could not be loaded.");
    EXPECT_EQ(recent(*window), "&1 nx-undirected.graphml, &2 saved.plm");

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

// While Graphviz works for someone else, a layout, a DOT import and a paste of GraphML without
// positions wait for it on their thread: the window goes on handling events, the progress dialog
// appears, and its Cancel leaves the document as it was, with no step to undo, even after the
// cancelled work has ended.
TEST_F(FilesTest, CancelledLayoutOrImportChangesNothingWhileTheWindowAnswers) {
    script.QueueFile(FormatsData + "nx-undirected.graphml");
    Play("do mnuImport");
    const std::string before = StateAndPlaces();
    int ticks = 0; // the window's own timer, every 10 ms
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    std::vector<std::string> shown; // each dialog's text, and whether the window answered
    script.OnProgress = [&](QProgressDialog& dialog) {
        shown.push_back(dialog.labelText().toStdString() + (ticks >= 10 ? " answering" : ""));
        QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
    };
    {
        const GraphvizSession busy;
        ChooseStyle(0);
        Play("do mnuLayout");
        EXPECT_EQ(StateAndPlaces(), before);
        ticks = 0;
        script.QueueAnswer(Answer::No); // the imported graph is not saved
        script.QueueFile(FormatsData + "plain.dot");
        Play("do mnuImport");
        EXPECT_EQ(StateAndPlaces(), before);
        ticks = 0;
        QFile graphML(FormatsData + "nx-undirected.graphml"); // without positions
        ASSERT_TRUE(graphML.open(QIODevice::ReadOnly));
        auto* copied = new QMimeData;
        copied->setData(GraphClipboard::GraphMLType, graphML.readAll());
        QGuiApplication::clipboard()->setMimeData(copied);
        Play("do mnuPaste");
        EXPECT_EQ(StateAndPlaces(), before);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Placing 5 nodes... answering",
                                               "Importing plain.dot... answering",
                                               "Pasting... answering"}));
    Play("do mnuPaste"); // waits for the cancelled work too
    EXPECT_EQ(graph().NodeCount(), 10);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Paste");
    Play("do mnuUndo");
    EXPECT_EQ(StateAndPlaces(), before);
    ChooseStyle(0); // waits for the cancelled work
    Play("do mnuLayout");
    EXPECT_NE(StateAndPlaces(), before);
    Play("do mnuUndo");
    EXPECT_EQ(StateAndPlaces(), before);
}

// Each export with its exit status and a piece of its message; a picture is written only on
// success. Two-node documents: 40,000 pixels apart in a row, 30,000 apart both ways (a PNG of
// 3.6 GB), 2^32 apart (whose bounds overflow 32 bits), and 1,000 apart at the document's edge.
TEST_F(FilesTest, PicturesFromTheCommandLineWithoutAWindow) {
    WriteDocument("row.plm", {{0, 0}, {40000, 0}});
    WriteDocument("square.plm", {{0, 0}, {30000, 30000}});
    WriteDocument("spread.plm", {{-2147483000, 0}, {2147483000, 0}});
    WriteDocument("edge.plm", {{2147482600, 0}, {2147483600, 0}});
    const QString network = QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm";
    const struct {
        QString document;
        const char* out;
        QStringList more;
        int status;
        const char* err;
    } cases[] = {
        {network, "n.svg", {}, 0, ""},
        {network, "n.pdf", {}, 0, ""},
        {network, "n1.png", {}, 0, ""},
        {network, "n2.png", {"--scale", "2"}, 0, ""},
        {network, "n.txt", {}, 1, "--export writes"},
        {network, "n0.svg", {"--scale", "0"}, 1, "usage"},
        {File("missing.plm"), "m.svg", {}, 1, "could not be loaded"},
        {File("row.plm"),
         "row.png",
         {},
         1,
         "The picture would be 40123 x 123 pixels, more than a PNG may have (32767 a side and "
         "67108864 in all). --scale 0.81 or less makes one that fits."},
        {File("row.plm"), "row.png", {"--scale", "0.81"}, 0, ""},
        {File("square.plm"),
         "square.png",
         {},
         1,
         "30123 x 30123 pixels, more than a PNG may have "
         "(32767 a side and 67108864 in all). --scale 0.27 "},
        {File("spread.plm"),
         "spread.svg",
         {},
         1,
         "The graph spans 4294966123 x 123 pixels, more than a picture can hold (4194304 a side)"},
        {File("spread.plm"), "spread.pdf", {}, 1, "more than a picture can hold"},
        {File("edge.plm"), "edge.svg", {}, 0, ""},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const int status = ExportFromCommandLine(
            QStringList{"pathloom", "--export", File(c.out)} + c.more << c.document);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status) << c.out;
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
        EXPECT_EQ(QFile::exists(File(c.out)), status == 0) << c.out;
    }
    // One circle per node, nodes beside the document's edge included.
    EXPECT_EQ(Read("n.svg").count("<circle"), 5);
    EXPECT_EQ(Read("edge.svg").count("<circle"), 2);
    EXPECT_TRUE(Read("n.pdf").startsWith("%PDF"));
    EXPECT_EQ(QImage(File("n2.png")).size(), QImage(File("n1.png")).size() * 2);
    EXPECT_EQ(QImage(File("row.png")).size(), QSize(32500, 100));
}

// The window runs under the user's locale (QApplication takes it from the environment); under
// one whose decimal separator is a comma, --export reads and writes every number as under "C",
// and a distribution typed in Link Properties is saved and opens again as typed.
TEST_F(FilesTest, NumbersKeepTheirPointUnderAGermanLocale) {
    const QString roads = QString(PATHLOOM_EXAMPLES_DIR) + "/stochastic-roads.plm";
    ASSERT_EQ(ExportFromCommandLine({"pathloom", "--export", File("c.graphml"), roads}), 0);
    GermanLocale german;
    if (!german.Available())
        GTEST_SKIP() << "localedef is missing (Debian package locales)";
    ASSERT_EQ(GermanLocale::DecimalPoint(), ",");
    ASSERT_EQ(ExportFromCommandLine({"pathloom", "--export", File("de.graphml"), roads}), 0);
    EXPECT_EQ(Read("de.graphml"), Read("c.graphml"));

    WriteDocument("two.plm", {{0, 0}, {200, 0}}, {{1, 2, LinkKind::Simple, 1}});
    window->OpenStartupDocument(File("two.plm"));
    const char* const typed = "normal(0.30000000000000004, 1.5)";
    AnswerDialog("cmdOK", std::string("txtWeight=") + typed);
    Play("do Pointer, double 120 20");
    EXPECT_EQ(answered, "frmLinkProperties");
    script.QueueFile(File("typed.plm"));
    Play("do mnuSaveAs");
    window->OpenStartupDocument(File("typed.plm"));
    QString shown;
    DialogTest::WhenShown([&shown](QDialog* dialog) {
        shown = DialogTest::Edit(dialog, "txtWeight")->text();
        DialogTest::Click(dialog, "cmdCancel");
    });
    Play("double 120 20");
    EXPECT_EQ(shown.toStdString(), typed);
}

} // namespace
