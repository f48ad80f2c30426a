#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "ValidationCases.h"
#include "clsLA.h"
#include "clsLink.h"
#include "frmAbout.h"
#include "frmLayout.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"
#include "frmOptions.h"
#include "frmSamplePaths.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <cmath>
#include <map>

namespace {

using namespace DialogTest;

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* label : {"A", "B", "A"}) { // equal labels, told apart by position
            la.Graph().AddNode(0, 0);
            la.Graph().Node(la.Graph().NodeCount()).SetLabel(label);
        }
        settings.Reward = settings.Penalty = 0.1f;
        settings.LearningFactor = 0.5f;
        settings.FilePath = "p";
    }
    frmOptions::Result Show(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return options.ShowDialog(nullptr, settings, la.Graph(), la.Ranges());
    }
    std::string LastMessage() const { return script.Messages().back().text.toStdString(); }

    clsLA la;
    RunSettings settings;
    frmOptions options;
    Platform::PlatformScript script;
};

// Every dialog's named controls, each apart from the others; the options keep their old
// spellings. The newer dialogs share one layout: the form on the left, OK and Cancel at the
// bottom right in the desktop's order, no icons.
TEST_F(Dialogs, NoControlsShareAPixel) {
    const std::function<void()> dialogs[] = {
        [&] { options.ShowDialog(nullptr, la.Settings, la.Graph(), la.Ranges()); },
        [&] { options.RangesDialog.ShowDialog(nullptr, la.Ranges()); },
        [] { frmNodeProperties().ShowDialog(nullptr, "A", 1, 2); },
        [] { frmLinkProperties().ShowDialog(nullptr, 1, 0.5f, 0); },
        [] { frmAbout().ShowDialog(nullptr); },
        [&] { frmSamplePaths().ShowDialog(nullptr, la.Settings, la.Graph()); },
        [] {
            frmLayout().ShowDialog(nullptr, {"Automatic", "Force-directed"});
        },
    };
    for (const auto& show : dialogs) {
        DialogTest::WhenShown([](QDialog* d) {
            const auto area = [d](QWidget* w) { return QRect(w->mapTo(d, QPoint()), w->size()); };
            const QList<QWidget*> named = d->findChildren<QWidget*>(QRegularExpression("^[^q]"));
            for (QWidget* a : named)
                for (QWidget* b : named)
                    EXPECT_FALSE(a < b && a->isVisible() && b->isVisible() && !a->isAncestorOf(b) &&
                                 !b->isAncestorOf(a) && area(a).intersects(area(b)))
                        << a->objectName().toStdString() << " " << b->objectName().toStdString();
            if (d->windowTitle() == "Sample Paths" || d->windowTitle() == "Layout") {
                const QRect ok = area(Get(d, "cmdOK")), cancel = area(Get(d, "cmdCancel"));
                const bool okFirst = d->style()->styleHint(QStyle::SH_DialogButtonLayout) !=
                                     QDialogButtonBox::GnomeLayout;
                EXPECT_EQ(ok.left() < cancel.left(), okFirst);
                EXPECT_GE(std::max(ok.right(), cancel.right()), d->width() - 20);
                for (QWidget* w : named) {
                    const auto* button = qobject_cast<QPushButton*>(w);
                    EXPECT_TRUE(!button || button->icon().isNull());
                    if (!button) {
                        EXPECT_TRUE(area(w).bottom() < ok.top() && area(w).left() < d->width() / 2)
                            << w->objectName().toStdString();
                    }
                }
            }
            if (d->windowTitle() == "Options") {
                EXPECT_EQ(Get<QGroupBox>(d, "fraGraphSearch")->title() +
                              Get<QLabel>(d, "lblSource")->text(),
                          "Graph Serach&Souce:");
            }
            d->reject();
        });
        show();
    }
}

TEST_F(Dialogs, NodeProperties) {
    WhenShown([this](QDialog* d) {
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(Get(d, "lblDegree"))->text(QAccessible::Name),
            "2, 3 (in, out)");
        EXPECT_EQ(Edit(d, "txtLabel")->selectedText(), "Start");
        for (const char* refused : {"a b", "\xE2\x82\xAC"}) { // the dialog stays open on the label
            Edit(d, "txtLabel")->setText(QString::fromUtf8(refused));
            Click(d, "cmdOK");
            EXPECT_EQ(FocusName(d), "txtLabel");
        }
        EXPECT_EQ(script.Messages()[0].text, "A node name connot contain any of the following "
                                             "characters:\n{ } ( ) , Space - >");
        EXPECT_EQ(LastMessage(), "A node name can hold only Western European (Latin-1) "
                                 "characters; \"\xE2\x82\xAC\" is not one of them.");
        Edit(d, "txtLabel")->setText(QString::fromUtf8("K\xC3\xB6ln"));
        QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Return);
    });
    EXPECT_EQ(frmNodeProperties().ShowDialog(nullptr, "Start", 2, 3).value_or("none"), "K\xF6ln");
    WhenShown([](QDialog* d) { QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Escape); });
    EXPECT_FALSE(frmNodeProperties().ShowDialog(nullptr, "Start", 2, 3));
}

TEST_F(Dialogs, LinkProperties) {
    WhenShown([this](QDialog* d) {
        EXPECT_EQ(Values(d), "12.5 0.3333333");
        for (const auto& [weight, probability, message, field] :
             {std::tuple{"1e3", "0.5", "Please enter Weight value correctly.", "txtWeight"},
              {"uniform(3, 1)", "0.5", "uniform(a, b) needs a <= b: 'uniform(3, 1)'", "txtWeight"},
              {"-", "", "Please enter Probability value correctly.", "txtProbability"}}) {
            Fill(d, std::string("txtWeight=") + weight + "|txtProbability=" + probability);
            Click(d, "cmdOK");
            EXPECT_EQ(LastMessage(), message);
            EXPECT_EQ(FocusName(d), field);
            EXPECT_EQ(Edit(d, field)->selectedText(), Edit(d, field)->text());
        }
        Fill(d, "txtProbability= 1.5 ");
        Click(d, "cmdOK");
    });
    const auto values = frmLinkProperties().ShowDialog(nullptr, 12.5f, 1.0f / 3, LinkKind::Simple);
    EXPECT_TRUE(values && values->weight == 0.0f && values->probability == 1.5f); // "-" reads as 0
    WhenShown([](QDialog* d) {
        EXPECT_EQ(Values(d), "1 ! !1");
        Edit(d, "txtProbability")->setText("junk");
        Click(d, "cmdOK");
    });
    const auto oneWay = frmLinkProperties().ShowDialog(nullptr, 1, 1, LinkKind::Unidirectional);
    EXPECT_TRUE(oneWay && oneWay->weight == 1.0f && !oneWay->probability);
    // A stochastic link shows its distribution; another one typed gives its mean as the weight.
    const LinkLength normal = LinkLength::Parse("normal(6.7, 1)");
    WhenShown([](QDialog* d) {
        EXPECT_EQ(Values(d), "normal(6.7, 1) 0.5");
        Fill(d, "txtWeight=Uniform(1, 2)");
        Click(d, "cmdOK");
    });
    const auto drawn =
        frmLinkProperties().ShowDialog(nullptr, 6.7f, 0.5f, LinkKind::Simple, &normal);
    ASSERT_TRUE(drawn && drawn->length);
    EXPECT_EQ(std::tuple(drawn->length->Text(), drawn->weight), std::tuple("uniform(1, 2)", 1.5f));
}

std::string Rows(QDialog* d) {
    auto* table = Get<QTreeWidget>(d, "lvwRange");
    QStringList rows;
    for (int i = 0; i < table->topLevelItemCount(); ++i)
        for (int column = 0; column < 3; ++column)
            rows << table->topLevelItem(i)->text(column);
    return rows.join('|').toStdString();
}

TEST_F(Dialogs, RangesEditTheTableAndGiveItBack) {
    const char* const rows[][5] = {
        {"", "2", "0.5", "Please enter Start value correctly.", "txtStart"},
        {"1", "+-2", "0.5", "Please enter End value correctly.", "txtEnd"},
        {"2", "2", "0.5", "Start value must be less than End value.", "cmdAdd"},
        {"1", "2", "  ", "Please enter Answer value correctly.", "txtAnswer"},
        {"1", "2", "-0.1", "Answer value can take a number between 0 and 1.", "txtAnswer"},
        {"1", "2", "1.01", "Answer value can take a number between 0 and 1.", "txtAnswer"},
        {"-3", "0.12345678901234567", "0", "", "cmdAdd"},
        {" 5 ", "7-", ".5", "", "cmdAdd"}, // read leniently; overlapping rows are accepted
    };
    clsRanges ranges;
    ranges.AddRange(1.0f / 3.0f, 123.456789f, 0.1f);
    ranges.AddRange(-5.0f, 1234567.0f, 1.0f);
    WhenShown([&](QDialog* d) {
        EXPECT_EQ(Rows(d), "0.3333333|123.4568|0.1|-5|1234567|1");
        for (const auto& [start, end, answer, message, focus] : rows) {
            const std::string before = Rows(d);
            const std::size_t messages = script.Messages().size();
            Fill(d, std::string("txtStart=") + start + "|txtEnd=" + end + "|txtAnswer=" + answer);
            Get(d, "cmdAdd")->setFocus();
            Click(d, "cmdAdd");
            EXPECT_EQ(script.Messages().size() > messages ? LastMessage() : "", message);
            EXPECT_EQ(FocusName(d), focus);
            EXPECT_EQ(Rows(d) == before, *message != 0) << start;
            EXPECT_EQ(Values(d), *message ? std::string(start) + " " + end + " " + answer : "  ");
        }
        auto* table = Get<QTreeWidget>(d, "lvwRange");
        table->setCurrentItem(table->topLevelItem(1));
        Click(d, "cmdDelete");
        EXPECT_EQ(Rows(d), "0.3333333|123.4568|0.1|-3|0.123456789012346|0|5|7|0.5");
        Edit(d, "txtStart")->setFocus();
        QTest::keyClick(Edit(d, "txtStart"), Qt::Key_Return); // Enter runs OK
    });
    const auto result = frmRanges().ShowDialog(nullptr, ranges);
    ASSERT_TRUE(result && result->RangeCount() == 3);
    EXPECT_EQ(std::tuple(result->Range(1).StartNumber, result->Range(2).EndNumber),
              std::tuple(0.3333333f, 0.123456789012346f));
    EXPECT_EQ(ranges.RangeCount(), 2);
    WhenShown([](QDialog* d) {
        Click(d, "cmdClearAll");
        EXPECT_EQ(Rows(d), "");
        d->close(); // the close box, like Cancel and Esc, gives nothing back
    });
    EXPECT_FALSE(frmRanges().ShowDialog(nullptr, ranges));
}

TEST_F(Dialogs, OptionsShowTheSettings) {
    // Model, scheme, reward, penalty, factor, threshold and action set (the first of each, as
    // settings start), method, source, destination, path file.
    const auto loaded = [](int model, int scheme, float reward, float penalty, float factor,
                           int method, int source, int dest, const char* file) {
        RunSettings s;
        std::tie(s.Model, s.ModelType, s.Reward, s.Penalty, s.LearningFactor) =
            std::tuple(model, scheme, reward, penalty, factor);
        std::tie(s.GraphSearchMethod, s.sourceNode, s.DestNode, s.FilePath) =
            std::tuple(method, source, dest, file);
        return s;
    };
    const std::pair<RunSettings, const char*> cases[] = {
        {loaded(0, Scheme::LRP, 0.25f, 0.5f, 0.5f, SearchMethod::IncludeAllNodes, 2, 3, "p"),
         "0 0 0.25 ! !0.5 0.5 0 0 ! !100 x - - -1 ! !-1 ! !p ! -"},
        {loaded(5, -1, 0, 0, 0, 3, 1, 1, ""), "-1 -1 0 ! !0 0 0 0 100 - - - -1 -1  -"},
    };
    for (const auto& [loaded, shown] : cases) {
        settings = loaded;
        Show([shown = shown](QDialog* d) {
            EXPECT_EQ(Values(d), shown);
            EXPECT_EQ(Get<QComboBox>(d, "cmbDest")->itemText(2), "A");
            d->reject();
        });
    }
}

TEST_F(Dialogs, OptionsApplyTheRulesOfARun) {
    const auto text = [](float value, const char* noNumber) {
        return std::isfinite(value) ? QString::number(value).toStdString() : noNumber;
    };
    // Each setting's field; a refusal about none leaves the focus where it was.
    const std::map<std::string, std::string> fields = {
        {"", "chkEnableDelay"},          {"reward", "txtReward"}, {"penalty", "txtPenalty"},
        {"factor", "txtLearningFactor"}, {"source", "cmbSource"}, {"dest", "cmbDest"}};
    for (const ValidationCase& c : ValidationTable::Cases) {
        const frmOptions::Result result = Show([&](QDialog* d) {
            Fill(d, "lstType=" + std::to_string(c.scheme) + "|txtReward=" + text(c.reward, "") +
                        "|txtLearningFactor=" + text(c.factor, "1-2") + "|optSearchMethod" +
                        std::to_string(c.method) + "=x|cmbSource=" + std::to_string(c.source - 1) +
                        "|cmbDest=" + std::to_string(c.dest - 1));
            if (c.scheme == Scheme::LREP)
                Fill(d, "txtPenalty=" + text(c.penalty, "0.1.2"));
            // Enter from the check box runs OK; a refusal without a field leaves the focus there.
            Get(d, "chkEnableDelay")->setFocus();
            QTest::keyClick(Get(d, "chkEnableDelay"), Qt::Key_Return);
            if (!*c.message)
                return;
            EXPECT_EQ(LastMessage(), c.message) << c.name;
            EXPECT_EQ(FocusName(d), fields.at(c.about ? c.about : "")) << c.name;
            const auto* edit = qobject_cast<QLineEdit*>(d->focusWidget());
            EXPECT_TRUE(!edit || edit->selectedText() == edit->text()) << c.name;
            d->reject();
        });
        EXPECT_EQ(result.settings.has_value(), !*c.message) << c.name;
    }
}
TEST_F(Dialogs, OptionsRuleTheirFieldsAndGiveEverySettingBack) {
    settings.Model = 1;
    settings.ModelType = Scheme::LRI;
    settings.DestNode = 2;
    const frmOptions::Result result = Show([this](QDialog* d) {
        // The S-model reads no reward threshold: its field waits for the P-model.
        const std::pair<const char*, const char*> steps[] = {
            {"lstType=0|txtReward=3.25",
             "1 0 3.25 ! !3.25 0.5 ! !0 0 ! !100 x - - -1 ! !-1 ! !p ! -"},
            {"lstType=2|txtReward=0.4|optSearchMethod2=x",
             "1 2 0.4 ! !0 0.5 ! !0 0 ! !100 - - x ! !-1 ! !-1 p -"},
            {"lstType=1|txtPenalty=0.05|txtReward=0.6|optSearchMethod1=x",
             "1 1 0.6 0.05 0.5 ! !0 0 ! !100 - x - -1 -1 ! !p ! -"},
            // Only the discretized pursuit reads the resolution.
            {"lstType=4|txtResolution=7", "1 4 0.6 ! !0.05 0.5 ! !0 0 7 - x - -1 -1 ! !p ! -"},
            {"lstType=0|optSearchMethod0=x|cmbModel=0",
             "0 0 0.6 ! !0.6 0.5 0 0 ! !7 x - - -1 ! !-1 ! !p ! -"},
        };
        for (const auto& [fields, shown] : steps) {
            Fill(d, fields);
            EXPECT_EQ(Values(d), shown) << fields;
        }
        Fill(d, "txtReward=" + std::string(40, '9')); // passes the numeric check, no float
        Click(d, "cmdOK");
        EXPECT_EQ(FocusName(d), "txtReward");
        // The variable action set needs sampled paths, which this dialog does not start.
        Fill(d, "cmbModel=0|txtReward=  12  |txtLearningFactor= 0.25 |cmbSource=2|txtFilePath="
                "|chkEnableDelay=x|cmbThreshold=1|cmbActionSet=1");
        Click(d, "cmdOK");
        EXPECT_EQ(LastMessage(), "The variable action set goes with sampled paths.");
        EXPECT_EQ(FocusName(d), "cmbActionSet");
        Fill(d, "cmbActionSet=0");
        Click(d, "cmdOK");
    });
    ASSERT_TRUE(result.settings);
    const RunSettings& s = *result.settings;
    EXPECT_EQ(std::tuple(s.Model, s.ModelType, s.Reward, s.Penalty, s.LearningFactor),
              std::tuple(0, Scheme::LRP, 12.0f, 12.0f, 0.25f));
    // The second "A"; "Include All Nodes" needs no destination: it stays.
    EXPECT_EQ(std::tuple(s.GraphSearchMethod, s.sourceNode, s.DestNode, s.FilePath, s.EnableDelay),
              std::tuple(SearchMethod::IncludeAllNodes, 3, 2, std::string(), true));
    EXPECT_EQ(std::tuple(s.Threshold, s.ActionSet), std::tuple(Threshold::Mean, ActionSet::All));
    EXPECT_FALSE(result.ranges);
}

} // namespace
