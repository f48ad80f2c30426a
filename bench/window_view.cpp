// The window with a large graph: how long a redraw takes after a pan and after a zoom, at 100%
// and at Fit Graph. The graph is a square grid of nodes 80 pixels apart, each linked to its
// right and its lower neighbour (100,000 nodes and about 200,000 links by default).
//   window_view [NODES]

#include "DocumentFile.h"
#include "PlatformScript.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The median of a few redraws, each after the change it follows.
double MedianMs(const std::function<void(int)>& change, frmMain& window) {
    std::vector<double> ms;
    for (int i = 0; i < 9; ++i) {
        change(i);
        const auto start = Clock::now();
        window.DrawObjects();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nodes = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int side = static_cast<int>(std::ceil(std::sqrt(nodes)));
    Platform::PlatformScript script;
    frmMain window;
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();

    // Built as a document and opened, as a user would.
    clsLA grid;
    clsGraph& graph = grid.Graph();
    for (int i = 0; i < nodes; ++i)
        graph.AppendNode().Position = {(i % side) * 80, (i / side) * 80};
    for (int i = 0; i < nodes; ++i) {
        for (int next : {i + 1, i + side}) {
            if (next >= nodes || (next == i + 1 && next % side == 0))
                continue;
            clsLink& link = graph.AppendLink();
            link.FromNode = &graph.Node(i + 1);
            link.ToNode = &graph.Node(next + 1);
            link.LinkType = next == i + 1 ? LinkKind::Simple : LinkKind::Unidirectional;
            link.Weight = 1.0f;
        }
    }
    graph.InitProbability();
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/grid.plm").toStdString();
    SaveGraph(grid, file);
    window.OpenStartupDocument(QString::fromStdString(file));
    CanvasPanel& panel = window.Panel();
    QScrollBar* h = panel.HScroll();
    std::printf("window view: %d nodes, %d links, a %d x %d canvas\n", graph.NodeCount(),
                graph.LinkCount(), panel.Canvas()->width(), panel.Canvas()->height());

    const double pan100 = MedianMs([&](int i) { h->setValue(1000 + 400 * i); }, window);
    panel.ActualSize();
    const double zoom100 =
        MedianMs([&](int i) { panel.SetZoom(i % 2 ? 1.0 : 1.25, QPointF(300, 300)); }, window);
    window.findChild<QAction*>("mnuFitGraph")->trigger();
    const double fitZoom = panel.Zoom();
    const double panFit = MedianMs([&](int i) { h->setValue(i % 2 * 40); }, window);
    const double zoomFit = MedianMs(
        [&](int i) { panel.SetZoom(i % 2 ? fitZoom : fitZoom * 1.25, QPointF(300, 300)); }, window);
    std::printf("redraw after a pan: %.1f ms at 100%%, %.1f ms at Fit Graph (%.0f%%)\n", pan100,
                panFit, fitZoom * 100);
    std::printf("redraw after a zoom: %.1f ms at 100-125%%, %.1f ms about Fit Graph\n", zoom100,
                zoomFit);
    return 0;
}
