#include "WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

namespace {

class SampleTest : public WindowFixture {
  protected:
    // S (0), A (1), D (2): S -> A and A -> D weigh 1, S -> D weighs 5; learning by LRI with
    // reward 0.5 and step delay, as the document says.
    void SetUp() override {
        WindowFixture::SetUp();
        WriteDocument(File("sample.plm"), {{40, 40}, {240, 40}, {240, 240}},
                      {{1, 2, 1, 1.0f}, {2, 3, 1, 1.0f}, {1, 3, 1, 5.0f}});
        window->OpenStartupDocument(File("sample.plm"));
        RunSettings& s = window->Engine().Settings;
        s.ModelType = Scheme::LRI;
        s.Reward = 0.5f;
        s.EnableDelay = true;
    }
    // Opens Run > Sample Paths..., lets `fill` set the fields, then presses OK and, if the dialog
    // is still open, Cancel.
    void Sample(std::function<void(QWidget*)> fill) {
        QTimer::singleShot(0, [fill] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_EQ(dialog->objectName(), "frmSamplePaths");
            dialog->findChild<QComboBox*>("cmbSource")->setCurrentIndex(0);
            dialog->findChild<QComboBox*>("cmbDest")->setCurrentIndex(2);
            fill(dialog);
            dialog->findChild<QAbstractButton*>("cmdOK")->click();
            if (dialog->isVisible())
                dialog->findChild<QAbstractButton*>("cmdCancel")->click();
        });
        Action("mnuSamplePaths")->trigger();
    }
};

TEST_F(SampleTest, ASampledRunPausesShowsItsCountsAndIsOneUndoStep) {
    EXPECT_FALSE(Action("mnuForward")->isEnabled());
    Sample([](QWidget* dialog) {
        dialog->findChild<QSpinBox*>("txtSamples")->setValue(3);
        dialog->findChild<QLineEdit*>("txtSeed")->setText("1");
    });
    // Seed 1 draws 0.7029 first: S -> D, rewarded as the first path.
    WorkUntilPauseOrEnd();
    EXPECT_EQ(Label("PathsPanel"), "Samples: 1   Dead ends: 0   Best cost: 5   P(best path): 0.75");
    EXPECT_TRUE(graph().Link(3).Flag);
    EXPECT_FALSE(graph().Link(1).Flag);
    // The Run menu presses the run buttons and follows their state.
    EXPECT_TRUE(Action("mnuForward")->isEnabled() && Action("mnuStop")->isEnabled());
    EXPECT_FALSE(Action("mnuStart")->isEnabled() || Action("mnuSamplePaths")->isEnabled());
    Action("mnuForward")->trigger();
    WorkUntilPauseOrEnd();
    EXPECT_TRUE(Label("PathsPanel").startsWith("Samples: 2 "));
    Action("mnuStop")->trigger();
    EXPECT_FALSE(window->IsWorking());
    EXPECT_TRUE(Action("mnuStart")->isEnabled() && Action("mnuSamplePaths")->isEnabled());

    // The document's own settings are not the sampled run's.
    EXPECT_EQ(window->Engine().Settings.GraphSearchMethod, SearchMethod::IncludeAllNodes);
    EXPECT_NE(graph().Link(3).Probability, 0.5f);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Run");
    Action("mnuUndo")->trigger();
    EXPECT_EQ(graph().Link(3).Probability, 0.5f);
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(SampleTest, TheDialogRefusesWhatNoRunCanTake) {
    const struct {
        const char* seed;
        const char* target;
        const char* message;
    } cases[] = {
        {"1", "1.5", "The target probability must be above 0 and at most 1."},
        {"1", "x", "The target probability must be above 0 and at most 1."},
        {"18446744073709551616", "",
         "Please enter the seed as a whole number from 0 to 18446744073709551615."},
    };
    for (const auto& c : cases) {
        script.ClearRecords();
        Sample([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("txtSeed")->setText(c.seed);
            dialog->findChild<QLineEdit*>("txtTarget")->setText(c.target);
        });
        ASSERT_EQ(script.Messages().size(), 1u) << c.target;
        EXPECT_EQ(script.Messages()[0].text, c.message);
        EXPECT_FALSE(window->IsWorking());
    }
}

} // namespace
