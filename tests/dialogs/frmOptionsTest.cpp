#include "frmOptions.h"

#include "DialogTestSupport.h"
#include "NumericText.h"
#include "PlatformScript.h"
#include "clsLA.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

using DialogTest::Button;
using DialogTest::Edit;
using DialogTest::FocusName;
using DialogTest::Get;

QComboBox* Combo(QDialog* d, const char* name) {
    return Get<QComboBox>(d, name);
}
QRadioButton* Method(QDialog* d, int index) {
    return Get<QRadioButton>(d, QString("optSearchMethod%1").arg(index).toLatin1().constData());
}
QListWidget* TypeList(QDialog* d) {
    return Get<QListWidget>(d, "lstType");
}
void SetText(QDialog* d, const char* name, const char* text) {
    Edit(d, name)->setText(text);
}

class Options : public ::testing::Test {
  protected:
    void SetUp() override {
        options.LA = &la;
        options.MarkModified = [this] { ++modified; };
        // Nodes "A", "B", "A": two equal labels, told apart only by position.
        for (const char* label : {"A", "B", "A"}) {
            la.Graph().AddNode(0, 0);
            la.Graph().Node(la.Graph().NodeCount()).SetLabel(label);
        }
        la.Model = la.ModelType = 0;
        la.Reward = la.Penalty = 0.1f;
        la.LearningFactor = 0.5f;
        la.GraphSearchMethod = SearchMethod::IncludeAllNodes;
        la.FilePath = "/tmp/old paths.txt";
        la.EnableDelay = false;
    }

    int Show(std::function<void(QDialog*)> steps) { return DialogTest::Open(options, steps); }

    std::string LastMessage() const {
        return script.Messages().empty() ? "" : script.Messages().back().text.toStdString();
    }

    clsLA la;
    frmOptions options;
    int modified = 0;
    Platform::PlatformScript script;
};

TEST_F(Options, LoadsEverySettingAndOffersTheNodesWithoutAChoice) {
    la.Model = 1;
    la.ModelType = 1;
    la.Reward = 0.2f;
    la.Penalty = 0.05f;
    la.LearningFactor = 2.0f / 3.0f;
    la.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.sourceNode = &la.Graph().Node(2);
    la.EnableDelay = true;
    Show([](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbModel")->currentIndex(), 1);
        EXPECT_EQ(TypeList(d)->currentRow(), 1);
        EXPECT_EQ(Edit(d, "txtReward")->text(), "0.2");
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.05");
        EXPECT_EQ(Edit(d, "txtLearningFactor")->text(), "0.6666667");
        EXPECT_TRUE(Method(d, 2)->isChecked());
        EXPECT_FALSE(Combo(d, "cmbSource")->isEnabled()); // the loaded method sets the controls
        EXPECT_TRUE(Edit(d, "txtFilePath")->isEnabled());
        for (const char* name : {"cmbSource", "cmbDest"}) {
            QComboBox* nodes = Combo(d, name);
            ASSERT_EQ(nodes->count(), 3);
            EXPECT_EQ(nodes->itemText(2), "A");
            EXPECT_EQ(nodes->currentIndex(), -1) << name; // never preselected
        }
        EXPECT_EQ(Edit(d, "txtFilePath")->text(), "/tmp/old paths.txt");
        EXPECT_TRUE(Get<QCheckBox>(d, "chkEnableDelay")->isChecked());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, UnknownEncodingsLeaveTheListsWithoutASelection) {
    la.Model = 5;
    la.ModelType = -1;
    la.GraphSearchMethod = 7;
    Show([](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbModel")->currentIndex(), -1);
        EXPECT_TRUE(TypeList(d)->selectedItems().isEmpty());
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(Method(d, i)->isChecked());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, LrpMirrorsTheRewardIntoThePenaltyAfterLoading) {
    // LRP mirrors the reward into the penalty as the reward is loaded; the stored penalty follows.
    la.Reward = 0.3f;
    la.Penalty = 0.7f;
    Show([](QDialog* d) {
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        EXPECT_EQ(penalty->text(), "0.7");
        EXPECT_FALSE(penalty->isEnabled());
        EXPECT_FALSE(Get<QLabel>(d, "lblPenalty")->isEnabled());
        reward->setFocus();
        reward->selectAll();
        QTest::keyClicks(reward, "3.25");
        EXPECT_EQ(penalty->text(), "3.25");
        QTest::keyClick(reward, Qt::Key_Backspace);
        EXPECT_EQ(penalty->text(), "3.2");
        Combo(d, "cmbSource")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.Reward, 3.2f);
    EXPECT_EQ(la.Penalty, 3.2f);
}

TEST_F(Options, TheTypeRuleSetsThePenaltyByScheme) {
    Show([](QDialog* d) {
        QListWidget* types = TypeList(d);
        QLineEdit* penalty = Edit(d, "txtPenalty");
        types->setCurrentRow(2); // LRI
        EXPECT_EQ(penalty->text(), "0");
        EXPECT_FALSE(penalty->isEnabled());
        SetText(d, "txtReward", "0.4"); // no mirroring under LRI
        EXPECT_EQ(penalty->text(), "0");
        types->setCurrentRow(1); // LR(E)P keeps the text and allows editing
        EXPECT_EQ(penalty->text(), "0");
        EXPECT_TRUE(penalty->isEnabled());
        EXPECT_TRUE(Get<QLabel>(d, "lblPenalty")->isEnabled());
        penalty->setText("0.05");
        SetText(d, "txtReward", "0.6");
        EXPECT_EQ(penalty->text(), "0.05");
        types->setCurrentRow(0); // LRP copies the reward at once
        EXPECT_EQ(penalty->text(), "0.6");
        EXPECT_FALSE(penalty->isEnabled());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, LriWritesAZeroPenaltyWhateverTheTextShows) {
    la.ModelType = 2;
    la.Penalty = 0.2f; // shown as loaded, but LRI stores 0
    Show([](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.2");
        Combo(d, "cmbSource")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.ModelType, 2);
    EXPECT_EQ(la.Penalty, 0.0f);
}

const char* const badReward = "Please enter Reward value correctly.";
const char* const badFactor = "Please enter Learning Factor value correctly.";

TEST_F(Options, OkRefusesWithItsMessageAndMovesTheFocus) {
    // Each case: its arrangement, its message, and where the focus goes ("" where it stays).
    const struct {
        std::function<void(QDialog*)> arrange;
        const char* message;
        const char* focus;
    } cases[] = {
        {[](QDialog* d) { SetText(d, "txtReward", ""); }, badReward, "txtReward"},
        {[](QDialog* d) { SetText(d, "txtReward", std::string(50, '9').c_str()); }, badReward,
         "txtReward"},
        {[](QDialog* d) { SetText(d, "txtPenalty", "0.1.2"); },
         "Please enter Penalty value correctly.", "txtPenalty"},
        {[](QDialog* d) { SetText(d, "txtPenalty", "0.1"); },
         "In LR(E)P type, Penalty value must be less than Reward value.", "txtReward"},
        {[](QDialog* d) { SetText(d, "txtLearningFactor", "1e-3"); }, badFactor,
         "txtLearningFactor"},
        {[](QDialog* d) { SetText(d, "txtLearningFactor", "-"); }, badFactor, "txtLearningFactor"},
        {[](QDialog* d) { SetText(d, "txtLearningFactor", "1-2"); }, badFactor,
         "txtLearningFactor"},
        {[](QDialog* d) { Combo(d, "cmbSource")->setCurrentIndex(-1); },
         "Please select source node.", "cmbSource"},
        {[](QDialog* d) { Method(d, 1)->click(); }, "Please select destination node.", "cmbDest"},
        {[](QDialog* d) {
             Method(d, 1)->click();
             Combo(d, "cmbDest")->setCurrentIndex(0);
         },
         "Source node and destination node are equal. Please select different node.", ""},
    };
    la.ModelType = 1;
    la.Penalty = 0.05f;
    for (const auto& c : cases) {
        const size_t before = script.Messages().size();
        const int result = Show([this, &c, before](QDialog* d) {
            Combo(d, "cmbSource")->setCurrentIndex(0);
            c.arrange(d);
            // Enter from the check box runs OK; a check that keeps the focus leaves it there.
            QCheckBox* delay = Get<QCheckBox>(d, "chkEnableDelay");
            delay->setFocus();
            QTest::keyClick(delay, Qt::Key_Return);
            ASSERT_EQ(script.Messages().size(), before + 1) << c.message;
            EXPECT_EQ(LastMessage(), c.message);
            EXPECT_EQ(script.Messages().back().icon, MessageIcon::Exclamation);
            EXPECT_EQ(FocusName(d), *c.focus ? c.focus : "chkEnableDelay") << c.message;
            EXPECT_TRUE(d->isVisible());
            if (auto* edit = qobject_cast<QLineEdit*>(d->focusWidget())) {
                EXPECT_EQ(edit->selectedText(), edit->text()) << "the refused text is selected";
            }
            Button(d, "cmdCancel")->click();
        });
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(modified, 0);
}

TEST_F(Options, ValuesWrittenBeforeAFailedCheckStayWrittenAfterCancel) {
    // Each round: reward, learning factor; then what the engine holds afterwards.
    const struct {
        const char* reward;
        const char* factor;
        float storedReward, storedPenalty, storedFactor;
    } rounds[] = {
        {"0.7", "0.9", 0.7f, 0.7f, 0.9f}, // no source node: refused after all three are written
        {"0.4", "-", 0.4f, 0.4f, 0.9f},   // a refused factor: reward and penalty written
        {"x", "0.2", 0.4f, 0.4f, 0.9f},   // a refused reward writes nothing
    };
    for (const auto& r : rounds) {
        Show([&r](QDialog* d) {
            SetText(d, "txtReward", r.reward);
            SetText(d, "txtLearningFactor", r.factor);
            Button(d, "cmdOK")->click();
            Button(d, "cmdCancel")->click();
        });
        EXPECT_EQ(la.Reward, r.storedReward) << r.reward;
        EXPECT_EQ(la.Penalty, r.storedPenalty) << r.reward;
        EXPECT_EQ(la.LearningFactor, r.storedFactor) << r.reward;
    }
    EXPECT_EQ(LastMessage(), badReward);
    EXPECT_EQ(modified, 0);
}

TEST_F(Options, OkWritesEverySettingAndMarksTheDocumentModified) {
    clsNode* oldDest = &la.Graph().Node(2);
    la.DestNode = oldDest;
    const int result = Show([](QDialog* d) {
        Combo(d, "cmbModel")->setCurrentIndex(1);
        TypeList(d)->setCurrentRow(1);
        SetText(d, "txtReward", "  12  ");
        SetText(d, "txtPenalty", "1-2"); // reads as 1
        SetText(d, "txtLearningFactor", " 0.25 ");
        Combo(d, "cmbSource")->setCurrentIndex(2); // the second "A"
        SetText(d, "txtFilePath", "");
        Get<QCheckBox>(d, "chkEnableDelay")->setChecked(true);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(la.Model, 1);
    EXPECT_EQ(la.ModelType, 1);
    EXPECT_EQ(la.Reward, 12.0f);
    EXPECT_EQ(la.Penalty, 1.0f);
    EXPECT_EQ(la.LearningFactor, 0.25f);
    EXPECT_EQ(la.GraphSearchMethod, SearchMethod::IncludeAllNodes);
    EXPECT_EQ(la.sourceNode, &la.Graph().Node(3));
    EXPECT_EQ(la.DestNode, oldDest); // not needed by "Include All Nodes": unchanged
    EXPECT_EQ(la.FilePath, "");
    EXPECT_TRUE(la.EnableDelay);
}

TEST_F(Options, NodesAreTakenByPositionAlsoWithEqualLabels) {
    Show([](QDialog* d) {
        Method(d, 1)->click();
        Combo(d, "cmbSource")->setCurrentIndex(2);
        Combo(d, "cmbDest")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.GraphSearchMethod, SearchMethod::SourceToDestination);
    EXPECT_EQ(la.sourceNode, &la.Graph().Node(3));
    EXPECT_EQ(la.DestNode, &la.Graph().Node(1));
}

TEST_F(Options, ReadFromFileNeedsNoNodesAndKeepsThem) {
    clsNode* source = &la.Graph().Node(1);
    clsNode* dest = &la.Graph().Node(2);
    la.sourceNode = source;
    la.DestNode = dest;
    const int result = Show([](QDialog* d) {
        Method(d, 2)->click();
        SetText(d, "txtFilePath", "");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(la.GraphSearchMethod, SearchMethod::ReadFromFile);
    EXPECT_EQ(la.sourceNode, source);
    EXPECT_EQ(la.DestNode, dest);
    EXPECT_EQ(la.FilePath, "");
}

TEST_F(Options, TheSearchMethodEnablesItsControls) {
    Show([](QDialog* d) {
        const char* names[] = {"lblSource",   "cmbSource",   "lblDest",  "cmbDest",
                               "lblFilePath", "txtFilePath", "cmdBrowse"};
        // Enabled per method 0, 1, 2 in the order of names.
        const bool expected[3][7] = {{true, true, false, false, false, false, false},
                                     {true, true, true, true, false, false, false},
                                     {false, false, false, false, true, true, true}};
        for (int method : {0, 2, 1, 0}) {
            Method(d, method)->click();
            for (int i = 0; i < 7; ++i)
                EXPECT_EQ(d->findChild<QWidget*>(names[i])->isEnabled(), expected[method][i])
                    << "method " << method << ", " << names[i];
        }
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, CancelEscAndTheCloseBoxWriteNothing) {
    const std::vector<std::function<void(QDialog*)>> closers = {
        [](QDialog* d) { Button(d, "cmdCancel")->click(); },
        [](QDialog* d) { QTest::keyClick(Edit(d, "txtReward"), Qt::Key_Escape); },
        [](QDialog* d) { d->close(); },
        [](QDialog* d) { // Enter on the focused Cancel button is Cancel, not OK
            Button(d, "cmdCancel")->setFocus();
            QTest::keyClick(Button(d, "cmdCancel"), Qt::Key_Return);
        },
    };
    for (const auto& close : closers) {
        const int result = Show([&close](QDialog* d) {
            Combo(d, "cmbSource")->setCurrentIndex(1);
            SetText(d, "txtReward", "0.9");
            Get<QCheckBox>(d, "chkEnableDelay")->setChecked(true);
            close(d);
        });
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(la.Reward, 0.1f);
    EXPECT_EQ(la.sourceNode, nullptr);
    EXPECT_FALSE(la.EnableDelay);
    EXPECT_EQ(modified, 0);
}

TEST_F(Options, EnterInATextBoxRunsOkAndMarksModifiedAlsoWithoutChanges) {
    const int result = Show([](QDialog* d) {
        Combo(d, "cmbSource")->setCurrentIndex(0);
        QTest::keyClick(Edit(d, "txtLearningFactor"), Qt::Key_Enter);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modified, 1);
}

TEST_F(Options, NumberBoxesSelectTheirTextOnFocusButThePathBoxDoesNot) {
    la.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.ModelType = 1;
    Show([](QDialog* d) {
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        QLineEdit* path = Edit(d, "txtFilePath");
        DialogTest::ExpectTabSelectsAll(d, "txtReward", "txtPenalty");

        // A click into the box selects the whole text too.
        penalty->deselect();
        reward->setFocus();
        QTest::mouseClick(penalty, Qt::LeftButton, {}, QPoint(3, penalty->height() / 2));
        ASSERT_EQ(FocusName(d), "txtPenalty");
        EXPECT_EQ(penalty->selectedText(), penalty->text());

        // The access key of the label does the same.
        reward->deselect();
        QTest::keyClick(d, Qt::Key_R, Qt::AltModifier);
        ASSERT_EQ(FocusName(d), "txtReward");
        EXPECT_EQ(reward->selectedText(), "0.1");

        // The path box keeps its cursor, also when reached by its access key.
        path->setCursorPosition(2);
        QTest::keyClick(d, Qt::Key_H, Qt::AltModifier);
        ASSERT_EQ(FocusName(d), "txtFilePath");
        EXPECT_FALSE(path->hasSelectedText());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, BrowsePutsTheChosenFileIntoThePathBox) {
    la.GraphSearchMethod = SearchMethod::ReadFromFile;
    script.QueueFile(QString("/tmp/paths.txt"));
    script.QueueFile(std::nullopt);
    Show([](QDialog* d) {
        Button(d, "cmdBrowse")->click();
        EXPECT_EQ(Edit(d, "txtFilePath")->text(), "/tmp/paths.txt");
        Button(d, "cmdBrowse")->click(); // cancelled: nothing changes
        EXPECT_EQ(Edit(d, "txtFilePath")->text(), "/tmp/paths.txt");
        Button(d, "cmdOK")->click();
    });
    ASSERT_EQ(script.FileRequests().size(), 2u);
    EXPECT_FALSE(script.FileRequests()[0].save);
    EXPECT_EQ(script.FileRequests()[0].filter, "Test Files (*.txt);;All Files (*)");
    EXPECT_EQ(script.FileRequests()[0].defaultSuffix, "txt");
    EXPECT_EQ(script.FileRequests()[0].offeredName, "/tmp/old paths.txt");
    EXPECT_EQ(la.FilePath, "/tmp/paths.txt");
}

TEST_F(Options, RangesCommittedByTheRangesDialogSurviveCancel) {
    la.Ranges().AddRange(0, 10, 0.2f);
    const int result = Show([](QDialog* d) {
        DialogTest::WhenShown([d](QDialog* ranges) {
            EXPECT_EQ(ranges->parentWidget(), d); // owned by the options dialog
            EXPECT_EQ(Get<QTreeWidget>(ranges, "lvwRange")->topLevelItemCount(), 1);
            Edit(ranges, "txtStart")->setText("10");
            Edit(ranges, "txtEnd")->setText("20");
            Edit(ranges, "txtAnswer")->setText("0.8");
            Button(ranges, "cmdAdd")->click();
            Button(ranges, "cmdOK")->click();
        });
        Button(d, "cmdRanges")->click();
        EXPECT_TRUE(d->isVisible());
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(la.Ranges().RangeCount(), 2);
    EXPECT_EQ(la.Ranges().Range(2).StartNumber, 10.0f);
    EXPECT_EQ(la.Ranges().Range(2).Answer, 0.8f);
    EXPECT_EQ(modified, 1); // by the ranges dialog's OK
}

} // namespace
