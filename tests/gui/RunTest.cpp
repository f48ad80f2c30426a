#include "DocumentFile.h"
#include "Latin1Text.h"
#include "WindowFixture.h"

namespace {

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);
using Colours = std::vector<QColor>;

class RunTest : public WindowFixture {
  protected:
    // S (0), A (1) and D (2): S -> A and A -> D weigh 1, S -> D weighs 5. From S to D the walk
    // finds S-A-D (cost 2) and then S-D (cost 5).
    void OpenRunGraph() {
        WriteDocument(File("run.plm"), {{40, 40}, {240, 40}, {240, 240}},
                      {{1, 2, 1, 1.0f}, {2, 3, 1, 1.0f}, {1, 3, 1, 5.0f}});
        window->OpenStartupDocument(File("run.plm"));
    }
    std::vector<float> Probabilities() const {
        std::vector<float> values;
        for (int i = 1; i <= graph().LinkCount(); ++i)
            values.push_back(graph().Link(i).Probability);
        return values;
    }
    // A pixel on each link away from its text: S-A along y = 60, A-D along x = 260, S-D on the
    // diagonal.
    Colours LinkColours() const { return {Pixel(100, 60), Pixel(260, 100), Pixel(100, 100)}; }
    void ExpectIdle() {
        EXPECT_FALSE(window->IsWorking());
        EXPECT_EQ(Status(), "Ready");
        EXPECT_TRUE(Action("Start")->isEnabled() && Action("mnuNew")->isEnabled());
        EXPECT_FALSE(Action("Forward")->isEnabled() || Action("Stop")->isEnabled());
        EXPECT_TRUE(Label("PathsPanel").isEmpty());
    }
};

TEST_F(RunTest, StepDelayRunWalksForwardPathByPath) {
    OpenRunGraph();
    StartRun({1, 0, 2, true});
    // First path S-A-D, favourable: its links rewarded, S-D penalised as their sibling.
    WorkUntilPauseOrEnd();
    EXPECT_EQ(Label("PathsPanel"), "Paths found: 1");
    EXPECT_EQ(Status(), "Working...");
    EXPECT_EQ(Probabilities(), (std::vector<float>{0.55f, 1.0f, 0.45f}));
    EXPECT_EQ(LinkColours(), (Colours{Red, Red, Black}));
    // Second path S-D, dearer than the best: penalised, its sibling S-A gains.
    PressButton("Forward");
    WorkUntilPauseOrEnd();
    EXPECT_EQ(Label("PathsPanel"), "Paths found: 2");
    EXPECT_EQ(LinkColours(), (Colours{Black, Black, Red}));
    PressButton("Forward");
    WorkUntilPauseOrEnd();
    // After the run the learned values stay, nothing is flagged and the window is idle.
    EXPECT_EQ(Probabilities(), (std::vector<float>{0.595f, 1.0f, 0.405f}));
    EXPECT_EQ(LinkColours(), (Colours{Black, Black, Black}));
    ExpectIdle();
    EXPECT_TRUE(script.Messages().empty());
    // The whole run is one step of the history, taken back by Undo. The options confirmed for it
    // modify the document; the run, as always, does not.
    Action("mnuUndo")->trigger();
    EXPECT_EQ(Probabilities(), (std::vector<float>{0.5f, 1.0f, 0.5f}));
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Options");
    Action("mnuUndo")->trigger();
    EXPECT_FALSE(window->Modified());
}

TEST_F(RunTest, NothingEditableDuringAPauseAndStopEndsTheRun) {
    OpenRunGraph();
    StartRun({1, 0, 2, true});
    WorkUntilPauseOrEnd();
    // Closing is refused with the working message.
    EXPECT_FALSE(window->close());
    EXPECT_EQ(script.Messages()[0].text,
              "Program already is working. Please stop current operation and then try to close.");
    for (const char* key : {"Pointer", "AddNode", "Delete", "Start", "Reset", "mnuNew", "mnuOpen",
                            "mnuDelete", "mnuProperties", "mnuUndo"})
        EXPECT_FALSE(Action(key)->isEnabled()) << key;
    EXPECT_TRUE(Action("Forward")->isEnabled());
    // The canvas ignores the mouse: no selection, no drag, no dialog.
    Click({60, 60});
    Drag({260, 60}, {300, 100});
    DoubleClick({60, 60});
    EXPECT_EQ(window->GetSelectedNode(), -1);
    EXPECT_EQ(graph().Node(2).Position.x, 240);
    // Save As still writes the document as it is now.
    script.QueueFile(File("during-run.plm"));
    Action("mnuSaveAs")->trigger();
    clsLA saved;
    LoadGraph(saved, Platform::ToFileName(File("during-run.plm")));
    EXPECT_EQ(saved.Graph().LinkCount(), 3);
    PressButton("Stop");
    EXPECT_EQ(LinkColours(), (Colours{Black, Black, Black}));
    ExpectIdle();
    EXPECT_EQ(script.Messages().size(), 1u); // no "Not found any path." after a stop
}

// Simple links keep what they had when the document was opened: Reset gives it back, and every
// run starts from it.
TEST_F(RunTest, ResetAndEveryRunStartFromTheInitialProbabilities) {
    WriteDocument(File("triangle.plm"), {{0, 0}, {100, 0}, {200, 100}},
                  {{1, 2, 0, 1.0f}, {2, 3, 0, 1.0f}, {1, 3, 0, 3.0f}});
    window->OpenStartupDocument(File("triangle.plm"));
    const std::vector<float> initial = Probabilities();
    StartRun({1, 0, 2, false});
    WorkUntilPauseOrEnd();
    const std::vector<float> learned = Probabilities();
    ASSERT_NE(learned, initial);
    StartRun({1, 0, 2, false});
    WorkUntilPauseOrEnd();
    EXPECT_EQ(Probabilities(), learned);
    PressButton("Reset");
    EXPECT_EQ(Probabilities(), initial);
    Action("mnuUndo")->trigger(); // Reset, too, is one step
    EXPECT_EQ(Probabilities(), learned);
}

TEST_F(RunTest, RunWithoutStepDelayStaysResponsiveUntilStopped) {
    // Thirteen nodes all linked to each other and a fourteenth that nothing reaches: the walk to
    // it would try the billions of simple paths of the thirteen and find none.
    clsGraph& g = window->Engine().Graph();
    for (int i = 0; i < 14; ++i)
        g.AddNode(45 * i, (i % 2) * 60);
    for (int a = 1; a <= 13; ++a)
        for (int b = a + 1; b <= 13; ++b)
            g.AddLink(a, b, LinkKind::Simple);
    StartRun({1, 0, 13, false});
    // The window goes on answering while the run works, until Stop.
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(20);
        EXPECT_EQ(Status(), "Working...");
        EXPECT_EQ(window->Canvas()->cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Label("PathsPanel"), "Paths found: 0");
    PressButton("Stop");
    EXPECT_TRUE(script.Messages().empty()); // stopped, so no "Not found any path."
    ExpectIdle();
    EXPECT_EQ(window->Canvas()->cursor().hotSpot(), QPoint(8, 8)); // the tool's pointer again
}

TEST_F(RunTest, CancelledOptionsAndFruitlessRunsEndIdle) {
    OpenRunGraph();
    QString shown;
    AnswerDialog(&shown, "cmdCancel");
    PressButton("Start");
    EXPECT_EQ(shown, "frmOptions");
    ExpectIdle();
    EXPECT_FALSE(Action("mnuUndo")->isEnabled()); // a cancelled dialog changes nothing
    // From D nothing leads back to S.
    StartRun({1, 2, 0, true});
    WorkUntilPauseOrEnd();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].text, "Not found any path.");
    EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Information);
    ExpectIdle();
}

} // namespace
