#include "ExperimentPanel.h"
#include "LearningCurvePanel.h"
#include "PropertiesPanel.h"
#include "WindowFixture.h"
#include "WindowPlacement.h"

#include <QDockWidget>
#include <QScreen>
#include <QStackedWidget>

namespace {

// Nodes "0", "1", "2" centred on (60, 60), (260, 60), (160, 200); link 1 simple 0-1, links 2 and 3
// unidirectional 1->2 and 2->0.
class PropertiesTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Play("do AddNode, click 60 60, click 260 60, click 160 200, do SimpleLink, drag 60 60 260 "
             "60, do UnidirectionalLink, drag 260 60 160 200, drag 160 200 60 60, do Pointer, do "
             "mnuPropertiesPanel");
    }
    QDockWidget* Panel() const { return &window->Properties(); }
    QLineEdit* Field(const char* name) const { return DialogTest::Edit(Panel(), name); }
    // Types into the field as the user does, then presses Enter.
    void Enter(const char* name, const QString& text) {
        QLineEdit* field = Field(name);
        field->setFocus();
        field->selectAll();
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &key);
        }
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The page shown: each field's text (! when disabled) and each value's, then the undo item.
    std::string Shown() const {
        QStringList shown;
        QWidget* page = Panel()->findChild<QStackedWidget*>()->currentWidget();
        QList<QWidget*> shownWidgets = page->findChildren<QWidget*>(QRegularExpression("^[a-z]"));
        shownWidgets.prepend(page);
        for (QWidget* w : shownWidgets) {
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                shown << (edit->isEnabled() ? "" : "!") + edit->text();
            else if (auto* label = qobject_cast<QLabel*>(w); label && !w->objectName().isEmpty())
                shown << label->text();
        }
        return (shown.join(" | ") + " " + Action("mnuUndo")->text()).toStdString();
    }
};

TEST_F(PropertiesTest, FieldsApplyOnEnterAsOneStepWithTheDialogsChecks) {
    struct Case {
        const char* select; // steps
        const char* field;
        const char* typed;
        std::string said;  // the refusal, if any
        std::string shown; // afterwards
    };
    const Case cases[] = {
        {"click 60 60", "txtLabel", "Hub", "",
         "Hub | 40 | 40 | 2, 1 (in, out) &Undo Node Properties"},
        {"click 60 60", "txtLabel", "Hub\xE2\x82\xAC", // outside Latin-1
         "E A node name can hold only Western European (Latin-1) characters; \"\xE2\x82\xAC\" is "
         "not "
         "one of them.",
         "Hub\xE2\x82\xAC | 40 | 40 | 2, 1 (in, out) &Undo Add Link"},
        {"click 60 60", "txtLabel", "a b",
         "C A node name connot contain any of the following characters:\n{ } ( ) , Space - >",
         "a b | 40 | 40 | 2, 1 (in, out) &Undo Add Link"},
        {"click 260 60", "txtX", "300", "", "1 | 300 | 40 | 1, 2 (in, out) &Undo Move Node"},
        {"click 260 60", "txtY", "-1", "E Please enter Y as a whole number from 0 to 32767.",
         "1 | 240 | -1 | 1, 2 (in, out) &Undo Add Link"},
        {"click 160 60", "txtWeight", "2.5", "", "Simple | 2.5 | 0 &Undo Link Properties"},
        {"click 160 60", "txtWeight", "abc", "E Please enter Weight value correctly.",
         "Simple | abc | 0 &Undo Add Link"},
        {"click 160 60", "txtWeight", "uniform(1, 3)", "",
         "Simple | uniform(1, 3) | 0 &Undo Link Properties"},
        {"click 160 60", "txtProbability", "0.25", "", "Simple | 0 | 0.25 &Undo Link Properties"},
        {"click 160 60", "txtProbability", "x", "E Please enter Probability value correctly.",
         "Simple | 0 | x &Undo Add Link"},
        {"click 210 130", "txtWeight", "7", "", "Unidirectional | 7 | !0.5 &Undo Link Properties"},
        // Links chosen together take one weight, as one step; each keeps its probability.
        {"do mnuSelectAll", "txtWeight", "4", "",
         "3 links: Simple, Unidirectional | 4 | ! &Undo Link Properties"},
    };
    for (const Case& c : cases) {
        Play(c.select);
        Enter(c.field, QString::fromUtf8(c.typed));
        EXPECT_EQ(Said(), c.said) << c.field << " " << c.typed;
        EXPECT_EQ(Shown(), c.shown) << c.field << " " << c.typed;
        if (!c.said.empty()) { // a refused text keeps the focus, for the user to put right
            EXPECT_EQ(QApplication::focusWidget(), Field(c.field)) << c.typed;
        }
        while (window->Document().History().canUndo() &&
               window->Document().History().undoText() != "Add Link")
            window->Document().Undo();
    }
}

TEST_F(PropertiesTest, FollowsTheSelectionAndTheDocument) {
    Play("click 60 60");
    Field("txtX")->setFocus();
    QTest::keyClicks(Field("txtX"), "5"); // typed, not applied: it stays while the node does
    Play("key Up");                       // the field's key, not the window's nudge
    window->Document().Do(new MoveNodesCommand(window->Document(), {{2, {240, 100}}}));
    EXPECT_EQ(Shown(), "0 | 5 | 40 | 2, 1 (in, out) &Undo Move Node");
    Play("click 260 120"); // another node: its own values
    EXPECT_EQ(Shown(), "1 | 240 | 100 | 1, 2 (in, out) &Undo Move Node");
    Play("click 400 300"); // nothing
    EXPECT_EQ(Shown(), "Select a node or a link to see its properties here. &Undo Move Node");
    StartRun(0, 1, true); // a run's values, not to be edited until it ends
    EXPECT_FALSE(Panel()->widget()->isEnabled());
    Play("do Stop");
    EXPECT_TRUE(Panel()->widget()->isEnabled());
}

// The program's window opens larger, or as it was left; a document too large for it opens fitted.
TEST(FirstSightTest, FirstSizeOfEachScreen) {
    const std::pair<QSize, QSize> cases[] = {{{1920, 1080}, {1280, 720}},
                                             {{1280, 800}, {1000, 700}},
                                             {{1024, 768}, {922, 691}},
                                             {{800, 600}, {720, 540}},
                                             {{2560, 1440}, {1707, 960}}};
    for (const auto& [screen, first] : cases)
        EXPECT_EQ(WindowPlacement::FirstSize(screen), first) << screen.width();
}

using PlacementTest = WindowFixture;

TEST_F(PlacementTest, TheWindowOpensAsItWasLeftAndLargeDocumentsFitted) {
    auto fresh = std::make_unique<frmMain>();
    fresh->RestorePlacement();
    fresh->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fresh.get()));
    EXPECT_EQ(fresh->size(),
              WindowPlacement::FirstSize(fresh->screen()->availableGeometry().size()));
    EXPECT_TRUE(fresh->Properties().isVisible());
    fresh->findChild<QAction*>("mnuLearningCurve")->trigger();
    fresh->findChild<QAction*>("mnuPropertiesPanel")->trigger();
    fresh->resize(640, 480);
    EXPECT_TRUE(fresh->close());
    fresh = std::make_unique<frmMain>();
    fresh->RestorePlacement();
    fresh->show();
    EXPECT_EQ(fresh->size(), QSize(640, 480));
    EXPECT_TRUE(fresh->Curve().isVisible() && !fresh->Properties().isVisible());

    // A window made without it keeps its old size; a document that fits opens as always.
    WriteDocument("small.plm", {{500, 300}});
    WriteDocument("large.plm", {{10, 10}, {3000, 2000}});
    for (const bool large : {false, true}) {
        window->OpenStartupDocument(File(large ? "large.plm" : "small.plm"));
        EXPECT_EQ(window->Panel().Zoom() == 1.0 && window->Panel().Scroll().isNull(), !large);
        EXPECT_EQ(canvas()->rect().contains(window->Panel().ToCanvas({3020, 2020})), large);
    }
}

// S, A, D at the top, S-A and A-D weighing 1, S-D 5.
class ExperimentTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        WriteDocument("run.plm", {{40, 40}, {240, 40}, {240, 240}},
                      {{1, 2, 1, 1}, {2, 3, 1, 1}, {1, 3, 1, 5}});
        window->OpenStartupDocument(File("run.plm"));
        Play("do mnuExperimentPanel");
    }
    QWidget* Panel() const { return &window->Experiment(); }
    // Picks a list's entry by its number as the user does, or types into a box (a node list's
    // too) and leaves it with Enter.
    void Set(const char* name, const QString& value) {
        QWidget* field = DialogTest::Get(Panel(), name);
        field->setFocus();
        auto* list = qobject_cast<QComboBox*>(field);
        bool number = false;
        const int entry = value.toInt(&number);
        if (list && number) {
            list->setCurrentIndex(entry);
            emit list->activated(entry);
            return;
        }
        QLineEdit* text = list ? list->lineEdit() : static_cast<QLineEdit*>(field);
        text->selectAll();
        QTest::keyClicks(text, value);
        QTest::keyClick(text, Qt::Key_Return);
    }
    // The enabled fields' names.
    std::string Enabled() const {
        QStringList names;
        for (QWidget* w : Panel()->findChildren<QWidget*>(QRegularExpression("^(txt|cmb)")))
            if (w->isEnabled())
                names << w->objectName().mid(3);
        return names.join(' ').toStdString();
    }
};

// Each change the document keeps is one undo step that marks it modified; one it does not keep
// is undone alike and leaves it unmodified; a refused text keeps the focus.
TEST_F(ExperimentTest, EachFieldChangesTheDocumentAsOneStepOrRefusesWithTheDialogsMessage) {
    const std::string kept = "&Undo Options"; // the run kind, chosen before
    const struct {
        int32_t method;
        const char *field, *value;
        std::string said, undo;
        bool modified;
    } cases[] = {
        {0, "txtReward", "0.25", "", "&Undo Reward", true},
        {0, "txtReward", "1-2", "E Please enter Reward value correctly.", kept, false},
        {3, "txtSamples", "0", "E The number of samples must be from 1 to 2000000000.", kept,
         false},
        {3, "txtSeed", "-1",
         "E Please enter the seed as a whole number from 0 to 18446744073709551615.", kept, false},
        {3, "txtUntil", "1.5", "E The target probability must be above 0 and at most 1.", kept,
         false},
        {3, "txtUntil", "0.9", "", "&Undo Target probability", true},
        {0, "cmbScheme", "1", "", "&Undo Type", true},
        {0, "cmbSource", "2", "", "&Undo Source", true},
        {0, "cmbSource", "Q", "E No node is labelled \"Q\".", kept, false},
        {2, "txtPaths", "p.txt", "", "&Undo File Path", false},
        {0, "chkEnableDelay", "", "", "&Undo Step Delay", false},
    };
    for (const auto& c : cases) {
        RunSettings s = window->Document().Settings();
        s.GraphSearchMethod = c.method;
        window->Document().Do(new SettingsCommand(window->Document(), s, std::nullopt));
        window->Document().Save();
        if (std::string(c.field) == "chkEnableDelay")
            DialogTest::Click(Panel(), c.field);
        else
            Set(c.field, c.value);
        EXPECT_EQ(Said(), c.said) << c.field << c.value;
        EXPECT_EQ(Action("mnuUndo")->text().toStdString(), c.undo) << c.field << c.value;
        EXPECT_EQ(window->Document().Modified(), c.modified) << c.field << c.value;
        if (!c.said.empty()) {
            EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), c.field);
        }
    }
}

// The fields the chosen parts read are enabled; the penalty under LR(E)P alone.
TEST_F(ExperimentTest, TheChosenPartsEnableTheFieldsTheyRead) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Method Source Seed Model Scheme Reward Factor Threshold ActionSet"},
        {"cmbMethod=2", "Method Paths Seed Model Scheme Reward Factor Threshold ActionSet"},
        {"cmbMethod=3|cmbModel=1|cmbScheme=1",
         "Method Source Dest Samples Seed Until Model Scheme Reward Penalty Factor ActionSet"},
    };
    for (const auto& [fields, enabled] : cases) {
        for (const QString& field : QString(fields).split('|', Qt::SkipEmptyParts))
            Set(field.section('=', 0, 0).toLatin1(), field.section('=', 1));
        EXPECT_EQ(Enabled(), enabled) << fields;
    }
}

// Run starts what the fields show, without a dialog; Forward and Stop press the window's.
// Run > Options... asks the options and starts nothing. Ranges... edits the ranges as one step.
TEST_F(ExperimentTest, RunStartsTheRunTheFieldsShowAndOptionsStartsNone) {
    DialogTest::Click(Panel(), "cmdRun");
    EXPECT_EQ(Said(), "E Please select source node.");
    EXPECT_FALSE(window->Document().Modified());
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmbSource");
    Set("cmbMethod", "1");
    Set("cmbSource", "0");
    Set("cmbDest", "2");
    DialogTest::Click(Panel(), "chkEnableDelay");
    DialogTest::Click(Panel(), "cmdRun");
    Play("work");
    ASSERT_TRUE(window->IsWorking());
    EXPECT_EQ(std::tuple(window->Run().Settings().sourceNode, window->Run().Settings().DestNode),
              std::tuple(1, 3));
    EXPECT_FALSE(DialogTest::Get(Panel(), "txtReward")->isEnabled());
    DialogTest::Click(Panel(), "cmdForward");
    Play("work");
    DialogTest::Click(Panel(), "cmdStop");
    Play("work");
    EXPECT_FALSE(window->IsWorking());
    AnswerDialog("cmdOK", "txtReward=0.5|cmbSource=0|cmbDest=2");
    Play("do mnuOptions");
    EXPECT_FALSE(window->IsWorking());
    EXPECT_EQ(DialogTest::Edit(Panel(), "txtReward")->text(), "0.5");
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Options");
    const int32_t ranges = window->Document().Ranges().RangeCount();
    DialogTest::WhenShown([](QDialog* d) {
        DialogTest::Fill(d, "txtStart=0|txtEnd=1|txtAnswer=0.5");
        DialogTest::Click(d, "cmdAdd");
        DialogTest::Click(d, "cmdOK");
    });
    DialogTest::Click(Panel(), "cmdRanges");
    EXPECT_EQ(window->Document().Ranges().RangeCount(), ranges + 1);
    EXPECT_EQ(Action("mnuUndo")->text(), "&Undo Ranges");
}

} // namespace
