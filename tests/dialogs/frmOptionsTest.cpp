#include "frmOptions.h"

#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "ValidationCases.h"
#include "clsLA.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>
#include <cmath>

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
void SetText(QDialog* d, const char* name, const QString& text) {
    Edit(d, name)->setText(text);
}

class Options : public ::testing::Test {
  protected:
    void SetUp() override {
        // Nodes "A", "B", "A": two equal labels, told apart only by position.
        for (const char* label : {"A", "B", "A"}) {
            la.Graph().AddNode(0, 0);
            la.Graph().Node(la.Graph().NodeCount()).SetLabel(label);
        }
        settings.Reward = settings.Penalty = 0.1f;
        settings.LearningFactor = 0.5f;
        settings.FilePath = "/tmp/old paths.txt";
    }

    frmOptions::Result Show(std::function<void(QDialog*)> steps) {
        DialogTest::WhenShown(std::move(steps));
        return options.ShowDialog(nullptr, settings, la.Graph(), la.Ranges());
    }

    std::string LastMessage() const {
        return script.Messages().empty() ? "" : script.Messages().back().text.toStdString();
    }

    clsLA la;
    RunSettings settings;
    frmOptions options;
    Platform::PlatformScript script;
};

TEST_F(Options, LoadsEverySettingAndOffersTheNodesWithoutAChoice) {
    settings.Model = 1;
    settings.ModelType = Scheme::LREP;
    settings.Reward = 0.2f;
    settings.Penalty = 0.05f;
    settings.LearningFactor = 2.0f / 3.0f;
    settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    settings.sourceNode = 2;
    settings.EnableDelay = true;
    Show([](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbModel")->currentIndex(), 1);
        EXPECT_EQ(TypeList(d)->currentRow(), 1);
        EXPECT_EQ(Edit(d, "txtReward")->text(), "0.2");
        EXPECT_EQ(Edit(d, "txtPenalty")->text(), "0.05");
        EXPECT_EQ(Edit(d, "txtLearningFactor")->text(), "0.6666667");
        EXPECT_TRUE(Method(d, 2)->isChecked());
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
    // Unknown encodings, from a damaged document, leave the lists without a selection.
    settings.Model = 5;
    settings.ModelType = -1;
    settings.GraphSearchMethod = 7;
    Show([](QDialog* d) {
        EXPECT_EQ(Combo(d, "cmbModel")->currentIndex(), -1);
        EXPECT_TRUE(TypeList(d)->selectedItems().isEmpty());
        EXPECT_FALSE(Method(d, 0)->isChecked() || Method(d, 1)->isChecked() ||
                     Method(d, 2)->isChecked());
        Button(d, "cmdCancel")->click();
    });
}

// The rules every run obeys, entered as a user would: the message, the focus on the field it is
// about with its text selected, and after a refusal the dialog still open.
TEST_F(Options, OkAppliesTheRulesOfARun) {
    const auto text = [](float value, const char* noNumber) {
        return std::isfinite(value) ? QString::number(value) : QString(noNumber);
    };
    const char* const fields[] = {"",          "txtReward", "txtPenalty", "txtLearningFactor",
                                  "cmbSource", "cmbDest"};
    for (const ValidationCase& c : ValidationTable::Cases) {
        const frmOptions::Result result = Show([&](QDialog* d) {
            TypeList(d)->setCurrentRow(c.scheme);
            SetText(d, "txtReward", text(c.reward, ""));
            if (c.scheme == Scheme::LREP)
                SetText(d, "txtPenalty", text(c.penalty, "0.1.2"));
            SetText(d, "txtLearningFactor", text(c.factor, "1-2"));
            Method(d, c.method)->click();
            Combo(d, "cmbSource")->setCurrentIndex(c.source - 1);
            Combo(d, "cmbDest")->setCurrentIndex(c.dest - 1);
            // Enter from the check box runs OK; a check that keeps the focus leaves it there.
            QCheckBox* delay = Get<QCheckBox>(d, "chkEnableDelay");
            delay->setFocus();
            QTest::keyClick(delay, Qt::Key_Return);
            if (!*c.message)
                return;
            EXPECT_EQ(LastMessage(), c.message) << c.name;
            const char* field = fields[static_cast<int>(c.field)];
            EXPECT_EQ(FocusName(d), *field ? field : "chkEnableDelay") << c.name;
            if (auto* edit = qobject_cast<QLineEdit*>(d->focusWidget())) {
                EXPECT_EQ(edit->selectedText(), edit->text()) << c.name;
            }
            Button(d, "cmdCancel")->click();
        });
        EXPECT_EQ(result.settings.has_value(), !*c.message) << c.name;
    }
    // Texts that pass the numeric check but are no float, or no number as a whole.
    const std::pair<const char*, const char*> texts[] = {
        {"txtReward", "999999999999999999999999999999999999999999"},
        {"txtLearningFactor", "-"},
        {"txtLearningFactor", "1e-3"}};
    for (const auto& [field, value] : texts) {
        Show([&](QDialog* d) {
            SetText(d, field, value);
            Button(d, "cmdOK")->click();
            EXPECT_EQ(FocusName(d), field) << value;
            Button(d, "cmdCancel")->click();
        });
    }
}

TEST_F(Options, OkGivesEverySettingBack) {
    settings.DestNode = 2;
    const frmOptions::Result result = Show([](QDialog* d) {
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
    ASSERT_TRUE(result.settings);
    const RunSettings& s = *result.settings;
    EXPECT_EQ(s.Model, 1);
    EXPECT_EQ(s.ModelType, 1);
    EXPECT_EQ(s.Reward, 12.0f);
    EXPECT_EQ(s.Penalty, 1.0f);
    EXPECT_EQ(s.LearningFactor, 0.25f);
    EXPECT_EQ(s.GraphSearchMethod, SearchMethod::IncludeAllNodes);
    EXPECT_EQ(s.sourceNode, 3);
    EXPECT_EQ(s.DestNode, 2); // not needed by "Include All Nodes": unchanged
    EXPECT_EQ(s.FilePath, "");
    EXPECT_TRUE(s.EnableDelay);
    EXPECT_FALSE(result.ranges);
}

TEST_F(Options, TheTypeRuleSetsThePenaltyByScheme) {
    settings.Reward = 0.3f;
    settings.Penalty = 0.7f; // LRP: shown as loaded, then mirrored as the reward changes
    const frmOptions::Result result = Show([](QDialog* d) {
        QLineEdit* reward = Edit(d, "txtReward");
        QLineEdit* penalty = Edit(d, "txtPenalty");
        EXPECT_EQ(penalty->text(), "0.7");
        EXPECT_FALSE(penalty->isEnabled());
        reward->setFocus();
        reward->selectAll();
        QTest::keyClicks(reward, "3.25");
        EXPECT_EQ(penalty->text(), "3.25");
        TypeList(d)->setCurrentRow(2); // LRI
        EXPECT_EQ(penalty->text(), "0");
        SetText(d, "txtReward", "0.4"); // no mirroring under LRI
        EXPECT_EQ(penalty->text(), "0");
        TypeList(d)->setCurrentRow(1); // LR(E)P keeps the text and allows editing
        EXPECT_TRUE(penalty->isEnabled());
        EXPECT_TRUE(Get<QLabel>(d, "lblPenalty")->isEnabled());
        penalty->setText("0.05");
        SetText(d, "txtReward", "0.6");
        EXPECT_EQ(penalty->text(), "0.05");
        TypeList(d)->setCurrentRow(0); // LRP copies the reward at once
        EXPECT_EQ(penalty->text(), "0.6");
        EXPECT_FALSE(penalty->isEnabled());
        TypeList(d)->setCurrentRow(2);
        SetText(d, "txtPenalty", "0.2"); // LRI stores 0 whatever the text shows
        Combo(d, "cmbSource")->setCurrentIndex(0);
        Button(d, "cmdOK")->click();
    });
    ASSERT_TRUE(result.settings);
    EXPECT_EQ(result.settings->Penalty, 0.0f);
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

TEST_F(Options, CancelEscAndTheCloseBoxGiveNothingBack) {
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
        const frmOptions::Result result = Show([&close](QDialog* d) {
            Combo(d, "cmbSource")->setCurrentIndex(1);
            close(d);
        });
        EXPECT_FALSE(result.settings || result.ranges);
    }
}

TEST_F(Options, NumberBoxesSelectTheirTextOnFocusButThePathBoxDoesNot) {
    settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    settings.ModelType = 1;
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
    settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    script.QueueFile(QString("/tmp/paths.txt"));
    script.QueueFile(std::nullopt);
    const frmOptions::Result result = Show([](QDialog* d) {
        Button(d, "cmdBrowse")->click();
        EXPECT_EQ(Edit(d, "txtFilePath")->text(), "/tmp/paths.txt");
        Button(d, "cmdBrowse")->click(); // cancelled: nothing changes
        EXPECT_EQ(Edit(d, "txtFilePath")->text(), "/tmp/paths.txt");
        Button(d, "cmdOK")->click();
    });
    ASSERT_EQ(script.FileRequests().size(), 2u);
    EXPECT_FALSE(script.FileRequests()[0].save);
    EXPECT_EQ(script.FileRequests()[0].filter, "Test Files (*.txt);;All Files (*)");
    EXPECT_EQ(script.FileRequests()[0].offeredName, "/tmp/old paths.txt");
    EXPECT_EQ(result.settings->FilePath, "/tmp/paths.txt");
}

TEST_F(Options, RangesCommittedByTheRangesDialogSurviveCancel) {
    la.Ranges().AddRange(0, 10, 0.2f);
    const frmOptions::Result result = Show([](QDialog* d) {
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
    EXPECT_FALSE(result.settings);
    ASSERT_TRUE(result.ranges);
    ASSERT_EQ(result.ranges->RangeCount(), 2);
    EXPECT_EQ(result.ranges->Range(2).Answer, 0.8f);
    EXPECT_EQ(la.Ranges().RangeCount(), 1); // the dialog changed nothing itself
}

} // namespace
