#include "DialogTestSupport.h"
#include "PlatformScript.h"
#include "clsLink.h"
#include "clsNode.h"
#include "frmLinkProperties.h"
#include "frmNodeProperties.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

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

class NodeProperties : public ::testing::Test {
protected:
    void SetUp() override {
        node.SetLabel("Start");
        node.InDegree = 2;
        node.OutDegree = 3;
        dialog.NodeToEdit = &node;
    }

    int Show(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return dialog.ShowDialog(nullptr);
    }

    clsNode node;
    frmNodeProperties dialog;
    Platform::PlatformScript script;
};

TEST_F(NodeProperties, ShowsTheLabelAndTheDegreesOnTheGeneralTab) {
    Show([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Node Properties");
        QTabWidget* tabs = Get<QTabWidget>(d, "TabStrip");
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "General");
        EXPECT_EQ(tabs->widget(0)->objectName(), "picPanel");
        EXPECT_EQ(Get<QLabel>(d, "Label1")->text(), "&Label:");
        EXPECT_EQ(Get<QLabel>(d, "Label1")->buddy(), Edit(d, "txtLabel"));
        EXPECT_EQ(Get<QLabel>(d, "Label2")->text(), "Degree:");
        EXPECT_EQ(Edit(d, "txtLabel")->text(), "Start");
        EXPECT_EQ(Get<QLabel>(d, "lblDegree")->text(), "2, 3 (in, out)");
        // The dialog opens in the label, its text selected.
        EXPECT_EQ(FocusName(d), "txtLabel");
        EXPECT_EQ(Edit(d, "txtLabel")->selectedText(), "Start");
        EXPECT_TRUE(Button(d, "cmdOK")->isDefault());
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(NodeProperties, ANodeWithoutLinksShowsZeroDegrees) {
    clsNode lonely;
    dialog.NodeToEdit = &lonely;
    Show([](QDialog* d) {
        EXPECT_EQ(Get<QLabel>(d, "lblDegree")->text(), "0, 0 (in, out)");
        EXPECT_EQ(Edit(d, "txtLabel")->text(), "");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(NodeProperties, OkStoresTheLabel) {
    const int result = Show([](QDialog* d) {
        DialogTest::Type(Edit(d, "txtLabel"), "K");
        Edit(d, "txtLabel")->insert(QString::fromUtf8("\xC3\xB6ln")); // öln
        QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(node.Label(), "K\xF6ln"); // Latin-1 in the model
}

TEST_F(NodeProperties, TypingStopsAtThirtyTwoCharacters) {
    Show([](QDialog* d) {
        QLineEdit* label = Edit(d, "txtLabel");
        DialogTest::Type(label, QString(40, 'x'));
        EXPECT_EQ(label->text(), QString(32, 'x'));
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(node.Label(), std::string(31, 'x')); // the model keeps its terminator
}

TEST_F(NodeProperties, ARefusedLabelKeepsTheDialogOpenUntilCorrected) {
    const int result = Show([this](QDialog* d) {
        Edit(d, "txtLabel")->setText("a-b");
        Button(d, "cmdOK")->click();
        ASSERT_EQ(script.Messages().size(), 1u);
        EXPECT_EQ(script.Messages()[0].icon, MessageIcon::Critical);
        EXPECT_EQ(script.Messages()[0].text,
                  "A node name connot contain any of the following characters:\n"
                  "{ } ( ) , Space - >");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(Edit(d, "txtLabel")->text(), "a-b");
        EXPECT_EQ(node.Label(), "Start");
        Edit(d, "txtLabel")->setText("ab");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(node.Label(), "ab");
}

TEST_F(NodeProperties, ACharacterOutsideLatin1IsRefusedWithAMessage) {
    const int result = Show([this](QDialog* d) {
        Edit(d, "txtLabel")->setText(QString::fromUtf8("Z\xE2\x82\xAC")); // Z€
        Button(d, "cmdOK")->click();
        ASSERT_EQ(script.Messages().size(), 1u);
        const QString message = script.Messages()[0].text;
        EXPECT_TRUE(message.contains("Latin-1")) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8("\xE2\x82\xAC"))) << message.toStdString();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(FocusName(d), "txtLabel");
        EXPECT_EQ(node.Label(), "Start");
        Button(d, "cmdCancel")->click();
    });
    EXPECT_EQ(result, 0);
}

TEST_F(NodeProperties, EscAndTheCloseBoxLeaveTheNodeUnchanged) {
    for (bool useEsc : {true, false}) {
        const int result = Show([useEsc](QDialog* d) {
            Edit(d, "txtLabel")->setText("Other");
            if (useEsc)
                QTest::keyClick(Edit(d, "txtLabel"), Qt::Key_Escape);
            else
                d->close();
        });
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(node.Label(), "Start");
}

class LinkProperties : public ::testing::Test {
protected:
    void SetUp() override {
        link.Weight = 12.5f;
        link.Probability = 1.0f / 3.0f;
        dialog.LinkToEdit = &link;
    }

    int Show(std::function<void(QDialog*)> steps) {
        WhenShown(std::move(steps));
        return dialog.ShowDialog(nullptr);
    }

    clsLink link;
    frmLinkProperties dialog;
    Platform::PlatformScript script;
};

TEST_F(LinkProperties, ShowsWeightAndProbability) {
    Show([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Link Properties");
        EXPECT_EQ(Get<QTabWidget>(d, "TabStrip")->tabText(0), "General");
        EXPECT_EQ(Get<QLabel>(d, "Label1")->text(), "&Weight:");
        EXPECT_EQ(Get<QLabel>(d, "Label2")->text(), "&Probability:");
        EXPECT_EQ(Edit(d, "txtProbability")->accessibleName(), "Probability");
        EXPECT_EQ(Edit(d, "txtWeight")->text(), "12.5");
        EXPECT_EQ(Edit(d, "txtProbability")->text(), "0.3333333");
        EXPECT_TRUE(Edit(d, "txtProbability")->isEnabled());
        EXPECT_EQ(FocusName(d), "txtWeight");
        Button(d, "cmdCancel")->click();
    });
}

TEST_F(LinkProperties, OkWritesBothValues) {
    const int result = Show([](QDialog* d) {
        Edit(d, "txtWeight")->setText("-4");
        Edit(d, "txtProbability")->setText("1.5"); // no range check
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(link.Weight, -4.0f);
    EXPECT_EQ(link.Probability, 1.5f);
}

TEST_F(LinkProperties, ValuesShownAndCommittedAgainKeepSevenSignificantDigits) {
    Show([](QDialog* d) { Button(d, "cmdOK")->click(); });
    EXPECT_EQ(link.Weight, 12.5f);
    EXPECT_EQ(link.Probability, 0.3333333f);
}

TEST_F(LinkProperties, ALoneMinusWeightStoresZero) {
    Show([](QDialog* d) {
        Edit(d, "txtWeight")->setText("-");
        Button(d, "cmdOK")->click();
    });
    EXPECT_EQ(link.Weight, 0.0f);
}

TEST_F(LinkProperties, InvalidTextsAreRefusedWithTheirMessages) {
    const int result = Show([this](QDialog* d) {
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
    const int result = Show([](QDialog* d) {
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

TEST_F(LinkProperties, EscAndTheCloseBoxLeaveTheLinkUnchanged) {
    for (bool useEsc : {true, false}) {
        const int result = Show([useEsc](QDialog* d) {
            Edit(d, "txtWeight")->setText("99");
            if (useEsc)
                QTest::keyClick(Edit(d, "txtWeight"), Qt::Key_Escape);
            else
                d->close();
        });
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(link.Weight, 12.5f);
}

TEST_F(LinkProperties, TextBoxesSelectTheirTextOnFocus) {
    Show([](QDialog* d) {
        QTest::keyClick(Edit(d, "txtWeight"), Qt::Key_Tab);
        ASSERT_EQ(FocusName(d), "txtProbability");
        EXPECT_EQ(Edit(d, "txtProbability")->selectedText(), "0.3333333");
        QTest::keyClick(d, Qt::Key_W, Qt::AltModifier);
        ASSERT_EQ(FocusName(d), "txtWeight");
        EXPECT_EQ(Edit(d, "txtWeight")->selectedText(), "12.5");
        Button(d, "cmdCancel")->click();
    });
}

TEST(PropertyDialogs, WithoutAnElementNothingIsShown) {
    EXPECT_EQ(frmNodeProperties().ShowDialog(nullptr), 0);
    EXPECT_EQ(frmLinkProperties().ShowDialog(nullptr), 0);
}

} // namespace
