#include "frmRanges.h"

#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "clsRanges.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

using DialogTest::Button;
using DialogTest::Edit;
using DialogTest::FocusName;

QTreeWidget* Table(QDialog* d) {
    return DialogTest::Get<QTreeWidget>(d, "lvwRange");
}

// The table's rows as "start|end|answer".
std::vector<std::string> Rows(QDialog* d) {
    std::vector<std::string> rows;
    for (int i = 0; i < Table(d)->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = Table(d)->topLevelItem(i);
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
    void SetUp() override { dialog.RangesToEdit = &ranges; }

    int Show(std::function<void(QDialog*)> steps) { return DialogTest::Open(dialog, steps); }

    clsRanges ranges;
    frmRanges dialog;
    Platform::PlatformScript script;
};

TEST_F(Ranges, LoadsTheRangesWithSevenSignificantDigitsIntoAFlatTable) {
    ranges.AddRange(1.0f / 3.0f, 123.456789f, 0.1f);
    ranges.AddRange(-5.0f, 1234567.0f, 1.0f);
    Show([](QDialog* d) {
        EXPECT_EQ(Table(d)->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_FALSE(Table(d)->header()->sectionsClickable());
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0.3333333|123.4568|0.1", "-5|1234567|1"}));
        Button(d, "cmdOK")->click();
    });
    // What was shown is what is committed.
    EXPECT_EQ(ranges.Range(1).StartNumber, 0.3333333f);
    EXPECT_EQ(ranges.Range(1).EndNumber, 123.4568f);
}

TEST_F(Ranges, AddRefusesBadRowsAndLeavesTableAndBoxesAsTheyWere) {
    const struct {
        const char *start, *end, *answer, *message, *focus; // focus "": it stays on Add
    } cases[] = {
        {"", "2", "0.5", "Please enter Start value correctly.", "txtStart"},
        {"1", "+-2", "0.5", "Please enter End value correctly.", "txtEnd"},
        {"2", "2", "0.5", "Start value must be less than End value.", ""},
        {"3", "2.5", "0.5", "Start value must be less than End value.", ""},
        {"1", "2", "  ", "Please enter Answer value correctly.", "txtAnswer"},
        {"1", "2", "-0.1", "Answer value can take a number between 0 and 1.", "txtAnswer"},
        {"1", "2", "1.01", "Answer value can take a number between 0 and 1.", "txtAnswer"},
    };
    ranges.AddRange(0, 1, 0.5f);
    Show([this, &cases](QDialog* d) {
        for (const auto& c : cases) {
            Enter(d, c.start, c.end, c.answer);
            Button(d, "cmdAdd")->setFocus();
            Button(d, "cmdAdd")->click();
            EXPECT_EQ(script.Messages().back().text.toStdString(), c.message);
            EXPECT_EQ(script.Messages().back().icon, MessageIcon::Exclamation);
            EXPECT_EQ(FocusName(d), *c.focus ? c.focus : "cmdAdd");
            EXPECT_EQ(Rows(d), std::vector<std::string>{"0|1|0.5"});
            EXPECT_EQ(Edit(d, "txtStart")->text(), c.start);
            EXPECT_EQ(Edit(d, "txtEnd")->text(), c.end);
            EXPECT_EQ(Edit(d, "txtAnswer")->text(), c.answer);
        }
        EXPECT_EQ(script.Messages().size(), std::size(cases));
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(Ranges, AddAppendsRowsWithFifteenDigitsAndEmptiesTheBoxes) {
    Show([this](QDialog* d) {
        Enter(d, "-3", "0.12345678901234567", "0");
        Button(d, "cmdAdd")->click();
        Enter(d, " 5 ", "7-", "1"); // leniently read: 5 and 7
        Button(d, "cmdAdd")->click();
        Enter(d, "5", "6", ".5"); // overlapping ranges are accepted
        Button(d, "cmdAdd")->click();
        EXPECT_TRUE(script.Messages().empty());
        EXPECT_EQ(Rows(d),
                  (std::vector<std::string>{"-3|0.123456789012346|0", "5|7|1", "5|6|0.5"}));
        EXPECT_EQ(Edit(d, "txtStart")->text() + Edit(d, "txtEnd")->text() +
                      Edit(d, "txtAnswer")->text(),
                  "");
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
        Table(d)->clearSelection();
        Button(d, "cmdDelete")->click(); // nothing selected: nothing happens
        EXPECT_EQ(Rows(d).size(), 3u);
        Table(d)->setCurrentItem(Table(d)->topLevelItem(1));
        Button(d, "cmdDelete")->click();
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0|1|0.1", "2|3|0.3"}));
        Button(d, "cmdOK")->click();
    });
    ASSERT_EQ(ranges.RangeCount(), 2);
    EXPECT_EQ(ranges.Range(2).Answer, 0.3f);
}

TEST_F(Ranges, ClearAllAndEnterLeaveTheRangesEmpty) {
    ranges.AddRange(0, 1, 0.1f);
    const int result = Show([](QDialog* d) {
        Button(d, "cmdClearAll")->click();
        EXPECT_TRUE(Rows(d).empty());
        QTest::keyClick(Edit(d, "txtStart"), Qt::Key_Return); // Enter runs OK
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ranges.RangeCount(), 0);
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
}

TEST_F(Ranges, TextBoxesSelectTheirTextOnFocus) {
    Show([](QDialog* d) {
        Enter(d, "1", "2", "0.5");
        DialogTest::ExpectTabSelectsAll(d, "txtStart", "txtEnd");
        QTest::keyClick(d, Qt::Key_N, Qt::AltModifier);
        ASSERT_EQ(FocusName(d), "txtAnswer");
        EXPECT_EQ(Edit(d, "txtAnswer")->selectedText(), "0.5");
        Button(d, "cmdCancel")->click();
    });
}

} // namespace
