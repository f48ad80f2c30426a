#include "frmRanges.h"

#include "DialogTestSupport.h"
#include "PlatformScript.h"

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
    Button(d, "cmdAdd")->setFocus();
    Button(d, "cmdAdd")->click();
}

class Ranges : public ::testing::Test {
  protected:
    std::optional<clsRanges> Show(std::function<void(QDialog*)> steps) {
        DialogTest::WhenShown(std::move(steps));
        return dialog.ShowDialog(nullptr, ranges);
    }
    clsRanges ranges;
    frmRanges dialog;
    Platform::PlatformScript script;
};

// Rows shown with seven digits, added with fifteen, deleted, and given back on OK as shown.
TEST_F(Ranges, EditsTheTableAndGivesItBack) {
    ranges.AddRange(1.0f / 3.0f, 123.456789f, 0.1f);
    ranges.AddRange(-5.0f, 1234567.0f, 1.0f);
    const auto result = Show([this](QDialog* d) {
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0.3333333|123.4568|0.1", "-5|1234567|1"}));
        Enter(d, "-3", "0.12345678901234567", "0");
        Enter(d, " 5 ", "7-", ".5"); // leniently read: 5 and 7; overlapping rows are accepted
        EXPECT_TRUE(script.Messages().empty());
        EXPECT_EQ(Edit(d, "txtStart")->text() + Edit(d, "txtAnswer")->text(), "");
        Table(d)->clearSelection();
        Button(d, "cmdDelete")->click(); // nothing selected: nothing happens
        Table(d)->setCurrentItem(Table(d)->topLevelItem(1));
        Button(d, "cmdDelete")->click();
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"0.3333333|123.4568|0.1",
                                                     "-3|0.123456789012346|0", "5|7|0.5"}));
        Edit(d, "txtStart")->setFocus();
        QTest::keyClick(Edit(d, "txtStart"), Qt::Key_Return); // Enter runs OK
    });
    ASSERT_TRUE(result);
    ASSERT_EQ(result->RangeCount(), 3);
    EXPECT_EQ(result->Range(1).StartNumber, 0.3333333f);
    EXPECT_EQ(result->Range(2).EndNumber, 0.123456789012346f);
    EXPECT_EQ(result->Range(3).EndNumber, 7.0f);
    EXPECT_EQ(ranges.RangeCount(), 2); // the dialog changes nothing itself
}

TEST_F(Ranges, AddRefusesBadRowsAndLeavesTableAndBoxesAsTheyWere) {
    const struct {
        const char *start, *end, *answer, *message, *focus; // focus "": it stays on Add
    } cases[] = {
        {"", "2", "0.5", "Please enter Start value correctly.", "txtStart"},
        {"1", "+-2", "0.5", "Please enter End value correctly.", "txtEnd"},
        {"2", "2", "0.5", "Start value must be less than End value.", ""},
        {"1", "2", "  ", "Please enter Answer value correctly.", "txtAnswer"},
        {"1", "2", "-0.1", "Answer value can take a number between 0 and 1.", "txtAnswer"},
        {"1", "2", "1.01", "Answer value can take a number between 0 and 1.", "txtAnswer"},
    };
    ranges.AddRange(0, 1, 0.5f);
    Show([this, &cases](QDialog* d) {
        for (const auto& c : cases) {
            Enter(d, c.start, c.end, c.answer);
            EXPECT_EQ(script.Messages().back().text.toStdString(), c.message);
            EXPECT_EQ(FocusName(d), *c.focus ? c.focus : "cmdAdd");
            EXPECT_EQ(Rows(d), std::vector<std::string>{"0|1|0.5"});
            EXPECT_EQ(Edit(d, "txtEnd")->text(), c.end);
        }
        Button(d, "cmdClearAll")->click();
        EXPECT_TRUE(Rows(d).empty());
        d->close(); // the close box, like Cancel and Esc, gives nothing back
    });
    EXPECT_EQ(ranges.RangeCount(), 1);
}

} // namespace
