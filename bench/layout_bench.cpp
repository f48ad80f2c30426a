// The automatic layout of one graph without positions: wall time and peak memory.
//   layout_bench complete-dag|long-links|chain [NODES]
// complete-dag: one-way links from every node to every later one (50 nodes by default);
// long-links: a one-way chain whose every tenth node also links 250 nodes ahead (500 nodes);
// chain: simple links in a line (200,000 nodes). bench/layout.sh runs each in a process of its
// own, so that each peak is its own.

#include "Layout.h"
#include "ProcessMemory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::string shape = argc > 1 ? argv[1] : "";
    const int defaultNodes = shape == "complete-dag" ? 50 : shape == "long-links" ? 500 : 200000;
    const int nodes = argc > 2 ? std::atoi(argv[2]) : defaultNodes;
    std::vector<LayoutLink> links;
    if (shape == "complete-dag") {
        for (int i = 0; i < nodes; ++i) {
            for (int j = i + 1; j < nodes; ++j)
                links.push_back({i, j, true});
        }
    } else if (shape == "long-links") {
        for (int i = 0; i + 1 < nodes; ++i) {
            links.push_back({i, i + 1, true});
            if (i % 10 == 0 && i + 250 < nodes)
                links.push_back({i, i + 250, true});
        }
    } else if (shape == "chain") {
        for (int i = 0; i + 1 < nodes; ++i)
            links.push_back({i, i + 1, false});
    } else {
        std::fprintf(stderr, "usage: layout_bench complete-dag|long-links|chain [NODES]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<clsPosition> positions = PlaceNodes(static_cast<std::size_t>(nodes), links);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const char* const engines[] = {"dot", "neato", "sfdp", "grid"};
    const LayoutEngine engine =
        ChooseLayout(static_cast<std::size_t>(nodes), links, LayoutStyle::Automatic);
    std::printf("%-13s %7d %7zu %9.2f %9.1f %s\n", shape.c_str(), nodes, links.size(), seconds,
                static_cast<double>(StatusKilobytes("VmHWM:")) / 1024,
                engines[static_cast<int>(engine)]);
    return positions.size() == static_cast<std::size_t>(nodes) ? 0 : 1;
}
