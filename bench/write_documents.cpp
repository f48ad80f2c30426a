// Writes the benchmark graphs as documents, with a list of the pathloom-run commands that run
// them, so that the same experiments can be timed through the headless runner.

#include "BenchGraphs.h"
#include "DocumentFile.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Document {
    std::string file;
    std::function<void(clsGraph&)> build;
    const char* method; // pathloom-run's --method
};

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
    return commands.flush() ? 0 : 1;
}
