#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QCompleter>
#include <QLabel>
#include <QLineEdit>

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

// Every field is checked at OK: the message names what it takes, the field gets the focus, and
// nothing runs.
TEST_F(SampleTest, EveryFieldIsCheckedWithTheRangeItTakes) {
    const std::string samples = "The number of samples must be from 1 to 2000000000.";
    const std::string seed = "Please enter the seed as a whole number from 0 to "
                             "18446744073709551615.";
    const std::string target = "The target probability must be above 0 and at most 1.";
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"txtSamples=0", samples, "txtSamples"},
        {"txtSamples=-5", samples, "txtSamples"},
        {"txtSamples=99999999999", samples, "txtSamples"},
        {"txtSamples=99999999999999999999", samples, "txtSamples"},
        {"txtSamples=1.5", samples, "txtSamples"},
        {"txtSamples=", samples, "txtSamples"},
        {"txtSeed=-1", seed, "txtSeed"},
        {"txtSeed=18446744073709551616", seed, "txtSeed"},
        {"txtSeed=+1", seed, "txtSeed"},
        {"txtTarget=x", target, "txtTarget"},
        {"txtTarget=0", target, "txtTarget"},
        {"txtSamples=0|txtTarget=x", samples, "txtSamples"}, // the first field first
        {"txtSeed=x|txtTarget=x", seed, "txtSeed"},
    };
    for (const auto& [fields, message, focus] : cases) {
        std::string focused;
        DialogTest::WhenShown([&, fields = fields](QDialog* dialog) {
            EXPECT_EQ(DialogTest::Get<QLabel>(dialog, "lblLearning")->text(),
                      "Learning: P-Model, LRI, reward 0.5, penalty 0, learning factor 0;\nstep "
                      "delay on (set in Options)");
            DialogTest::Fill(dialog, "cmbSource=0|cmbDest=2|" + std::string(fields));
            DialogTest::Click(dialog, "cmdOK");
            focused = DialogTest::FocusName(dialog);
            DialogTest::Click(dialog, "cmdCancel");
        });
        Play("do mnuSamplePaths");
        EXPECT_EQ(Said(), "E " + message) << fields;
        EXPECT_EQ(focused, focus) << fields;
    }
    EXPECT_FALSE(window->IsWorking() || Action("mnuForward")->isEnabled());
}

// Typing a label picks the node of exactly that label, not one whose label only starts so.
TEST_F(SampleTest, TypingALabelPicksThatNode) {
    for (const auto& [node, label] : {std::pair{1, "A1"}, {2, "A2"}, {3, "A10"}})
        window->Document().Do(new RenameNodeCommand(window->Document(), node, label));
    // The options' lists: A1 picked, and "A1" typed again.
    DialogTest::WhenShown([](QDialog* dialog) {
        auto* source = DialogTest::Get<QComboBox>(dialog, "cmbSource");
        source->setCurrentIndex(0);
        QTest::keyClicks(source, "A1");
        EXPECT_EQ(source->currentText(), "A1");
        dialog->reject();
    });
    Play("do Start");
    // The sampled run's lists filter and complete what is typed.
    DialogTest::WhenShown([](QDialog* dialog) {
        auto* source = DialogTest::Get<QComboBox>(dialog, "cmbSource");
        auto* dest = DialogTest::Get<QComboBox>(dialog, "cmbDest");
        source->clearEditText();
        QTest::keyClicks(source->lineEdit(), "a1");
        EXPECT_EQ(source->completer()->completionCount(), 2); // A1, A10
        dest->clearEditText();
        QTest::keyClicks(dest->lineEdit(), "A10");
        DialogTest::Click(dialog, "cmdOK");
    });
    Play("do mnuSamplePaths");
    ASSERT_TRUE(window->IsWorking());
    EXPECT_EQ(std::pair(window->Run().Settings().sourceNode, window->Run().Settings().DestNode),
              std::pair(1, 3));
    Play("do Stop");
}

TEST_F(SampleTest, ASampledRunPausesShowsItsCountsAndIsOneUndoStep) {
    // Seed 1 draws 0.7029 first: S -> D, rewarded as the first path.
    Sample("txtSamples=3|txtSeed=1");
    EXPECT_EQ(Label("PathsPanel"), "Samples: 1   Dead ends: 0   Best cost: 5   P(best path): 0.75");
    EXPECT_TRUE(graph().Link(3).Flag && !graph().Link(1).Flag);
    script.QueueFile(File("paused.csv")); // the history as far as the pause: header and a row
    Play("do mnuSaveHistory");
    QFile rows(File("paused.csv"));
    EXPECT_TRUE(rows.open(QIODevice::ReadOnly) && rows.readAll().count('\n') == 2);
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

// The dialog offers the last run's values again in the same document only: a new, opened or
// imported document offers its own stored run, or none.
TEST_F(SampleTest, AnotherDocumentOffersItsOwnRun) {
    const auto offered = [this] {
        std::string fields;
        DialogTest::WhenShown([&](QDialog* dialog) {
            for (const char* name : {"cmbSource", "cmbDest"})
                fields += dialog->findChild<QComboBox*>(name)->currentText().toStdString() + "|";
            for (const char* name : {"txtSamples", "txtSeed"})
                fields += dialog->findChild<QLineEdit*>(name)->text().toStdString() + "|";
            DialogTest::Click(dialog, "cmdCancel");
        });
        Play("do mnuSamplePaths");
        return fields;
    };
    clsLA stored;
    for (const char* label : {"P", "Q", "R"})
        stored.Graph().AppendNode().SetLabel(label);
    stored.Graph().ResetIDs();
    stored.Settings.sourceNode = 3;
    stored.Settings.DestNode = 2;
    stored.Settings.Samples = 40;
    stored.Settings.Seed = 9;
    stored.Settings.Threshold = Threshold::Mean; // stored with an experiment's choices
    SaveGraph(stored, Platform::ToFileName(File("stored.plm")));

    Sample("txtSamples=7|txtSeed=3");
    Play("do Stop");
    EXPECT_EQ(offered(), "0|2|7|3|"); // the nodes' IDs, as they have no labels
    script.QueueAnswer(Answer::No);   // the sampled run is not saved
    script.QueueFile(File("stored.plm"));
    Play("do mnuOpen");
    EXPECT_EQ(offered(), "R|Q|40|9|");
    script.QueueFile(QString(PATHLOOM_TEST_DATA) + "/formats/nx-undirected.graphml");
    Play("do mnuImport");
    const RunSettings none;
    EXPECT_EQ(offered(),
              "||" + std::to_string(none.Samples) + "|" + std::to_string(none.Seed) + "|");
}

// With the mean threshold the run is an experiment: the status bar names the preferred path and
// whether it is the shortest in expectation (S-A-D, 2; the first sample walks S-D, 5; the nodes
// are unlabelled, and traced by their IDs).
TEST_F(SampleTest, AnExperimentNamesThePreferredPath) {
    Sample("txtSamples=3|txtSeed=1|cmbThreshold=1");
    EXPECT_EQ(Label("PathsPanel").toStdString(),
              "Samples: 1   Dead ends: 0   Best cost: 5   P(best path): 0.75   Preferred path: "
              "0->2: (P 0.75, not the shortest in expectation)");
    Play("do mnuStop"); // the summary after the run names the threshold too
    EXPECT_EQ(window->Curve().Summary().toStdString(),
              "Samples: 1, best cost: 5, P(best path): 0.75, threshold: Mean so far, preferred "
              "path: 0->2: (P 0.75, not the shortest in expectation)");
}

} // namespace
