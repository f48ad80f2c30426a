#include "frmOptions.h"

#include "DialogTestSupport.h"
#include "NumericText.h"
#include "PlatformScript.h"
#include "clsLA.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <ostream>

namespace {

using DialogTest::FocusName;
using DialogTest::Get;
using DialogTest::WhenShown;

QLineEdit* Edit(QDialog* d, const char* name) {
    return Get<QLineEdit>(d, name);
}
QComboBox* Combo(QDialog* d, const char* name) {
    return Get<QComboBox>(d, name);
}
QPushButton* Button(QDialog* d, const char* name) {
    return Get<QPushButton>(d, name);
}
QRadioButton* Method(QDialog* d, int index) {
    return Get<QRadioButton>(d, QString("optSearchMethod%1").arg(index).toLatin1().constData());
}
QListWidget* TypeList(QDialog* d) {
    return Get<QListWidget>(d, "lstType");
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
        la.Model = 0;
        la.ModelType = 0;
        la.Reward = 0.1f;
        la.Penalty = 0.1f;
        la.LearningFactor = 0.5f;
        la.GraphSearchMethod = SearchMethod::IncludeAllNodes;
        la.FilePath = "/tmp/old paths.txt";
        la.EnableDelay = false;
    }

    int Show(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return options.ShowDialog(nullptr);
    }

    // The texts of the messages shown so far.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& message : script.Messages())
            texts.push_back(message.text.toStdString());
        return texts;
    }

    clsLA la;
    frmOptions options;
    int modified = 0;
    Platform::PlatformScript script;
};

TEST_F(Options, ControlsCarryTheirCaptionsAccessKeysAndNames) {
    Show([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Options");
        EXPECT_EQ(Get<QGroupBox>(d, "fraModel")->title(), "Mode&l");
        EXPECT_EQ(Get<QGroupBox>(d, "fraGraphSearch")->title(), "Graph Serach");
        const std::vector<std::pair<const char*, const char*>> labels = {
            {"Label2", "&Type:"},          {"Label3", "&Reward:"},
            {"lblPenalty", "&Penalty:"},   {"Label4", "&Learning Factor:"},
            {"lblSource", "&Souce:"},      {"lblDest", "&Destination:"},
            {"lblFilePath", "File Pat&h:"}};
        for (const auto& [name, caption] : labels)
            EXPECT_EQ(Get<QLabel>(d, name)->text(), caption) << name;
        EXPECT_EQ(Get<QLabel>(d, "Label3")->buddy(), Edit(d, "txtReward"));
        EXPECT_EQ(Get<QLabel>(d, "lblSource")->buddy(), Combo(d, "cmbSource"));
        EXPECT_EQ(Edit(d, "txtLearningFactor")->accessibleName(), "Learning Factor");
        EXPECT_EQ(Combo(d, "cmbModel")->accessibleName(), "Model");
        EXPECT_EQ(Method(d, 0)->text(), "&Include All Nodes");
        EXPECT_EQ(Method(d, 1)->text(), "&From Source To Destination");
        EXPECT_EQ(Method(d, 2)->text(), "Read Fro&m File");
        EXPECT_EQ(Button(d, "cmdRanges")->text(), "Ran&ges");
        EXPECT_EQ(Button(d, "cmdBrowse")->text(), "&Browse");
        EXPECT_EQ(Get<QCheckBox>(d, "chkEnableDelay")->text(), "&Enable Delay (Step by step)");
        EXPECT_EQ(Button(d, "cmdOK")->text(), "&OK");
        EXPECT_TRUE(Button(d, "cmdOK")->isDefault());
        EXPECT_EQ(Button(d, "cmdCancel")->text(), "&Cancel");
        QComboBox* model = Combo(d, "cmbModel");
        ASSERT_EQ(model->count(), 2);
        EXPECT_EQ(model->itemText(0), "P-Model");
        EXPECT_EQ(model->itemText(1), "S-Model");
        QListWidget* types = TypeList(d);
        ASSERT_EQ(types->count(), 3);
        EXPECT_EQ(types->item(1)->text(), "LR(E)P");
        EXPECT_EQ(types->item(2)->text(), "LRI");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, LoadsEverySettingAndOffersTheNodesWithoutAChoice) {
    la.Model = 1;
    la.ModelType = 1;
    la.Reward = 0.2f;
    la.Penalty = 0.05f;
    la.LearningFactor = 1.0f;
    la.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.sourceNode = &la.Graph().Node(2);
    la.EnableDelay = true;
    Show([](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbModel")->currentIndex(), 1);
        EXPECT_EQ(TypeList(d)->currentRow(), 1);
        EXPECT_EQ(Edit(d, "txtReward")->text(), "0.2");
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.05");
        EXPECT_EQ(Edit(d, "txtLearningFactor")->text(), "1");
        EXPECT_TRUE(Method(d, 1)->isChecked());
        for (const char* name : {"cmbSource", "cmbDest"}) {
            QComboBox* nodes = Combo(d, name);
            ASSERT_EQ(nodes->count(), 3);
            EXPECT_EQ(nodes->itemText(0), "A");
            EXPECT_EQ(nodes->itemText(1), "B");
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

TEST_F(Options, LoadingWritesTheStoredPenaltyAfterTheRewardRule) {
    // LRP mirrors the reward into the penalty as the reward is loaded; the stored penalty follows.
    la.Reward = 0.3f;
    la.Penalty = 0.7f;
    Show([](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.7");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, LrpMirrorsEveryRewardChangeIntoTheDisabledPenalty) {
    Show([](QDialog* d) {
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        EXPECT_FALSE(penalty->isEnabled());
        EXPECT_FALSE(Get<QLabel>(d, "lblPenalty")->isEnabled());
        reward->setFocus();
        reward->selectAll();
        QTest::keyClick(reward, Qt::Key_3);
        EXPECT_EQ(penalty->text(), "3");
        QTest::keyClicks(reward, ".25");
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
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        types->setCurrentRow(2); // LRI
        EXPECT_EQ(penalty->text(), "0");
        EXPECT_FALSE(penalty->isEnabled());
        reward->setText("0.4"); // no mirroring under LRI
        EXPECT_EQ(penalty->text(), "0");
        types->setCurrentRow(1); // LR(E)P keeps the text and allows editing
        EXPECT_EQ(penalty->text(), "0");
        EXPECT_TRUE(penalty->isEnabled());
        EXPECT_TRUE(Get<QLabel>(d, "lblPenalty")->isEnabled());
        penalty->setText("0.05");
        reward->setText("0.6");
        EXPECT_EQ(penalty->text(), "0.05");
        types->setCurrentRow(0); // LRP copies the reward at once
        EXPECT_EQ(penalty->text(), "0.6");
        EXPECT_FALSE(penalty->isEnabled());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Options, LriWritesAZeroPenaltyWhateverTheTextShows) {
    la.ModelType = 2;
    la.Reward = 0.3f;
    la.Penalty = 0.2f; // shown as loaded, but LRI stores 0
    Show([](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.2");
        Combo(d, "cmbSource")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.ModelType, 2);
    EXPECT_EQ(la.Reward, 0.3f);
    EXPECT_EQ(la.Penalty, 0.0f);
}

TEST_F(Options, LrepNeedsAPenaltyBelowTheReward) {
    la.ModelType = 1;
    la.Reward = 0.2f;
    la.Penalty = 0.1f;
    Show([this](QDialog* d) {
        Combo(d, "cmbSource")->setCurrentIndex(1);
        for (const char* penalty : {"0.2", "0.3"}) {
            Edit(d, "txtPenalty")->setText(penalty);
            Button(d, "cmdOK")->click();
            EXPECT_EQ(Messages().back(),
                      "In LR(E)P type, Penalty value must be less than Reward value.");
            EXPECT_EQ(FocusName(d), "txtReward");
            EXPECT_TRUE(d->isVisible());
        }
        Edit(d, "txtPenalty")->setText("0.15");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.ModelType, 1);
    EXPECT_EQ(la.Penalty, 0.15f);
    EXPECT_EQ(la.Reward, 0.2f);
}

struct OkCheckCase {
    const char* name;
    std::function<void(QDialog*)> arrange;
    const char* message;
    const char* focus; // "" when the focus stays where it was
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OkCheckCase& c, std::ostream* os) {
    *os << c.name;
}

class OptionsOkCheck : public Options, public ::testing::WithParamInterface<OkCheckCase> {};

TEST_P(OptionsOkCheck, RefusesWithItsMessageAndMovesTheFocus) {
    const OkCheckCase& c = GetParam();
    la.ModelType = 1;
    la.Penalty = 0.05f;
    const int result = Show([this, &c](QDialog* d) {
        Combo(d, "cmbSource")->setCurrentIndex(0);
        c.arrange(d);
        // Enter from the check box runs OK; a check that keeps the focus leaves it there.
        QCheckBox* delay = Get<QCheckBox>(d, "chkEnableDelay");
        delay->setFocus();
        QTest::keyClick(delay, Qt::Key_Return);
        ASSERT_EQ(script.Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], c.message);
        EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(FocusName(d), *c.focus ? c.focus : "chkEnableDelay");
        EXPECT_TRUE(d->isVisible());
        if (auto* edit = qobject_cast<QLineEdit*>(d->focusWidget())) {
            EXPECT_EQ(edit->selectedText(), edit->text()) << "the refused text is selected";
        }
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(modified, 0);
}

void SetText(QDialog* d, const char* name, const char* text) {
    Edit(d, name)->setText(text);
}

const OkCheckCase okChecks[] = {
    {"EmptyReward", [](QDialog* d) { SetText(d, "txtReward", ""); },
     "Please enter Reward value correctly.", "txtReward"},
    {"SpacesReward", [](QDialog* d) { SetText(d, "txtReward", "   "); },
     "Please enter Reward value correctly.", "txtReward"},
    {"CommaReward", [](QDialog* d) { SetText(d, "txtReward", "0,5"); },
     "Please enter Reward value correctly.", "txtReward"},
    {"HugeReward", [](QDialog* d) { SetText(d, "txtReward", std::string(50, '9').c_str()); },
     "Please enter Reward value correctly.", "txtReward"},
    {"TwoPointsPenalty", [](QDialog* d) { SetText(d, "txtPenalty", "0.1.2"); },
     "Please enter Penalty value correctly.", "txtPenalty"},
    {"EqualPenalty", [](QDialog* d) { SetText(d, "txtPenalty", "0.1"); },
     "In LR(E)P type, Penalty value must be less than Reward value.", "txtReward"},
    {"ExponentFactor", [](QDialog* d) { SetText(d, "txtLearningFactor", "1e-3"); },
     "Please enter Learning Factor value correctly.", "txtLearningFactor"},
    {"LoneMinusFactor", [](QDialog* d) { SetText(d, "txtLearningFactor", "-"); },
     "Please enter Learning Factor value correctly.", "txtLearningFactor"},
    {"LonePlusFactor", [](QDialog* d) { SetText(d, "txtLearningFactor", "+"); },
     "Please enter Learning Factor value correctly.", "txtLearningFactor"},
    {"LonePointFactor", [](QDialog* d) { SetText(d, "txtLearningFactor", "."); },
     "Please enter Learning Factor value correctly.", "txtLearningFactor"},
    {"InnerSignFactor", [](QDialog* d) { SetText(d, "txtLearningFactor", "1-2"); },
     "Please enter Learning Factor value correctly.", "txtLearningFactor"},
    {"NoSource", [](QDialog* d) { Combo(d, "cmbSource")->setCurrentIndex(-1); },
     "Please select source node.", "cmbSource"},
    {"NoSourceToDestination",
     [](QDialog* d) {
         Method(d, 1)->click();
         Combo(d, "cmbSource")->setCurrentIndex(-1);
     },
     "Please select source node.", "cmbSource"},
    {"NoDestination", [](QDialog* d) { Method(d, 1)->click(); }, "Please select destination node.",
     "cmbDest"},
    {"EqualNodes",
     [](QDialog* d) {
         Method(d, 1)->click();
         Combo(d, "cmbDest")->setCurrentIndex(0);
     },
     "Source node and destination node are equal. Please select different node.", ""},
};

INSTANTIATE_TEST_SUITE_P(Options, OptionsOkCheck, ::testing::ValuesIn(okChecks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Options, ValuesWrittenBeforeAFailedCheckStayWrittenAfterCancel) {
    Show([this](QDialog* d) {
        SetText(d, "txtReward", "0.7");
        SetText(d, "txtLearningFactor", "0.9");
        Button(d, "cmdOK")->click(); // no source node: refused at step 7
        EXPECT_EQ(Messages().back(), "Please select source node.");
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(la.Reward, 0.7f);
    EXPECT_EQ(la.Penalty, 0.7f); // the mirrored LRP text
    EXPECT_EQ(la.LearningFactor, 0.9f);
    EXPECT_EQ(modified, 0);

    // A refused learning factor leaves it alone but the reward and penalty are written.
    Show([](QDialog* d) {
        SetText(d, "txtReward", "0.4");
        SetText(d, "txtLearningFactor", "-");
        Button(d, "cmdOK")->click();
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(la.Reward, 0.4f);
    EXPECT_EQ(la.LearningFactor, 0.9f);

    // A refused reward writes nothing.
    Show([](QDialog* d) {
        SetText(d, "txtReward", "x");
        Button(d, "cmdOK")->click();
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(la.Reward, 0.4f);
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

TEST_F(Options, AGraphWithoutNodesNeedsReadFromFile) {
    la.Graph().ClearGraph();
    Show([this](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbSource")->count(), 0);
        Button(d, "cmdOK")->click();
        EXPECT_EQ(Messages().back(), "Please select source node.");
        Method(d, 2)->click();
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.GraphSearchMethod, SearchMethod::ReadFromFile);
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

TEST_F(Options, TheLoadedSearchMethodEnablesItsControls) {
    la.GraphSearchMethod = SearchMethod::ReadFromFile;
    Show([](QDialog* d) {
        EXPECT_TRUE(Method(d, 2)->isChecked());
        EXPECT_FALSE(Combo(d, "cmbSource")->isEnabled());
        EXPECT_TRUE(Edit(d, "txtFilePath")->isEnabled());
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

TEST_F(Options, EnterInATextBoxRunsOk) {
    const int result = Show([](QDialog* d) {
        Combo(d, "cmbSource")->setCurrentIndex(0);
        QTest::keyClick(Edit(d, "txtLearningFactor"), Qt::Key_Enter);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(modified, 1); // also when nothing changed
}

TEST_F(Options, ValuesShownAndCommittedAgainKeepSevenSignificantDigits) {
    la.ModelType = 1;
    la.Reward = 2.0f / 3.0f;
    la.Penalty = 1.0f / 3.0f;
    la.LearningFactor = 0.123456789f;
    Show([](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtReward")->text(), "0.6666667");
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.3333333");
        EXPECT_EQ(Edit(d, "txtLearningFactor")->text(), "0.1234568");
        Combo(d, "cmbSource")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(la.Reward, 0.6666667f);
    EXPECT_EQ(la.Penalty, 0.3333333f);
    EXPECT_EQ(la.LearningFactor, 0.1234568f);
    EXPECT_EQ(SingleText(la.Reward), "0.6666667");
}

TEST_F(Options, NumberBoxesSelectTheirTextOnFocusButThePathBoxDoesNot) {
    la.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.ModelType = 1;
    Show([](QDialog* d) {
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        QLineEdit* path = Edit(d, "txtFilePath");
        Combo(d, "cmbModel")->setFocus();
        reward->deselect();
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab); // cmbModel, lstType, txtReward
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(FocusName(d), "txtReward");
        EXPECT_EQ(reward->selectedText(), "0.1");

        // A click into the box selects the whole text too.
        penalty->deselect();
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
        WhenShown([d](QDialog* ranges) {
            EXPECT_EQ(ranges->objectName(), "frmRanges");
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

TEST_F(Options, WithoutAnEngineNothingIsShown) {
    options.LA = nullptr;
    EXPECT_EQ(options.ShowDialog(nullptr), 0);
}

} // namespace
