#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "clsLink.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"

#include <QAccessible>
#include <QLabel>

namespace {

using DialogTest::Button;
using DialogTest::Edit;
using DialogTest::FocusName;
using DialogTest::Get;
using DialogTest::WhenShown;

class PropertyDialogs : public ::testing::Test {
  protected:
    std::optional<std::string> ShowNode(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return node.ShowDialog(nullptr, "Start", 2, 3);
    }
    std::optional<frmLinkProperties::Values> ShowLink(int32_t kind,
                                                      std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return link.ShowDialog(nullptr, 12.5f, 1.0f / 3.0f, kind);
    }
    frmNodeProperties node;
    frmLinkProperties link;
    Platform::PlatformScript script;
};

TEST_F(PropertyDialogs, NodeLabelsAreLatin1AndFollowTheLabelRules) {
    const auto label = ShowNode([this](QDialog* d) {
        QLabel* degree = Get<QLabel>(d, "lblDegree");
        EXPECT_EQ(degree->text(), "2, 3 (in, out)");
        // A screen reader reads the value, not a caption.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(degree)->text(QAccessible::Name),
                  "2, 3 (in, out)");
        EXPECT_EQ(Edit(d, "txtLabel")->selectedText(), "Start");
        // Refused with the node's own message, then outside Latin-1; the dialog stays open.
        for (const char* refused : {"a b", "\xE2\x82\xAC"}) {
            Edit(d, "txtLabel")->setText(QString::fromUtf8(refused));
            Button(d, "cmdOK")->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(FocusName(d), "txtLabel");
        }
        EXPECT_TRUE(script.Messages()[0].text.startsWith("A node name connot contain"));
        EXPECT_TRUE(script.Messages()[1].text.contains("Latin-1"));
        // Typing stops at 32 characters; the label rules then keep 31.
        Edit(d, "txtLabel")->selectAll();
        QTest::keyClicks(Edit(d, "txtLabel"), QString(40, 'x'));
        EXPECT_EQ(Edit(d, "txtLabel")->text(), QString(32, 'x'));
        Edit(d, "txtLabel")->setText(QString::fromUtf8("K\xC3\xB6ln")); // Köln
        QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Return);
    });
    EXPECT_EQ(label.value_or("none"), "K\xF6ln");
}

TEST_F(PropertyDialogs, LinkValuesAreCheckedAndReadLeniently) {
    const auto values = ShowLink(LinkKind::Simple, [this](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtWeight")->text(), "12.5");
        EXPECT_EQ(Edit(d, "txtProbability")->text(), "0.3333333");
        Edit(d, "txtWeight")->setText("1e3");
        Button(d, "cmdOK")->click();
        EXPECT_EQ(script.Messages().back().text, "Please enter Weight value correctly.");
        EXPECT_EQ(Edit(d, "txtWeight")->selectedText(), "1e3");
        Edit(d, "txtWeight")->setText("-");
        Edit(d, "txtProbability")->setText("");
        Button(d, "cmdOK")->click();
        EXPECT_EQ(script.Messages().back().text, "Please enter Probability value correctly.");
        EXPECT_EQ(FocusName(d), "txtProbability");
        Edit(d, "txtProbability")->setText(" 1.5 ");
        Button(d, "cmdOK")->click();
    });
    ASSERT_TRUE(values);
    EXPECT_EQ(values->weight, 0.0f); // a lone "-" reads as 0
    EXPECT_EQ(values->probability.value_or(-1), 1.5f);

    // A unidirectional link's probability is neither edited nor checked.
    const auto oneWay = ShowLink(LinkKind::Unidirectional, [](QDialog* d) {
        EXPECT_FALSE(Edit(d, "txtProbability")->isEnabled());
        EXPECT_FALSE(Get<QLabel>(d, "Label2")->isEnabled());
        Edit(d, "txtProbability")->setText("junk");
        Edit(d, "txtWeight")->setText("7");
        Button(d, "cmdOK")->click();
    });
    ASSERT_TRUE(oneWay);
    EXPECT_EQ(oneWay->weight, 7.0f);
    EXPECT_FALSE(oneWay->probability);
}

TEST_F(PropertyDialogs, EscAndTheCloseBoxGiveNothingBack) {
    EXPECT_FALSE(
        ShowNode([](QDialog* d) { QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Escape); }));
    EXPECT_FALSE(ShowLink(0, [](QDialog* d) { d->close(); }));
}

} // namespace
