#include "PathloomError.h"
#include "clsLink.h"
#include "clsNode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string FieldOf(const clsNode& node) {
    return std::string(node.Labelz().begin(), node.Labelz().end());
}

const char* const kRefusedMessage =
    "A node name connot contain any of the following characters:\r\n{ } ( ) , Space - >";

TEST(clsNode, NewNodeHasDefaults) {
    clsNode node;
    EXPECT_EQ(node.ID, 0);
    EXPECT_EQ(node.InDegree, 0);
    EXPECT_EQ(node.OutDegree, 0);
    EXPECT_EQ(node.Position.x, 0);
    EXPECT_EQ(node.Position.y, 0);
    EXPECT_EQ(FieldOf(node), std::string(32, '\0'));
    EXPECT_EQ(node.Label(), "");
}

TEST(clsNode, LabelFieldIsLabelNulThenSpaces) {
    clsNode node;
    node.SetLabel("A");
    EXPECT_EQ(FieldOf(node), std::string("A") + '\0' + std::string(30, ' '));
    EXPECT_EQ(node.Label(), "A");

    node.SetLabel("");
    EXPECT_EQ(node.Label(), "");
    EXPECT_EQ(FieldOf(node), std::string(1, '\0') + std::string(31, ' '));
}

TEST(clsNode, LongLabelsKeepTheirTerminator) {
    clsNode node;
    const std::string label31(31, 'x');
    node.SetLabel(label31);
    EXPECT_EQ(node.Label(), label31);
    EXPECT_EQ(FieldOf(node), label31 + '\0');

    // 32 characters and more are cut to 31 so that reading the label always stops.
    node.SetLabel(std::string(32, 'y'));
    EXPECT_EQ(node.Label(), std::string(31, 'y'));
    node.SetLabel(std::string(100, 'z'));
    EXPECT_EQ(node.Label(), std::string(31, 'z'));
    EXPECT_EQ(node.Labelz()[31], '\0');
}

TEST(clsNode, LatinOneBytesAreKept) {
    clsNode node;
    node.SetLabel("\xC4pfel"); // Ä in Latin-1
    EXPECT_EQ(node.Label(), "\xC4pfel");
}

class RefusedLabel : public ::testing::TestWithParam<std::string> {};

TEST_P(RefusedLabel, RaisesAndKeepsTheOldLabel) {
    clsNode node;
    node.SetLabel("old");
    try {
        node.SetLabel(GetParam());
        FAIL() << "label accepted: " << GetParam();
    } catch (const PathloomError& e) {
        EXPECT_EQ(e.Number(), 1);
        EXPECT_EQ(e.Source(), "Node.Label");
        EXPECT_EQ(e.Description(), kRefusedMessage);
    }
    EXPECT_EQ(node.Label(), "old");
}

INSTANTIATE_TEST_SUITE_P(EachForbiddenCharacter, RefusedLabel,
                         ::testing::Values("{", "a}", "(b", "c)", "d,e", "two words", "a-b",
                                           "a>", "x->y", " "));

TEST(clsNode, CharactersNearTheForbiddenOnesAreAccepted) {
    clsNode node;
    for (const std::string label : {"a<b", "[x]", "a_b", "a.b", "a+b", "tab\there", "a;b"}) {
        node.SetLabel(label);
        EXPECT_EQ(node.Label(), label);
    }
}

TEST(clsPosition, MoveAddsTheDelta) {
    clsPosition p;
    p.x = 10;
    p.y = 10;
    p.Move(5, -3);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 7);
    p.Move(-100, -100);
    EXPECT_EQ(p.x, -85);
    EXPECT_EQ(p.y, -93);
}

TEST(clsLink, NewLinkHasDefaults) {
    clsLink link;
    EXPECT_EQ(link.FromNode, nullptr);
    EXPECT_EQ(link.ToNode, nullptr);
    EXPECT_EQ(link.LinkType, 0);
    EXPECT_EQ(link.Probability, 0.0f);
    EXPECT_EQ(link.Weight, 0.0f);
    EXPECT_FALSE(link.Flag);
}

} // namespace
