#include "GraphFormats.h"
#include "PathloomError.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace GraphFormats;

namespace {

const std::string Data = PATHLOOM_FORMATS_DATA "/";

// A fresh folder for written files, removed with what it holds.
struct TemporaryFolder {
    std::string path;
    TemporaryFolder() {
        char name[] = "/tmp/pathloom-formats-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
};

std::string FileText(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Counts {
    int nodes, links, simple, oneWay, twoWay, leftOut, changedLabels;
    bool laidOut;
    bool operator==(const Counts& o) const {
        return nodes == o.nodes && links == o.links && simple == o.simple && oneWay == o.oneWay &&
               twoWay == o.twoWay && leftOut == o.leftOut && changedLabels == o.changedLabels &&
               laidOut == o.laidOut;
    }
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.nodes << " nodes, " << c.links << " links (" << c.simple << "/" << c.oneWay
               << "/" << c.twoWay << "), " << c.leftOut << " left out, " << c.changedLabels
               << " labels changed, laid out " << c.laidOut;
}

Counts CountsOf(const clsGraph& g, const ImportResult& result) {
    Counts c{g.NodeCount(), g.LinkCount(), 0, 0, 0, 0, 0, result.laidOut};
    c.leftOut = static_cast<int>(result.leftOut.size());
    c.changedLabels = static_cast<int>(result.changedLabels.size());
    for (int i = 1; i <= g.LinkCount(); ++i) {
        const int kind = g.Link(i).LinkType;
        (kind == 0 ? c.simple : kind == 1 ? c.oneWay : c.twoWay)++;
    }
    return c;
}

// The message with the fixtures' folder taken out, so that it names files as the tables do.
std::string Relative(std::string message) {
    for (std::size_t at; (at = message.find(Data)) != std::string::npos;)
        message.erase(at, Data.size());
    return message;
}

TEST(FormatsImport, EachFixtureGivesItsGraphOrIsRefusedNamingTheLine) {
    const struct {
        const char* file;
        Counts expected;
        const char* refusal;
    } cases[] = {
        {"nx-directed.graphml", {4, 5, 0, 5, 0, 0, 0, true}, nullptr},
        {"nx-undirected.graphml", {5, 6, 5, 0, 1, 0, 0, true}, nullptr},
        {"nx-positions.graphml", {3, 3, 3, 0, 0, 0, 1, false}, nullptr},
        {"nx-directed.csv", {4, 5, 0, 5, 0, 0, 0, true}, nullptr},
        {"nx-undirected.csv", {5, 6, 5, 0, 1, 0, 0, true}, nullptr},
        {"nx-positions.csv", {3, 3, 0, 3, 0, 0, 1, false}, nullptr},
        {"yed.graphml", {2, 1, 0, 1, 0, 0, 0, false}, nullptr},
        {"defaults.graphml", {3, 2, 0, 1, 1, 3, 0, true}, nullptr},
        {"labels.graphml", {8, 0, 0, 0, 0, 0, 5, true}, nullptr},
        {"self-loop.graphml", {2, 1, 0, 1, 0, 1, 0, true}, nullptr},
        {"missing-endpoint.graphml", {2, 1, 1, 0, 0, 1, 0, true}, nullptr},
        {"missing-endpoint.csv", {3, 1, 0, 1, 0, 2, 0, true}, nullptr},
        {"duplicate-edge.csv", {3, 2, 0, 1, 1, 3, 0, true}, nullptr},
        {"crlf.csv", {3, 2, 0, 2, 0, 0, 2, true}, nullptr},
        {"node-list.csv", {4, 3, 0, 3, 0, 1, 0, true}, nullptr},
        {"syntax.dot", {}, "'syntax.dot' line 4: syntax error near '->'"},
        {"positions.dot", {3, 3, 1, 1, 1, 0, 0, false}, nullptr},
        {"plain.dot", {6, 4, 3, 1, 0, 0, 0, true}, nullptr},
        {"partial.dot", {4, 4, 4, 0, 0, 0, 0, true}, nullptr},
        {"dot-lines.dot", {10, 3, 0, 3, 0, 8, 0, true}, nullptr},
        {"back.dot", {4, 2, 0, 2, 0, 2, 0, true}, nullptr},
        {"bad-number.dot", {}, "'bad-number.dot' line 3: weight '1,5' is not a number"},
        {"mismatched.graphml",
         {},
         "'mismatched.graphml' line 4: the end tag '</edge>' does not close '<node>' of line 4"},
        {"unterminated.graphml",
         {},
         "'unterminated.graphml' line 4: the element '<graph>' of line 3 is not closed"},
        {"after-root.graphml", {}, "'after-root.graphml' line 6: text after the root element"},
        {"entity.graphml", {}, "'entity.graphml' line 5: unknown entity '&eacute;'"},
        {"unknown-kind.csv",
         {},
         "'unknown-kind.csv' line 3: kind 'sideways' is none of simple, unidirectional, "
         "bidirectional, 0, 1, 2"},
        {"quote.csv", {}, "'quote.csv' line 3: a quoted field is not closed"},
        {"width.csv", {}, "'width.csv' line 2: 4 fields where the header has 3"},
        {"huge.csv", {}, "'huge.csv' line 2: weight '1e40' is too large"},
        {"half-position.csv",
         {},
         "'half-position.nodes.csv' line 3: node 'b' has only one of x and y"},
        {"missing.graphml", {}, "'missing.graphml' could not be read: No such file or directory"},
        {"make_fixtures.py", {}, "'make_fixtures.py' is none of .graphml, .xml, .dot, .gv, .csv."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        clsGraph g;
        try {
            const ImportResult result = Import(Data + c.file, g);
            EXPECT_FALSE(c.refusal) << "accepted";
            EXPECT_EQ(CountsOf(g, result), c.expected);
        } catch (const PathloomError& e) {
            EXPECT_EQ(Relative(e.Description()), c.refusal ? c.refusal : "");
            EXPECT_EQ(g.NodeCount() + g.LinkCount(), 0);
        }
    }
}

TEST(FormatsImport, LinksTakeTheirEndsKindAndValuesFromTheFile) {
    const struct {
        const char* file;
        int link;
        const char *from, *to;
        int kind;
        float weight, probability;
    } cases[] = {
        // Columns Target, Source, Cost in that order.
        {"nx-undirected.csv", 1, "s", "t", LinkKind::Simple, 3.0f, 0.5f},
        {"nx-positions.graphml", 2, "Harbour", "Old_Town", LinkKind::Simple, 161.25f, 0.0f},
        // dir=back: the link goes from head to tail; b has two one-way links out.
        {"back.dot", 1, "b", "a", LinkKind::Unidirectional, 2.0f, 0.5f},
        {"positions.dot", 3, "west", "east", LinkKind::Simple, 1.5f, 0.4f},
        // An explicit kind beats the default of a key for="all", whose default gives the other.
        {"defaults.graphml", 1, "caf\xE9!", "b", LinkKind::Unidirectional, 2.5f, 1.0f},
        {"defaults.graphml", 2, "b", "c", LinkKind::Bidirectional, 4.0f, 0.0f},
        {"crlf.csv", 2, "multi__line", "b", LinkKind::Unidirectional, 30.0f, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        clsGraph g;
        Import(Data + c.file, g);
        const clsLink& link = g.Link(c.link);
        EXPECT_EQ(link.FromNode->Label(), c.from);
        EXPECT_EQ(link.ToNode->Label(), c.to);
        EXPECT_EQ(link.LinkType, c.kind);
        EXPECT_EQ(link.Weight, c.weight);
        EXPECT_EQ(link.Probability, c.probability);
    }
}

TEST(FormatsImport, WhatIsLeftOutIsListedWithItsLineAndReason) {
    const struct {
        const char* file;
        std::vector<std::string> leftOut;
    } cases[] = {
        {"self-loop.graphml",
         {"'self-loop.graphml' line 7: edge 'b' -> 'b' is left out: it links a node to itself"}},
        {"missing-endpoint.csv",
         {"'missing-endpoint.csv' line 3: edge 'b' -> 'x' is left out: there is no node 'x'",
          "'missing-endpoint.csv' line 4: edge 'y' -> 'c' is left out: there is no node 'y'"}},
        {"node-list.csv",
         {"'node-list.nodes.csv' line 4: node 'b' is left out: the node of line 3 has the same "
          "id"}},
        {"defaults.graphml",
         {"'defaults.graphml' line 11: a hyperedge is left out: links join two nodes",
          "'defaults.graphml' line 12: the graph inside node 'c' is left out with its nodes and "
          "edges",
          "'defaults.graphml' line 15: a second graph is left out: only the first graph of a "
          "file is read"}},
        {"back.dot",
         {"'back.dot' line 5: the graphs after the first are left out: only the first graph of a "
          "file is read",
          "'back.dot': Graphviz: Warning: syntax ambiguity - badly delimited number '1c' in line "
          "3 of input splits into two tokens"}},
        // Statements ended by a newline, a semicolon, an attribute list over several lines, a
        // chain, a quoted name and a subgraph: cgraph keeps no lines, so they are worked out.
        {"dot-lines.dot",
         {"'dot-lines.dot' line 3: edge 'a' -> 'b' is left out: the edge of line 2 already links "
          "these nodes",
          "'dot-lines.dot' line 4: edge 'b' -> 'b' is left out: it links a node to itself",
          "'dot-lines.dot' line 5: edge 'd' -> 'c' is left out: the edge of line 5 already links "
          "these nodes",
          "'dot-lines.dot' line 6: edge 'e' -> 'e' is left out: it links a node to itself",
          "'dot-lines.dot' line 7: edge 'f' -> 'f' is left out: it links a node to itself",
          "'dot-lines.dot' line 10: edge 'g' -> 'g' is left out: it links a node to itself",
          "'dot-lines.dot' line 11: edge 'i' -> 'h' is left out: the edge of line 11 already "
          "links these nodes",
          "'dot-lines.dot' line 11: edge 'j' -> 'j' is left out: it links a node to itself"}},
    };
    for (const auto& c : cases) {
        clsGraph g;
        const ImportResult result = Import(Data + c.file, g);
        std::vector<std::string> leftOut;
        for (const std::string& line : result.leftOut)
            leftOut.push_back(Relative(line));
        EXPECT_EQ(leftOut, c.leftOut);
    }
}

TEST(FormatsImport, LabelsAreMadeLatin1WithoutDelimitersAndAtMost31Characters) {
    clsGraph g;
    const ImportResult result = Import(Data + "labels.graphml", g);
    const char* const labels[] = {
        "a_b",     "Z\xFCrich", "__", "x__y", "a_label_far_longer_than_thirty_",
        "_paren_", "Z\xFCrich", "8"};
    ASSERT_EQ(g.NodeCount(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(g.Node(i + 1).Label(), labels[i]);
    EXPECT_EQ(Relative(result.changedLabels[1]),
              "'labels.graphml' line 8: node '\xE6\x9D\xB1\xE4\xBA\xAC' is labelled '__'");
}

TEST(FormatsImport, PositionsInTheFileAreKeptAsCentres) {
    const struct {
        const char* file;
        int node, x, y; // top-left corner: the centre less 20
    } cases[] = {
        {"nx-positions.graphml", 1, 40, 20}, {"nx-positions.csv", 3, 120, 160},
        {"yed.graphml", 1, 95, 45},          {"yed.graphml", 2, 311, 180},
        {"positions.dot", 1, 130, 0},        {"positions.dot", 2, 20, 140},
        {"partial.dot", 1, 80, 0},           {"partial.dot", 2, 280, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        clsGraph g;
        Import(Data + c.file, g);
        EXPECT_EQ(g.Node(c.node).Position.x, c.x);
        EXPECT_EQ(g.Node(c.node).Position.y, c.y);
    }
}

// Labels with every character the writers must escape, one link of each kind.
void BuildAwkwardGraph(clsGraph& g) {
    const char* const labels[] = {"q\"uote", "back\\slash", "a&b<c", "Z\xFCrich", "\\N;#"};
    for (int i = 0; i < 5; ++i) {
        g.AddNode(40 * i, 300 - 50 * i);
        g.Node(i + 1).SetLabel(labels[i]);
    }
    for (int i = 1; i <= 4; ++i) {
        g.AddLink(i, i + 1, (i - 1) % 3);
        g.Link(i).Weight = 0.1f * static_cast<float>(i);
        if (g.Link(i).LinkType != LinkKind::Unidirectional)
            g.Link(i).Probability = 1.0f / 3.0f;
    }
}

void ExpectSameGraph(const clsGraph& a, const clsGraph& b) {
    ASSERT_EQ(a.NodeCount(), b.NodeCount());
    ASSERT_EQ(a.LinkCount(), b.LinkCount());
    for (int i = 1; i <= a.NodeCount(); ++i) {
        EXPECT_EQ(a.Node(i).Label(), b.Node(i).Label());
        EXPECT_EQ(a.Node(i).Position.x, b.Node(i).Position.x);
        EXPECT_EQ(a.Node(i).Position.y, b.Node(i).Position.y);
    }
    for (int i = 1; i <= a.LinkCount(); ++i) {
        const clsLink& x = a.Link(i);
        const clsLink& y = b.Link(i);
        EXPECT_EQ(a.NodeIndexOf(x.FromNode), b.NodeIndexOf(y.FromNode)) << "link " << i;
        EXPECT_EQ(a.NodeIndexOf(x.ToNode), b.NodeIndexOf(y.ToNode)) << "link " << i;
        EXPECT_EQ(x.LinkType, y.LinkType) << "link " << i;
        EXPECT_EQ(x.Weight, y.Weight) << "link " << i;
        EXPECT_EQ(x.Probability, y.Probability) << "link " << i;
    }
}

TEST(FormatsRoundTrip, EveryFormatReadsBackTheGraphItWrote) {
    TemporaryFolder folder;
    const char* const sources[] = {"nx-undirected.graphml", "nx-directed.csv", "positions.dot",
                                   nullptr};
    const struct {
        Format format;
        const char* name;
    } formats[] = {
        {Format::GraphML, "out.graphml"}, {Format::Dot, "out.gv"}, {Format::Csv, "out.csv"}};
    for (const char* source : sources) {
        clsGraph original;
        if (source)
            Import(Data + source, original);
        else
            BuildAwkwardGraph(original);
        for (const auto& f : formats) {
            SCOPED_TRACE(std::string(source ? source : "awkward labels") + " as " + f.name);
            const std::string file = folder.path + "/" + f.name;
            Export(original, file, f.format);
            clsGraph copy;
            const ImportResult result = Import(file, copy);
            EXPECT_TRUE(result.leftOut.empty() && result.changedLabels.empty() && !result.laidOut);
            ExpectSameGraph(original, copy);
        }
    }
}

TEST(FormatsExport, AFailedExportLeavesNoFileAndTheOldOneAsItWas) {
    TemporaryFolder folder;
    clsGraph g;
    BuildAwkwardGraph(g);
    EXPECT_THROW(Export(g, folder.path + "/missing/out.graphml", Format::GraphML), PathloomError);
    const std::string file = folder.path + "/old.graphml";
    Export(g, file, Format::GraphML);
    const std::string old = FileText(file);
    g.Node(1).SetLabel("bell\x07"); // XML 1.0 cannot hold this control character
    EXPECT_THROW(Export(g, file, Format::GraphML), PathloomError);
    EXPECT_EQ(FileText(file), old);
    const auto files = std::distance(std::filesystem::directory_iterator(folder.path),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(files, 1) << "a temporary file was left behind";
}

TEST(FormatsExport, NetworkxReadsTheGraphML) {
    if (::access(PATHLOOM_PYTHON, X_OK) != 0 ||
        std::system(PATHLOOM_PYTHON " -c 'import networkx' 2>/dev/null") != 0)
        GTEST_SKIP() << PATHLOOM_PYTHON " with networkx is not installed here";
    TemporaryFolder folder;
    clsGraph g;
    BuildAwkwardGraph(g);
    const std::string file = folder.path + "/g.graphml";
    Export(g, file, Format::GraphML);
    const std::string script =
        "import sys, networkx as nx\n"
        "g = nx.read_graphml(sys.argv[1])\n"
        "e = g.edges['n1', 'n2']\n"
        "print(g.number_of_nodes(), g.number_of_edges(), g.is_directed(), e['weight'], "
        "e['kind'], repr(g.nodes['n0']['label']), g.nodes['n0']['x'], g.nodes['n0']['y'])\n";
    std::ofstream(folder.path + "/check.py") << script;
    FILE* pipe = ::popen((PATHLOOM_PYTHON " " + folder.path + "/check.py " + file).c_str(), "r");
    char output[256] = "";
    ASSERT_NE(std::fgets(output, sizeof output, pipe), nullptr);
    EXPECT_EQ(::pclose(pipe), 0);
    // Link 2 joins n1 and n2: a one-way link of weight 0.2f, whose shortest text is 0.2.
    EXPECT_STREQ(output, "5 4 True 0.2 unidirectional 'q\"uote' 20 320\n");
}

// Whether a link's text (90 x 12 pixels, centred halfway between the centres) clears both nodes.
bool TextHasRoom(const clsPosition& a, const clsPosition& b) {
    const long dx = std::labs(static_cast<long>(b.x) - a.x);
    const long dy = std::labs(static_cast<long>(b.y) - a.y);
    return dx - 90 >= 41 || dy - 12 >= 41;
}

void ExpectNoOverlapAndRoom(const clsGraph& g, const std::vector<clsPosition>& positions) {
    for (std::size_t i = 0; i < positions.size(); ++i) {
        for (std::size_t j = i + 1; j < positions.size(); ++j) {
            ASSERT_TRUE(std::abs(positions[i].x - positions[j].x) >= 41 ||
                        std::abs(positions[i].y - positions[j].y) >= 41)
                << "nodes " << i + 1 << " and " << j + 1 << " overlap";
        }
    }
    for (int i = 1; i <= g.LinkCount(); ++i) {
        const auto at = [&](const clsNode* n) { return positions[g.NodeIndexOf(n) - 1]; };
        EXPECT_TRUE(TextHasRoom(at(g.Link(i).FromNode), at(g.Link(i).ToNode))) << "link " << i;
    }
}

TEST(FormatsLayout, NodesNeverOverlapAndLinkTextsHaveRoom) {
    // A tree of one-way links (dot), a tree with cross links (neato), and one past 2000 nodes
    // (sfdp).
    const struct {
        int nodes;
        int kind;
    } cases[] = {{40, LinkKind::Unidirectional}, {60, LinkKind::Simple}, {2100, LinkKind::Simple}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nodes);
        clsGraph g;
        for (int i = 0; i < c.nodes; ++i)
            g.AddNode(0, 0);
        for (int i = 2; i <= c.nodes; ++i) {
            g.AppendLink() = {&g.Node(i / 2), &g.Node(i), c.kind};
            if (c.kind == LinkKind::Simple && i % 7 == 0)
                g.AppendLink() = {&g.Node(i - 1), &g.Node(i), c.kind};
        }
        g.InitProbability();
        const std::vector<clsPosition> positions = Layout(g);
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(c.nodes));
        EXPECT_EQ(g.Node(c.nodes).Position.x, 0) << "the graph itself changed";
        ExpectNoOverlapAndRoom(g, positions);
        int minX = INT32_MAX, minY = INT32_MAX;
        for (const clsPosition& p : positions) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
        }
        EXPECT_EQ(minX, 20);
        EXPECT_EQ(minY, 20);
    }
}

TEST(FormatsLayout, ImportPlacesOnlyTheNodesWithoutPositionBesideTheKeptOnes) {
    clsGraph g;
    ASSERT_TRUE(Import(Data + "partial.dot", g).laidOut);
    std::vector<clsPosition> positions;
    for (int i = 1; i <= g.NodeCount(); ++i)
        positions.push_back(g.Node(i).Position);
    ExpectNoOverlapAndRoom(g, positions);
    // a and b keep their places (PositionsInTheFileAreKeptAsCentres); c and d go to their right.
    EXPECT_GT(positions[2].x, positions[1].x + 41);
    EXPECT_GT(positions[3].x, positions[1].x + 41);
}

} // namespace
