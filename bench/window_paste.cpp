// Edit > Paste of a large graph without positions: how long the window's thread stalls.
//   window_paste [NODES]
// The clipboard holds GraphML of NODES nodes (300,000 unless given) without positions, each linked
// to the next, as another program would put it there. Another thread posts a stamp every 5 ms;
// each stamp's delay, from its posting until the window's thread handles it, is how long the
// window could not answer. Paste is pressed, and the bench waits until the nodes are in.

#include "PlatformScript.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class StampEvent : public QEvent {
  public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    explicit StampEvent(Clock::time_point posted) : QEvent(Kind()), Posted(posted) {}
    Clock::time_point Posted;
};

class Probe : public QObject {
  public:
    std::vector<double> delays;
    bool event(QEvent* e) override {
        if (e->type() != StampEvent::Kind())
            return QObject::event(e);
        delays.push_back(Milliseconds(Clock::now() - static_cast<StampEvent*>(e)->Posted));
        return true;
    }
};

std::string GraphML(int nodes) {
    std::string text = "<?xml version=\"1.0\"?>\n<graphml><graph edgedefault=\"undirected\">\n";
    for (int i = 0; i < nodes; ++i)
        text += "<node id=\"n" + std::to_string(i) + "\"/>\n";
    for (int i = 0; i + 1 < nodes; ++i)
        text += "<edge source=\"n" + std::to_string(i) + "\" target=\"n" + std::to_string(i + 1) +
                "\"/>\n";
    return text + "</graph></graphml>\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nodes = argc > 1 ? std::atoi(argv[1]) : 300000;
    Platform::PlatformScript script; // records any message instead of showing it
    frmMain window;
    window.show();
    QApplication::processEvents();
    auto* data = new QMimeData;
    data->setData("application/graphml+xml", QByteArray::fromStdString(GraphML(nodes)));
    QApplication::clipboard()->setMimeData(data);

    Probe probe;
    std::atomic<bool> stop{false};
    std::thread stamps([&] {
        while (!stop) {
            QCoreApplication::postEvent(&probe, new StampEvent(Clock::now()));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const auto start = Clock::now();
    window.findChild<QAction*>("mnuPaste")->trigger();
    while (window.Document().Graph().NodeCount() < nodes &&
           Clock::now() - start < std::chrono::seconds(300))
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double pasted = Milliseconds(Clock::now() - start);
    stop = true;
    stamps.join();
    QApplication::processEvents();

    std::sort(probe.delays.begin(), probe.delays.end());
    const auto over =
        std::count_if(probe.delays.begin(), probe.delays.end(), [](double d) { return d > 100; });
    std::printf("paste of %d nodes without positions: %d nodes in after %.0f ms\n", nodes,
                window.Document().Graph().NodeCount(), pasted);
    std::printf("window's thread: longest stall %.0f ms, median %.1f ms, %ld of %zu stamps later "
                "than 100 ms\n",
                probe.delays.empty() ? 0.0 : probe.delays.back(),
                probe.delays.empty() ? 0.0 : probe.delays[probe.delays.size() / 2],
                static_cast<long>(over), probe.delays.size());
    std::printf("messages: %zu\n", script.Messages().size());
    return 0;
}
