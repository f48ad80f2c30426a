// The window with a large document: open it, draw it, save it under another name, with the
// time of each step and the peak memory of the whole program.
//   window_large_document DOCUMENT.plm SAVED.plm

#include "PlatformScript.h"
#include "ProcessMemory.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

long NonWhitePixels(const QImage& image) {
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_large_document DOCUMENT.plm SAVED.plm\n");
        return 2;
    }
    Platform::PlatformScript script; // answers the file dialog and records any message
    frmMain window;
    window.resize(1024, 768);
    window.show();
    QApplication::processEvents();
    const long before = StatusKilobytes("VmRSS:");

    auto start = Clock::now();
    window.OpenStartupDocument(argv[1]);
    QApplication::processEvents();
    const double open = Seconds(start);
    const clsGraph& graph = window.Document().Graph();

    std::vector<double> draws;
    for (int i = 0; i < 5; ++i) {
        start = Clock::now();
        window.DrawObjects();
        draws.push_back(Seconds(start));
    }
    std::sort(draws.begin(), draws.end());
    const QImage canvas = window.Canvas()->Image();

    script.QueueFile(QString::fromLocal8Bit(argv[2]));
    start = Clock::now();
    window.findChild<QAction*>("mnuSaveAs")->trigger();
    const double save = Seconds(start);

    std::printf("window: %d nodes and %d links; open (load and first draw) %.2f s, draw %.3f s "
                "(median of 5, a %d x %d canvas, %ld pixels not white), save as %.2f s\n",
                graph.NodeCount(), graph.LinkCount(), open, draws[2], canvas.width(),
                canvas.height(), NonWhitePixels(canvas), save);
    std::printf("window: resident memory %ld MB before opening, peak %ld MB\n", before / 1024,
                StatusKilobytes("VmHWM:") / 1024);
    for (const auto& m : script.Messages())
        std::printf("window showed: %s\n", m.text.toLocal8Bit().constData());
    return script.Messages().empty() ? 0 : 1;
}
