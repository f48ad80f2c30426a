#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "clsLink.h"
#include "clsNode.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"

#include <QAccessible>
#include <QLabel>

namespace {

using DialogTest::Button;
using DialogTest::Edit;
using DialogTest::FocusName;
using DialogTest::Get;
using DialogTest::Open;

class NodeProperties : public ::testing::Test {
  protected:
    void SetUp() override {
        node.SetLabel("Start");
        node.InDegree = 2;
        node.OutDegree = 3;
        dialog.NodeToEdit = &node;
    }

    clsNode node;
    frmNodeProperties dialog;
    Platform::PlatformScript script;
};

TEST_F(NodeProperties, OpensInTheSelectedLabelAndShowsTheDegrees) {
    Open(dialog, [](QDialog* d) {
        EXPECT_EQ(Get<QLabel>(d, "lblDegree")->text(), "2, 3 (in, out)");
        // A screen reader reads the value, not a caption.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(Get<QLabel>(d, "lblDegree"))
                      ->text(QAccessible::Name),
                  "2, 3 (in, out)");
        EXPECT_EQ(FocusName(d), "txtLabel");
        EXPECT_EQ(Edit(d, "txtLabel")->selectedText(), "Start");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(NodeProperties, OkStoresTheLabelInLatin1) {
    const int result = Open(dialog, [](QDialog* d) {
        Edit(d, "txtLabel")->setText(QString::fromUtf8("K\xC3\xB6ln")); // Köln
        QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(node.Label(), "K\xF6ln");
}

TEST_F(NodeProperties, TypingStopsAtThirtyTwoCharacters) {
    Open(dialog, [](QDialog* d) {
        QLineEdit* label = Edit(d, "txtLabel");
        label->selectAll();
        QTest::keyClicks(label, QString(40, 'x'));
        EXPECT_EQ(label->text(), QString(32, 'x'));
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(node.Label(), std::string(31, 'x')); // the model keeps its terminator
}

TEST_F(NodeProperties, ARefusedLabelKeepsTheDialogOpenUntilCorrected) {
    const int result = Open(dialog, [this](QDialog* d) {
        Edit(d, "txtLabel")->setText("a-b");
        Button(d, "cmdOK")->click();
        ASSERT_EQ(script.Messages().size(), 1u);
        EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
        EXPECT_EQ(script.Messages()[0].text,
                  "A node name connot contain any of the following characters:\n"
                  "{ } ( ) , Space - >");
        EXPECT_EQ(node.Label(), "Start");
        // A character outside Latin-1 is refused too, and named in the message.
        Edit(d, "txtLabel")->setText(QString::fromUtf8("Z\xE2\x82\xAC")); // Z€
        Button(d, "cmdOK")->click();
        ASSERT_EQ(script.Messages().size(), 2u);
        const QString message = script.Messages()[1].text;
        EXPECT_TRUE(message.contains("Latin-1")) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8("\xE2\x82\xAC"))) << message.toStdString();
        EXPECT_EQ(FocusName(d), "txtLabel");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(node.Label(), "Start");
        Edit(d, "txtLabel")->setText("ab");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(node.Label(), "ab");
}

class LinkProperties : public ::testing::Test {
  protected:
    void SetUp() override {
        link.Weight = 12.5f;
        link.Probability = 1.0f / 3.0f;
        dialog.LinkToEdit = &link;
    }

    clsLink link;
    frmLinkProperties dialog;
    Platform::PlatformScript script;
};

TEST_F(LinkProperties, ShowsSevenDigitsAndCommitsWhatIsShown) {
    Open(dialog, [](QDialog* d) {
        EXPECT_EQ(Edit(d, "txtWeight")->text(), "12.5");
        EXPECT_EQ(Edit(d, "txtProbability")->text(), "0.3333333");
        EXPECT_TRUE(Edit(d, "txtProbability")->isEnabled());
        EXPECT_EQ(FocusName(d), "txtWeight");
        DialogTest::ExpectTabSelectsAll(d, "txtWeight", "txtProbability");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(link.Weight, 12.5f);
    EXPECT_EQ(link.Probability, 0.3333333f);
}

TEST_F(LinkProperties, OkWritesBothValuesLeniently) {
    const int result = Open(dialog, [](QDialog* d) {
        Edit(d, "txtWeight")->setText("-");        // a lone minus stores zero
        Edit(d, "txtProbability")->setText("1.5"); // no range check
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(link.Weight, 0.0f);
    EXPECT_EQ(link.Probability, 1.5f);
}

TEST_F(LinkProperties, InvalidTextsAreRefusedWithTheirMessages) {
    const int result = Open(dialog, [this](QDialog* d) {
        Edit(d, "txtWeight")->setText("1e3");
        Edit(d, "txtProbability")->setText("0,5");
        Button(d, "cmdOK")->click();
        EXPECT_EQ(script.Messages().back().text, "Please enter Weight value correctly.");
        EXPECT_EQ(script.Messages().back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(FocusName(d), "txtWeight");
        EXPECT_EQ(Edit(d, "txtWeight")->selectedText(), "1e3");

        Edit(d, "txtWeight")->setText("3");
        Button(d, "cmdOK")->click();
        EXPECT_EQ(script.Messages().back().text, "Please enter Probability value correctly.");
        EXPECT_EQ(FocusName(d), "txtProbability");
        EXPECT_TRUE(d->isVisible());
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(link.Weight, 12.5f);
    EXPECT_EQ(link.Probability, 1.0f / 3.0f);
}

TEST_F(LinkProperties, AUnidirectionalLinksProbabilityIsNeitherEditedNorChecked) {
    link.LinkType = LinkKind::Unidirectional;
    link.Probability = 0.5f;
    const int result = Open(dialog, [](QDialog* d) {
        EXPECT_FALSE(Edit(d, "txtProbability")->isEnabled());
        EXPECT_FALSE(Get<QLabel>(d, "Label2")->isEnabled());
        Edit(d, "txtProbability")->setText("nonsense");
        Edit(d, "txtWeight")->setText("7");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(link.Weight, 7.0f);
    EXPECT_EQ(link.Probability, 0.5f);
}

TEST(PropertyDialogs, EscAndTheCloseBoxLeaveTheElementUnchanged) {
    clsNode node;
    node.SetLabel("Start");
    clsLink link;
    link.Weight = 12.5f;
    frmNodeProperties nodeDialog;
    nodeDialog.NodeToEdit = &node;
    frmLinkProperties linkDialog;
    linkDialog.LinkToEdit = &link;
    for (bool useEsc : {true, false}) {
        const auto close = [useEsc](QDialog* d, const char* box) {
            Edit(d, box)->setText("99");
            if (useEsc)
                QTest::keyClick(Edit(d, box), Qt::Key_Escape);
            else
                d->close();
        };
        EXPECT_EQ(Open(nodeDialog, [&](QDialog* d) { close(d, "txtLabel"); }), 0);
        EXPECT_EQ(Open(linkDialog, [&](QDialog* d) { close(d, "txtWeight"); }), 0);
    }
    EXPECT_EQ(node.Label(), "Start");
    EXPECT_EQ(link.Weight, 12.5f);
}

} // namespace
