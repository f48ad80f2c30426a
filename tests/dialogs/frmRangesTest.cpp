#include "frmRanges.h"

#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "clsRanges.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <ostream>

namespace {

using DialogTest::FocusName;
using DialogTest::Get;
using DialogTest::WhenShown;

QLineEdit* Edit(QDialog* d, const char* name) {
    return Get<QLineEdit>(d, name);
}
QPushButton* Button(QDialog* d, const char* name) {
    return Get<QPushButton>(d, name);
}
QTreeWidget* Table(QDialog* d) {
    return Get<QTreeWidget>(d, "lvwRange");
}

// The table's rows as "start|end|answer".
std::vector<std::string> Rows(QDialog* d) {
    std::vector<std::string> rows;
    QTreeWidget* table = Table(d);
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = table->topLevelItem(i);
        rows.push_back((item->text(0) + "|" + item->text(1) + "|" + item->text(2)).toStdString());
    }
    return rows;
}

void Enter(QDialog* d, const char* start, const char* end, const char* answer) {
    Edit(d, "txtStart")->setText(start);
    Edit(d, "txtEnd")->setText(end);
    Edit(d, "txtAnswer")->setText(answer);
}

class Ranges : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.RangesToEdit = &ranges;
        dialog.MarkModified = [this] { ++modified; };
    }

    int Show(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return dialog.ShowDialog(nullptr);
    }

    std::string LastMessage() const {
        return script.Messages().empty() ? "" : script.Messages().back().text.toStdString();
    }

    clsRanges ranges;
    frmRanges dialog;
    int modified = 0;
    Platform::PlatformScript script;
};

TEST_F(Ranges, ShowsItsControlsAndAFlatWholeRowTable) {
    Show([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Ranges");
        QTreeWidget* table = Table(d);
        ASSERT_EQ(table->columnCount(), 3);
        EXPECT_EQ(table->headerItem()->text(0), "Start");
        EXPECT_EQ(table->headerItem()->text(1), "End");
        EXPECT_EQ(table->headerItem()->text(2), "Answer");
        EXPECT_FALSE(table->header()->sectionsClickable());
        EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_FALSE(table->rootIsDecorated());
        EXPECT_EQ(table->columnWidth(0), table->columnWidth(1));
        EXPECT_EQ(table->columnWidth(2), table->columnWidth(0) / 2);
        EXPECT_EQ(Get<QGroupBox>(d, "fraRanges")->title(), "&Ranges");
        EXPECT_EQ(Get<QLabel>(d, "Label2")->text(), "&Start");
        EXPECT_EQ(Get<QLabel>(d, "Label3")->text(), "&End");
        EXPECT_EQ(Get<QLabel>(d, "Label4")->text(), "A&nswer");
        EXPECT_EQ(Get<QLabel>(d, "Label4")->buddy(), Edit(d, "txtAnswer"));
        EXPECT_EQ(Edit(d, "txtAnswer")->accessibleName(), "Answer");
        EXPECT_EQ(Button(d, "cmdAdd")->text(), "&Add");
        EXPECT_EQ(Button(d, "cmdDelete")->text(), "&Delete");
        EXPECT_EQ(Button(d, "cmdClearAll")->text(), "Clear &All");
        EXPECT_TRUE(Button(d, "cmdOK")->isDefault());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Ranges, LoadsTheRangesWithSevenSignificantDigits) {
    ranges.AddRange(1.0f / 3.0f, 2.5f, 0.1f);
    ranges.AddRange(-5.0f, 1234567.0f, 1.0f);
    Show([](QDialog* d) {
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0.3333333|2.5|0.1", "-5|1234567|1"}));
        Button(d, "cmdCancel")->click();
    });
}

struct AddCheckCase {
    const char* name;
    const char* start;
    const char* end;
    const char* answer;
    const char* message;
    const char* focus; // "" when the focus stays where it was
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AddCheckCase& c, std::ostream* os) {
    *os << c.name;
}

class RangesAddCheck : public Ranges, public ::testing::WithParamInterface<AddCheckCase> {};

TEST_P(RangesAddCheck, RefusesAndLeavesTableAndBoxesAsTheyWere) {
    const AddCheckCase& c = GetParam();
    ranges.AddRange(0, 1, 0.5f);
    Show([this, &c](QDialog* d) {
        Enter(d, c.start, c.end, c.answer);
        Button(d, "cmdAdd")->setFocus();
        Button(d, "cmdAdd")->click();
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_EQ(script.Messages().back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(FocusName(d), *c.focus ? c.focus : "cmdAdd");
        EXPECT_EQ(Rows(d), std::vector<std::string>{"0|1|0.5"});
        EXPECT_EQ(Edit(d, "txtStart")->text(), c.start);
        EXPECT_EQ(Edit(d, "txtEnd")->text(), c.end);
        EXPECT_EQ(Edit(d, "txtAnswer")->text(), c.answer);
        Button(d, "cmdCancel")->click();
    });
}

const AddCheckCase addChecks[] = {
    {"EmptyStart", "", "2", "0.5", "Please enter Start value correctly.", "txtStart"},
    {"LetterStart", "a", "2", "0.5", "Please enter Start value correctly.", "txtStart"},
    {"TwoSignsEnd", "1", "+-2", "0.5", "Please enter End value correctly.", "txtEnd"},
    {"StartEqualsEnd", "2", "2", "0.5", "Start value must be less than End value.", ""},
    {"StartAboveEnd", "3", "2.5", "0.5", "Start value must be less than End value.", ""},
    {"SpacesAnswer", "1", "2", "  ", "Please enter Answer value correctly.", "txtAnswer"},
    {"NegativeAnswer", "1", "2", "-0.1", "Answer value can take a number between 0 and 1.",
     "txtAnswer"},
    {"AnswerAboveOne", "1", "2", "1.01", "Answer value can take a number between 0 and 1.",
     "txtAnswer"},
};

INSTANTIATE_TEST_SUITE_P(Ranges, RangesAddCheck, ::testing::ValuesIn(addChecks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ranges, AddAppendsRowsWithFifteenDigitsAndEmptiesTheBoxes) {
    Show([this](QDialog* d) {
        Enter(d, "-3", "0.12345678901234567", "0");
        Button(d, "cmdAdd")->click();
        Enter(d, " 5 ", "7-", "1"); // leniently read: 5 and 7
        Button(d, "cmdAdd")->click();
        Enter(d, "5", "6", ".5"); // overlapping ranges are accepted
        Button(d, "cmdAdd")->click();
        EXPECT_TRUE(script.Messages().empty()) << LastMessage();
        EXPECT_EQ(Rows(d),
                  (std::vector<std::string>{"-3|0.123456789012346|0", "5|7|1", "5|6|0.5"}));
        EXPECT_EQ(Edit(d, "txtStart")->text(), "");
        EXPECT_EQ(Edit(d, "txtEnd")->text(), "");
        EXPECT_EQ(Edit(d, "txtAnswer")->text(), "");
        Button(d, "cmdOK")->click();
    });
    ASSERT_EQ(ranges.RangeCount(), 3);
    EXPECT_EQ(ranges.Range(1).StartNumber, -3.0f);
    EXPECT_EQ(ranges.Range(1).EndNumber, 0.123456789012346f);
    EXPECT_EQ(ranges.Range(2).EndNumber, 7.0f);
    EXPECT_EQ(ranges.Range(3).Answer, 0.5f);
}

TEST_F(Ranges, DeleteRemovesTheSelectedRowOnly) {
    ranges.AddRange(0, 1, 0.1f);
    ranges.AddRange(1, 2, 0.2f);
    ranges.AddRange(2, 3, 0.3f);
    Show([](QDialog* d) {
        QTreeWidget* table = Table(d);
        table->clearSelection();
        Button(d, "cmdDelete")->click(); // nothing selected: nothing happens
        EXPECT_EQ(Rows(d).size(), 3u);
        table->setCurrentItem(table->topLevelItem(1));
        Button(d, "cmdDelete")->click();
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0|1|0.1", "2|3|0.3"}));
        Button(d, "cmdOK")->click();
    });
    ASSERT_EQ(ranges.RangeCount(), 2);
    EXPECT_EQ(ranges.Range(2).Answer, 0.3f);
}

TEST_F(Ranges, ClearAllAndOkLeaveTheRangesEmpty) {
    ranges.AddRange(0, 1, 0.1f);
    ranges.AddRange(1, 2, 0.2f);
    const int result = Show([](QDialog* d) {
        Button(d, "cmdClearAll")->click();
        EXPECT_TRUE(Rows(d).empty());
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ranges.RangeCount(), 0);
    EXPECT_EQ(modified, 1);
}

TEST_F(Ranges, OkMarksModifiedAlsoWhenNothingChanged) {
    EXPECT_EQ(Show([](QDialog* d) { QTest::keyClick(Edit(d, "txtStart"), Qt::Key_Return); }), 1);
    EXPECT_EQ(modified, 1);
}

TEST_F(Ranges, CancelEscAndTheCloseBoxDropTheTable) {
    ranges.AddRange(0, 1, 0.5f);
    const std::vector<std::function<void(QDialog*)>> closers = {
        [](QDialog* d) { Button(d, "cmdCancel")->click(); },
        [](QDialog* d) { QTest::keyClick(Table(d), Qt::Key_Escape); },
        [](QDialog* d) { d->close(); },
    };
    for (const auto& close : closers) {
        const int result = Show([&close](QDialog* d) {
            Enter(d, "1", "2", "0.25");
            Button(d, "cmdAdd")->click();
            Button(d, "cmdClearAll")->click();
            close(d);
        });
        EXPECT_EQ(result, 0);
    }
    ASSERT_EQ(ranges.RangeCount(), 1);
    EXPECT_EQ(ranges.Range(1).Answer, 0.5f);
    EXPECT_EQ(modified, 0);
}

TEST_F(Ranges, ValuesShownAndCommittedAgainKeepSevenSignificantDigits) {
    ranges.AddRange(1.0f / 3.0f, 123.456789f, 0.987654321f);
    Show([](QDialog* d) { Button(d, "cmdOK")->click(); });
    ASSERT_EQ(ranges.RangeCount(), 1);
    EXPECT_EQ(ranges.Range(1).StartNumber, 0.3333333f);
    EXPECT_EQ(ranges.Range(1).EndNumber, 123.4568f);
    EXPECT_EQ(ranges.Range(1).Answer, 0.9876543f);
    // A second round changes nothing more.
    Show([](QDialog* d) {
        EXPECT_EQ(Rows(d), std::vector<std::string>{"0.3333333|123.4568|0.9876543"});
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(ranges.Range(1).StartNumber, 0.3333333f);
}

TEST_F(Ranges, TextBoxesSelectTheirTextOnFocus) {
    Show([](QDialog* d) {
        Enter(d, "1", "2", "0.5");
        Edit(d, "txtStart")->setFocus();
        QTest::keyClick(Edit(d, "txtStart"), Qt::Key_Tab);
        ASSERT_EQ(FocusName(d), "txtEnd");
        EXPECT_EQ(Edit(d, "txtEnd")->selectedText(), "2");
        QTest::keyClick(d, Qt::Key_N, Qt::AltModifier);
        ASSERT_EQ(FocusName(d), "txtAnswer");
        EXPECT_EQ(Edit(d, "txtAnswer")->selectedText(), "0.5");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Ranges, WithoutRangesNothingIsShown) {
    dialog.RangesToEdit = nullptr;
    EXPECT_EQ(dialog.ShowDialog(nullptr), 0);
}

} // namespace
