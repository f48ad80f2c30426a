#include "clsNode.h"

#include "PathloomError.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string FieldOf(const clsNode& node) {
    return std::string(node.Labelz().begin(), node.Labelz().end());
}

TEST(clsNode, LabelFieldIsLabelNulThenSpacesCutTo31) {
    EXPECT_EQ(FieldOf(clsNode()), std::string(32, '\0'));
    EXPECT_EQ(clsNode().Label(), "");
    const std::string x31(31, 'x');
    const struct {
        std::string label, shown, field;
    } cases[] = {
        {"A", "A", "A" + std::string(1, '\0') + std::string(30, ' ')},
        {"", "", std::string(1, '\0') + std::string(31, ' ')},
        {"\xC4pfel", "\xC4pfel", "\xC4pfel" + std::string(1, '\0') + std::string(26, ' ')},
        {x31, x31, x31 + '\0'},
        // 32 characters and more are cut to 31 so that reading the label always stops.
        {std::string(32, 'x'), x31, x31 + '\0'},
        {std::string(100, 'x'), x31, x31 + '\0'},
    };
    for (const auto& c : cases) {
        clsNode node;
        node.SetLabel("old_label");
        node.SetLabel(c.label);
        EXPECT_EQ(node.Label(), c.shown) << c.label;
        EXPECT_EQ(FieldOf(node), c.field) << c.label;
    }
}

TEST(clsNode, ForbiddenCharactersRaiseAndKeepTheOldLabel) {
    for (const std::string label :
         {"{", "a}", "(b", "c)", "d,e", "two words", "a-b", "a>", "x->y", " "}) {
        clsNode node;
        node.SetLabel("old");
        try {
            node.SetLabel(label);
            ADD_FAILURE() << "label accepted: " << label;
        } catch (const PathloomError& e) {
            EXPECT_EQ(e.Number(), 1);
            EXPECT_EQ(e.Source(), "Node.Label");
            EXPECT_EQ(e.Description(), "A node name connot contain any of the following "
                                       "characters:\r\n{ } ( ) , Space - >");
        }
        EXPECT_EQ(node.Label(), "old");
    }
    clsNode node; // characters near the forbidden ones are accepted
    for (const std::string label : {"a<b", "[x]", "a_b", "a.b", "a+b", "tab\there", "a;b"}) {
        node.SetLabel(label);
        EXPECT_EQ(node.Label(), label);
    }
}

} // namespace
