// Writes the benchmark graphs as documents, with a list of the pathloom-run commands that run
// them, so that the same experiments can be timed through the headless runner; and the cases that
// bench/run.sh sets side by side with the plain program (versus.txt, with a path file).

#include "BenchGraphs.h"
#include "DocumentFile.h"
#include "LinkLength.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Document {
    std::string file;
    std::function<void(clsGraph&)> build;
    const char* method; // pathloom-run's --method
};

struct Versus {
    const char* group;
    const char* name;
    std::string file;
    std::function<void(clsGraph&)> build;
    std::string args; // after the document
};

// The first `count` paths from the first node to the last, depth-first over the links either
// way, as a path file ({0,1,...} a line).
bool WritePathFile(const clsGraph& graph, int count, const std::string& fileName) {
    std::vector<std::vector<int32_t>> next(static_cast<std::size_t>(graph.NodeCount()) + 1);
    for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
        const int32_t a = graph.NodeIndexOf(graph.Link(j).FromNode);
        const int32_t b = graph.NodeIndexOf(graph.Link(j).ToNode);
        next[a].push_back(b);
        next[b].push_back(a);
    }
    std::ofstream out(fileName);
    std::vector<int32_t> path{1};
    std::vector<bool> on(next.size(), false);
    on[1] = true;
    std::function<void()> walk = [&] {
        for (const int32_t n : next[path.back()]) {
            if (count == 0 || on[n])
                continue;
            path.push_back(n);
            on[n] = true;
            if (n == graph.NodeCount()) {
                for (std::size_t k = 0; k < path.size(); ++k)
                    out << (k ? "," : "{") << graph.Node(path[k]).Label();
                out << "}\n";
                --count;
            } else {
                walk();
            }
            on[n] = false;
            path.pop_back();
        }
    };
    walk();
    return count == 0 && out.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_documents FOLDER\n";
        return 2;
    }
    using namespace BenchGraphs;
    const std::string folder = argv[1];
    const std::vector<Document> documents = {
        {"all-grid-4x4.plm", [](clsGraph& g) { Grid(g, 4, 4); }, "all"},
        {"all-ladder-2x9.plm", [](clsGraph& g) { Ladder(g, 9); }, "all"},
        {"all-random-16-48.plm", [](clsGraph& g) { Random(g, 16, 48, 3); }, "all"},
        {"all-random-18-54.plm", [](clsGraph& g) { Random(g, 18, 54, 5); }, "all"},
        {"all-chain-1000000.plm", [](clsGraph& g) { Chain(g, 1000000); }, "all"},
        {"dest-grid-8x14.plm", [](clsGraph& g) { Grid(g, 8, 14); }, "dest"},
        {"dest-random-150-400.plm", [](clsGraph& g) { Random(g, 150, 400, 5); }, "dest"},
        {"sample-random-200000-600000.plm", [](clsGraph& g) { Random(g, 200000, 600000, 7); },
         "sample"},
    };
    std::ofstream commands(folder + "/commands.txt");
    for (const Document& d : documents) {
        clsLA la;
        d.build(la.Graph());
        la.Graph().InitProbability();
        la.Settings.Reward = 0.05f;
        la.Settings.Penalty = 0.05f;
        try {
            SaveGraph(la, folder + "/" + d.file);
        } catch (const PathloomError& e) {
            std::cerr << e.Description() << '\n';
            return 1;
        }
        // One line a run: the document and its arguments after it.
        commands << d.file << " --method " << d.method << " --source #1";
        if (std::string(d.method) != "all")
            commands << " --dest #" << la.Graph().NodeCount();
        commands << '\n';
    }
    if (!commands.flush())
        return 1;

    const std::string sampled = " --scheme LRI --reward 0.01 --samples 200000 --json --quiet";
    std::vector<Versus> versus = {
        {"sampled", "directed grid 10x10", "grid-10.plm", [](clsGraph& g) { DirectedGrid(g, 10); },
         "--method sample --source #1 --dest #100" + sampled},
        {"sampled", "directed grid 32x32", "grid-32.plm", [](clsGraph& g) { DirectedGrid(g, 32); },
         "--method sample --source #1 --dest #1024" + sampled},
        {"sampled", "directed grid 100x100", "grid-100.plm",
         [](clsGraph& g) { DirectedGrid(g, 100); },
         "--method sample --source #1 --dest #10000" + sampled},
        {"sampled", "random 100/300 s1", "random-100.plm",
         [](clsGraph& g) { Random(g, 100, 300, 1); },
         "--method sample --source #1 --dest #100" + sampled},
        {"sampled", "random 1000/3000 s2", "random-1000.plm",
         [](clsGraph& g) { Random(g, 1000, 3000, 2); },
         "--method sample --source #1 --dest #1000" + sampled},
        {"sampled", "random 10000/30000 s3", "random-10000.plm",
         [](clsGraph& g) { Random(g, 10000, 30000, 3); },
         "--method sample --source #1 --dest #10000" + sampled},
        {"enumerations", "all nodes: random 16/48 s3", "all-16.plm",
         [](clsGraph& g) { Random(g, 16, 48, 3); }, "--method all --source #1 --json"},
        {"enumerations", "all nodes: random 18/54 s5", "all-18.plm",
         [](clsGraph& g) { Random(g, 18, 54, 5); }, "--method all --source #1 --json"},
        {"enumerations", "all nodes: diagonal ladder 2x13", "all-ladder.plm",
         [](clsGraph& g) { DiagonalLadder(g, 13); }, "--method all --source #1 --json"},
        {"enumerations", "to destination: grid 5x5", "dest-grid-5.plm",
         [](clsGraph& g) { Grid(g, 5, 5); }, "--method dest --source #1 --dest #25 --json"},
        {"enumerations", "to destination: unreachable 30/70", "dest-unreachable-30.plm",
         [](clsGraph& g) { Unreachable(g, 30, 70, 7); },
         "--method dest --source #1 --dest #30 --json"},
        {"enumerations", "path file: 32,767 paths on grid 6x6", "file-grid-6.plm",
         [](clsGraph& g) { Grid(g, 6, 6); },
         "--method file --paths " + folder + "/grid-6-paths.txt --json"},
        {"larger", "to destination: random 150/400 s5", "dest-random-150.plm",
         [](clsGraph& g) { Random(g, 150, 400, 5); },
         "--method dest --source #1 --dest #150 --json"},
        {"larger", "to destination: ladder 2x70", "dest-ladder-70.plm",
         [](clsGraph& g) { Ladder(g, 70); }, "--method dest --source #1 --dest #140 --json"},
        {"larger", "to destination: unreachable 300/900", "dest-unreachable-300.plm",
         [](clsGraph& g) { Unreachable(g, 300, 900, 6); },
         "--method dest --source #1 --dest #300 --json"},
        {"larger", "all nodes: diagonal ladder 2x40", "all-ladder-40.plm",
         [](clsGraph& g) { DiagonalLadder(g, 40); }, "--method all --source #1 --json"},
    };
    // A stochastic experiment on a random graph of 2,000 nodes and 4,964 links, every length
    // drawn: stored in the document, and given as 4,964 --length options.
    const auto stochastic = [](clsGraph& g) { Random(g, 2000, 4964, 11); };
    const auto lengthOf = [](const clsLink& link, int32_t j) {
        const double w = link.Weight;
        std::ostringstream text;
        if (j % 4 == 0)
            text << "uniform(" << w / 2 << "," << w * 1.5 << ")";
        else if (j % 4 == 1)
            text << "normal(" << w << "," << w / 4 << ")";
        else if (j % 4 == 2)
            text << "exponential(" << w << ")";
        else
            text << "discrete(" << w / 2 << ":1," << w * 1.5 << ":1)";
        return text.str();
    };
    clsLA lengthless;
    stochastic(lengthless.Graph());
    std::string lengths;
    for (int32_t j = 1; j <= lengthless.Graph().LinkCount(); ++j) {
        const clsLink& link = lengthless.Graph().Link(j);
        lengths += " --length " + link.FromNode->Label() + "->" + link.ToNode->Label() + "=" +
                   lengthOf(link, j);
    }
    const std::string experiment =
        "--method sample --source #1 --dest #2000 --scheme LRI --reward 0.01 --samples 20000 "
        "--threshold mean --json --quiet";
    versus.push_back({"stochastic", "random 2000/4964, lengths stored", "stochastic.plm",
                      [&](clsGraph& g) {
                          stochastic(g);
                          for (int32_t j = 1; j <= g.LinkCount(); ++j)
                              g.Link(j).SetLength(std::make_shared<const LinkLength>(
                                  LinkLength::Parse(lengthOf(g.Link(j), j))));
                      },
                      experiment});
    versus.push_back({"stochastic", "random 2000/4964, 4,964 --length", "stochastic-plain.plm",
                      stochastic, experiment + lengths});
    std::ofstream list(folder + "/versus.txt");
    for (const Versus& v : versus) {
        clsLA la;
        v.build(la.Graph());
        la.Settings.Reward = 0.05f;
        la.Settings.Penalty = 0.05f;
        SaveGraph(la, folder + "/" + v.file);
        list << v.group << '|' << v.name << '|' << v.file << ' ' << v.args << '\n';
    }
    // The Python module's case: a long sampled run that lists every path it learns.
    clsLA oneWay;
    DirectedGrid(oneWay.Graph(), 60);
    SaveGraph(oneWay, folder + "/grid-60.plm");
    clsLA grid;
    Grid(grid.Graph(), 6, 6);
    return list.flush() && WritePathFile(grid.Graph(), 32767, folder + "/grid-6-paths.txt") ? 0 : 1;
}
