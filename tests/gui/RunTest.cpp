#include "DocumentFile.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace {

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

class RunTest : public WindowFixture {
  protected:
    // S (0), A (1) and D (2), drawn by mouse: S -> A and A -> D weigh 1, S -> D weighs 5. From
    // S to D the walk finds S-A-D (cost 2) and then S-D (cost 5).
    void DrawRunGraph() {
        Tool("AddNode");
        Click({60, 60});
        Click({260, 60});
        Click({260, 260});
        Tool("UnidirectionalLink");
        Drag({60, 60}, {260, 60});
        Drag({260, 60}, {260, 260});
        Drag({60, 60}, {260, 260});
        clsGraph& graph = window->Engine().Graph();
        ASSERT_EQ(graph.LinkCount(), 3);
        graph.Link(1).Weight = 1;
        graph.Link(2).Weight = 1;
        graph.Link(3).Weight = 5;
        Tool("Pointer");
    }

    std::vector<float> Probabilities() {
        std::vector<float> values;
        const clsGraph& graph = window->Engine().Graph();
        for (int i = 1; i <= graph.LinkCount(); ++i)
            values.push_back(graph.Link(i).Probability);
        return values;
    }

    // A pixel on each link away from its text: S-A along y = 60, A-D along x = 260, S-D on the
    // diagonal.
    static std::vector<QColor> LinkColours(const QImage& canvas) {
        return {canvas.pixelColor(100, 60), canvas.pixelColor(260, 100),
                canvas.pixelColor(100, 100)};
    }

    void ExpectIdle() {
        EXPECT_FALSE(window->IsWorking());
        EXPECT_EQ(Status(), "Ready");
        EXPECT_TRUE(Action("Start")->isEnabled());
        EXPECT_TRUE(Action("Pointer")->isEnabled());
        EXPECT_FALSE(Action("Forward")->isEnabled());
        EXPECT_FALSE(Action("Stop")->isEnabled());
    }
};

void ExpectProbabilities(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "link " << i + 1;
}

TEST_F(RunTest, StepDelayRunWalksForwardPathByPath) {
    DrawRunGraph();
    ExpectProbabilities(Probabilities(), {0.5f, 1.0f, 0.5f});
    AnswerOptions({1, 0, 2, true});
    PressButton("Start");
    // First path S-A-D, favourable: its links rewarded, S-D penalised as their sibling.
    WorkUntilPauseOrEnd();
    EXPECT_EQ(window->findChild<QLabel*>("PathsPanel")->text(), "Paths found: 1");
    EXPECT_EQ(Status(), "Working...");
    ExpectProbabilities(Probabilities(), {0.55f, 1.0f, 0.45f});
    EXPECT_EQ(LinkColours(window->Canvas()->Image()), (std::vector<QColor>{Red, Red, Black}));
    // Second path S-D, dearer than the best: penalised, its sibling S-A gains.
    PressButton("Forward");
    WorkUntilPauseOrEnd();
    EXPECT_EQ(window->findChild<QLabel*>("PathsPanel")->text(), "Paths found: 2");
    ExpectProbabilities(Probabilities(), {0.595f, 1.0f, 0.405f});
    EXPECT_EQ(LinkColours(window->Canvas()->Image()), (std::vector<QColor>{Black, Black, Red}));
    PressButton("Forward");
    WorkUntilPauseOrEnd();

    // After the run the learned values stay, nothing is flagged and the window is idle.
    ExpectProbabilities(Probabilities(), {0.595f, 1.0f, 0.405f});
    EXPECT_EQ(LinkColours(window->Canvas()->Image()), (std::vector<QColor>{Black, Black, Black}));
    EXPECT_TRUE(window->findChild<QLabel*>("PathsPanel")->text().isEmpty());
    ExpectIdle();
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(RunTest, NothingEditableDuringAPauseAndStopEndsTheRun) {
    DrawRunGraph();
    const QString copy = File("during-run.plm");
    AnswerOptions({1, 0, 2, true});
    PressButton("Start");
    WorkUntilPauseOrEnd();
    // Closing is refused with the working message.
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    // The standard toolbar and the document-changing commands are off.
    for (const char* key : {"Pointer", "AddNode", "Delete", "Start", "Reset"})
        EXPECT_FALSE(Action(key)->isEnabled()) << key;
    for (const char* name : {"mnuNew", "mnuOpen", "mnuDelete", "mnuProperties"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    EXPECT_TRUE(Action("Forward")->isEnabled());
    // The canvas ignores the mouse: no selection, no drag, no dialog.
    const int32_t selected = window->GetSelectedNode();
    Click({60, 60});
    Drag({260, 60}, {300, 100});
    DoubleClick({60, 60});
    EXPECT_EQ(window->GetSelectedNode(), selected);
    EXPECT_EQ(window->Engine().Graph().Node(2).Position.x, 240);
    // Save As still writes the document as it is now.
    script.QueueFile(copy);
    Action("mnuSaveAs")->trigger();
    EXPECT_EQ(LinkColours(window->Canvas()->Image()), (std::vector<QColor>{Red, Red, Black}));
    PressButton("Stop");
    ExpectProbabilities(Probabilities(), {0.55f, 1.0f, 0.45f});
    EXPECT_EQ(LinkColours(window->Canvas()->Image()), (std::vector<QColor>{Black, Black, Black}));
    ExpectIdle();
    // Only the refused closing: no "Not found any path." after a stop.
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text,
              "Program already is working. Please stop current operation and then try to close.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Exclamation);
    clsLA saved;
    LoadGraph(saved, Platform::ToFileName(copy));
    EXPECT_EQ(saved.Graph().LinkCount(), 3);
    EXPECT_EQ(window->windowTitle(), "during-run - Pathloom");
    // Afterwards everything is available again.
    EXPECT_TRUE(Action("mnuNew")->isEnabled());
    EXPECT_TRUE(Action("mnuProperties")->isEnabled());

    // Reset puts the initial probabilities back, without marking the document.
    window->Modified = false;
    PressButton("Reset");
    ExpectProbabilities(Probabilities(), {0.5f, 1.0f, 0.5f});
    EXPECT_FALSE(window->Modified);
}

// Simple links keep what they had when the document was opened: Reset gives it back, and every
// run starts from it.
TEST_F(RunTest, ResetAndEveryRunStartFromTheInitialProbabilities) {
    WriteDocument(File("triangle.plm"), {{0, 0}, {100, 0}, {200, 100}},
                  {{1, 2, 0, 1.0f}, {2, 3, 0, 1.0f}, {1, 3, 0, 3.0f}});
    window->OpenStartupDocument(File("triangle.plm"));
    const std::vector<float> initial = Probabilities();
    AnswerOptions({1, 0, 2, false});
    PressButton("Start");
    WorkUntilPauseOrEnd();
    const std::vector<float> learned = Probabilities();
    ASSERT_NE(learned, initial);
    AnswerOptions({1, 0, 2, false});
    PressButton("Start");
    WorkUntilPauseOrEnd();
    EXPECT_EQ(Probabilities(), learned);
    PressButton("Reset");
    EXPECT_EQ(Probabilities(), initial);
}

TEST_F(RunTest, RunWithoutStepDelayStaysResponsiveUntilStopped) {
    // Thirteen nodes all linked to each other and a fourteenth that nothing reaches: the walk to
    // it would try the billions of simple paths of the thirteen and find none.
    clsGraph& graph = window->Engine().Graph();
    for (int i = 0; i < 14; ++i)
        graph.AddNode(45 * i, (i % 2) * 60);
    for (int a = 1; a <= 13; ++a)
        for (int b = a + 1; b <= 13; ++b)
            graph.AddLink(a, b, LinkKind::Simple);

    AnswerOptions({1, 0, 13, false});
    PressButton("Start");
    // The window goes on answering while the run works, until Stop.
    QStringList statuses;
    QString paths;
    bool busyPointer = false;
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(20);
        statuses << Status();
        paths = window->findChild<QLabel*>("PathsPanel")->text();
        busyPointer = busyPointer || window->Canvas()->cursor().shape() == Qt::WaitCursor;
    }
    EXPECT_TRUE(window->IsWorking());
    PressButton("Stop");
    EXPECT_FALSE(window->IsWorking()); // at once
    for (const QString& status : statuses)
        EXPECT_EQ(status, "Working...");
    EXPECT_TRUE(busyPointer);
    EXPECT_EQ(paths, "Paths found: 0");
    EXPECT_TRUE(script.Messages().empty()); // stopped, so no "Not found any path."
    ExpectIdle();
    EXPECT_EQ(window->Canvas()->cursor().hotSpot(), QPoint(8, 8)); // the tool's pointer again
}

TEST_F(RunTest, CancelledOptionsAndFruitlessRunsEndIdle) {
    DrawRunGraph();
    QString shown;
    AnswerDialog(&shown, "cmdCancel");
    PressButton("Start");
    EXPECT_EQ(shown, "frmOptions");
    ExpectIdle();
    ExpectProbabilities(Probabilities(), {0.5f, 1.0f, 0.5f});

    // From D nothing leads back to S.
    AnswerOptions({1, 2, 0, true});
    PressButton("Start");
    WorkUntilPauseOrEnd();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text, "Not found any path.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Information);
    ExpectIdle();
}

} // namespace
