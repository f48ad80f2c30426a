// Writes the example documents and path files into the folder given as the only argument.

#include "DocumentFile.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

struct ExampleNode {
    const char* label;
    int x, y;
};

struct ExampleLink {
    int from, to, kind;
    float weight;
    float probability; // kept for simple and bidirectional links only
};

void Build(clsLA& la, std::initializer_list<ExampleNode> nodes,
           std::initializer_list<ExampleLink> links) {
    clsGraph& g = la.Graph();
    for (const auto& n : nodes) {
        g.AddNode(n.x, n.y);
        g.Node(g.NodeCount()).SetLabel(n.label);
    }
    for (const auto& l : links) {
        g.AddLink(l.from, l.to, l.kind);
        clsLink& link = g.Link(g.LinkCount());
        link.Weight = l.weight;
        if (l.kind != LinkKind::Unidirectional)
            link.Probability = l.probability;
    }
}

// A triangle of simple links: the walk to the destination finds A-B-C, then A-C.
void Triangle(const std::string& folder) {
    clsLA la;
    la.Settings.Model = Model::P;
    la.Settings.ModelType = Scheme::LRP;
    la.Settings.Reward = 0.1f;
    la.Settings.Penalty = 0.1f;
    Build(la, {{"A", 60, 200}, {"B", 260, 60}, {"C", 460, 200}},
          {{1, 2, LinkKind::Simple, 1, 0.5f},
           {2, 3, LinkKind::Simple, 1, 0.5f},
           {1, 3, LinkKind::Simple, 3, 0.5f}});
    SaveGraph(la, folder + "/triangle.plm");
}

// One-way roads with costs: under the P-model the cheapest route S->A->D wins.
void Network(const std::string& folder) {
    clsLA la;
    la.Settings.Model = Model::P;
    la.Settings.ModelType = Scheme::LRI; // only better routes move the probabilities
    la.Settings.Reward = 0.5f;
    la.Settings.Penalty = 0.0f;
    Build(la, {{"S", 40, 200}, {"A", 220, 80}, {"B", 220, 320}, {"C", 400, 320}, {"D", 520, 200}},
          {{1, 3, LinkKind::Unidirectional, 1, 0},
           {3, 5, LinkKind::Unidirectional, 4, 0},
           {3, 4, LinkKind::Unidirectional, 2, 0},
           {4, 5, LinkKind::Unidirectional, 2, 0},
           {1, 2, LinkKind::Unidirectional, 2, 0},
           {2, 3, LinkKind::Unidirectional, 1, 0},
           {2, 5, LinkKind::Unidirectional, 1, 0}});
    SaveGraph(la, folder + "/network.plm");
}

// S-model: a path dearer than the one before is answered 1 (bad), a cheaper one 0 (good).
void SModel(const std::string& folder) {
    clsLA la;
    la.Settings.Model = Model::S;
    la.Settings.ModelType = Scheme::LRP;
    la.Settings.Reward = 0.1f;
    la.Settings.Penalty = 0.1f;
    la.Settings.LearningFactor = 0.2f;
    Build(la, {{"Home", 40, 60}, {"Park", 240, 40}, {"Mall", 240, 240}, {"Work", 460, 140}},
          {{1, 2, LinkKind::Bidirectional, 2, 0.5f},
           {1, 3, LinkKind::Bidirectional, 1, 0.5f},
           {2, 4, LinkKind::Bidirectional, 2, 0.5f},
           {3, 4, LinkKind::Bidirectional, 4, 0.5f},
           {2, 3, LinkKind::Simple, 1, 0.5f}});
    la.Ranges().AddRange(-1000.0f, -0.001f, 0.0f);
    la.Ranges().AddRange(0.0f, 0.0f, 0.5f);
    la.Ranges().AddRange(0.001f, 1000.0f, 1.0f);
    SaveGraph(la, folder + "/s-model.plm");

    std::ofstream paths(folder + "/s-model-paths.txt", std::ios::binary);
    paths << "{Home, Mall, Work}\n"
             "{Home, Park, Work}\n"
             "{Home, Mall, Park, Work}\n"
             "{Home, Park, Work}\n";
    if (!paths.flush())
        throw PathloomError(ErrorNumber::Program, "make_examples", "cannot write the path file");
}

// One-way streets, 16 by 16 junctions "A1" to "P16", eastwards and southwards with uneven costs:
// 155 million routes from corner to corner, far past what enumeration can count, while sampled
// runs learn the cheapest.
void OneWayGrid(const std::string& folder) {
    constexpr int Side = 16;
    clsLA la;
    la.Settings.Model = Model::P;
    la.Settings.ModelType = Scheme::LRI;
    la.Settings.Reward = 0.1f;
    la.Settings.Penalty = 0.0f;
    la.Settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    la.Settings.sourceNode = 1;
    la.Settings.DestNode = Side * Side;
    clsGraph& g = la.Graph();
    for (int r = 0; r < Side; ++r) {
        for (int c = 0; c < Side; ++c) {
            // Wide enough apart that the texts of the links leave their arrowheads free.
            g.AddNode(40 + c * 160, 40 + r * 90);
            g.Node(g.NodeCount()).SetLabel(std::string(1, char('A' + c)) + std::to_string(r + 1));
        }
    }
    const auto at = [](int r, int c) { return r * Side + c + 1; };
    for (int r = 0; r < Side; ++r) {
        for (int c = 0; c < Side; ++c) {
            if (c + 1 < Side) {
                g.AddLink(at(r, c), at(r, c + 1), LinkKind::Unidirectional);
                g.Link(g.LinkCount()).Weight = float(1 + (7 * r + 3 * c) % 5);
            }
            if (r + 1 < Side) {
                g.AddLink(at(r, c), at(r + 1, c), LinkKind::Unidirectional);
                g.Link(g.LinkCount()).Weight = float(1 + (2 * r + 5 * c) % 6);
            }
        }
    }
    SaveGraph(la, folder + "/one-way-grid.plm");
}

// Roads between a depot and a port whose travel times are random: each link's length is a
// distribution (minutes), its weight the mean. The route of least expected time, Depot-Ford-
// Cross-Gate-Port (17), competes with routes of 18 whose times vary more.
void StochasticRoads(const std::string& folder) {
    clsLA la;
    RunSettings& s = la.Settings;
    s.Model = Model::P;
    s.ModelType = Scheme::LRI;
    s.Reward = 0.01f;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.sourceNode = 1;
    s.DestNode = 10;
    s.Threshold = Threshold::Mean;
    s.ActionSet = ActionSet::Variable;
    s.Samples = 100000;
    s.Target = 0.95;
    Build(la,
          {{"Depot", 40, 200},
           {"Hill", 200, 60},
           {"Ford", 200, 200},
           {"Marsh", 200, 340},
           {"Ridge", 380, 60},
           {"Cross", 380, 200},
           {"Mill", 380, 340},
           {"Gate", 560, 130},
           {"Quay", 560, 270},
           {"Port", 720, 200}},
          {});
    const struct {
        int from, to;
        const char* length;
    } roads[] = {
        {1, 2, "normal(4, 1)"},
        {1, 3, "uniform(3, 9)"},
        {1, 4, "exponential(5)"},
        {2, 5, "discrete(3:0.7, 12:0.3)"},
        {2, 6, "normal(6, 2)"},
        {3, 6, "uniform(2, 4)"},
        {3, 5, "exponential(4)"},
        {3, 7, "normal(5, 1.5)"},
        {4, 7, "discrete(2:0.5, 6:0.5)"},
        {4, 6, "normal(7, 1)"},
        {5, 8, "uniform(2, 6)"},
        {6, 8, "normal(3, 1)"},
        {6, 9, "exponential(3)"},
        {7, 9, "uniform(1, 5)"},
        {5, 6, "discrete(1:0.9, 10:0.1)"},
        {7, 6, "normal(2, 0.5)"},
        {8, 10, "normal(5, 1.5)"},
        {9, 10, "uniform(4, 8)"},
        {8, 9, nullptr}, // a short fixed link: 2 minutes whatever the traffic
    };
    clsGraph& g = la.Graph();
    for (const auto& road : roads) {
        g.AddLink(road.from, road.to, LinkKind::Unidirectional);
        clsLink& link = g.Link(g.LinkCount());
        if (road.length)
            link.SetLength(std::make_shared<const LinkLength>(LinkLength::Parse(road.length)));
        else
            link.Weight = 2.0f;
    }
    SaveGraph(la, folder + "/stochastic-roads.plm");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_examples FOLDER\n";
        return 2;
    }
    try {
        Triangle(argv[1]);
        Network(argv[1]);
        SModel(argv[1]);
        OneWayGrid(argv[1]);
        StochasticRoads(argv[1]);
    } catch (const PathloomError& e) {
        std::cerr << e.Description() << '\n';
        return 1;
    }
    return 0;
}
