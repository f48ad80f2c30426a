// Times saving and loading a large document: 1,000,000 nodes and 3,000,000 links by default.

#include "BenchGraphs.h"
#include "DocumentFile.h"
#include "clsLA.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
} // namespace

int main(int argc, char** argv) {
    const int nodes = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const std::string file = argc > 2 ? argv[2] : "/tmp/pathloom-document-bench.plm";

    clsLA la;
    clsGraph& g = la.Graph();
    for (int i = 0; i < nodes; ++i)
        g.AppendNode().Position.x = i;
    for (int i = 1; i <= nodes; ++i) {
        for (int step : {1, 2, 1000}) {
            clsLink& link = g.AppendLink();
            link.FromNode = &g.Node(i);
            link.ToNode = &g.Node((i - 1 + step) % nodes + 1);
            link.LinkType = step == 1000 ? LinkKind::Unidirectional : LinkKind::Simple;
            link.Weight = 1.0f;
        }
    }
    g.InitProbability();

    auto start = std::chrono::steady_clock::now();
    SaveGraph(la, file);
    const double save = Seconds(start);

    clsLA loaded;
    start = std::chrono::steady_clock::now();
    LoadGraph(loaded, file);
    const double load = Seconds(start);
    ::unlink(file.c_str());

    const bool same = loaded.Graph().NodeCount() == nodes &&
                      loaded.Graph().LinkCount() == 3 * nodes &&
                      loaded.Graph().Link(3 * nodes).ToNode->Position.x == 999;
    std::printf("document of %d nodes and %d links: save %.2f s, load %.2f s%s\n", nodes, 3 * nodes,
                save, load, same ? "" : " (LOADED GRAPH DIFFERS)");
    return same ? 0 : 1;
}
