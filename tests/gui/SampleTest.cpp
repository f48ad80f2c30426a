#include "WindowFixture.h"

namespace {

// S, A, D: S-A and A-D weigh 1, S-D weighs 5; the document learns by LRI with reward 0.5 and
// step delay.
class SampleTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        WriteDocument("sample.plm", {{40, 40}, {240, 40}, {240, 240}},
                      {{1, 2, 1, 1}, {2, 3, 1, 1}, {1, 3, 1, 5}});
        window->OpenStartupDocument(File("sample.plm"));
        RunSettings s = window->Document().Settings();
        s.ModelType = Scheme::LRI;
        s.Reward = 0.5f;
        s.EnableDelay = true;
        window->Document().Do(new SettingsCommand(window->Document(), s, std::nullopt));
    }
    // Run > Sample Paths... from S to D with the given fields: OK, and Cancel if it stays open.
    void Sample(const std::string& fields) {
        DialogTest::WhenShown([=](QDialog* dialog) {
            ASSERT_EQ(dialog->objectName(), "frmSamplePaths");
            DialogTest::Fill(dialog, "cmbSource=0|cmbDest=2|" + fields);
            DialogTest::Click(dialog, "cmdOK");
            if (dialog->isVisible())
                DialogTest::Click(dialog, "cmdCancel");
        });
        Play("do mnuSamplePaths, work");
    }
};

TEST_F(SampleTest, ASampledRunPausesShowsItsCountsAndIsOneUndoStep) {
    // What no run can take leaves the dialog open with a message.
    Sample("txtTarget=x");
    Sample("txtSeed=18446744073709551616");
    EXPECT_EQ(Said(), "E The target probability must be above 0 and at most 1. | E Please enter "
                      "the seed as a whole number from 0 to 18446744073709551615.");
    EXPECT_FALSE(window->IsWorking() || Action("mnuForward")->isEnabled());
    // Seed 1 draws 0.7029 first: S -> D, rewarded as the first path.
    Sample("txtSamples=3|txtSeed=1");
    EXPECT_EQ(Label("PathsPanel"), "Samples: 1   Dead ends: 0   Best cost: 5   P(best path): 0.75");
    EXPECT_TRUE(graph().Link(3).Flag && !graph().Link(1).Flag);
    // The Run menu presses the run buttons and follows their state.
    EXPECT_TRUE(Action("mnuForward")->isEnabled() && Action("mnuStop")->isEnabled());
    EXPECT_FALSE(Action("mnuStart")->isEnabled() || Action("mnuSamplePaths")->isEnabled());
    Play("do mnuForward, work");
    EXPECT_TRUE(Label("PathsPanel").startsWith("Samples: 2 "));
    Play("do mnuStop");
    EXPECT_TRUE(Action("mnuStart")->isEnabled() && Action("mnuSamplePaths")->isEnabled());

    // The document's own settings are not the sampled run's; the run is one step to undo.
    EXPECT_EQ(window->Document().Settings().GraphSearchMethod, SearchMethod::IncludeAllNodes);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Run");
    Play("do mnuUndo");
    EXPECT_EQ(graph().Link(3).Probability, 0.5f);
    EXPECT_EQ(Said(), "");
}

} // namespace
