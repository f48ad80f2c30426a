// The window under a run of minutes without step delay: how late its events are handled, how
// soon "Stop" ends the run, and whether its memory grows with the paths learned.
//   window_long_run [SECONDS] [ROWS COLUMNS]
// The graph is a grid with one more node hanging from its middle, searched for every path from
// the corner that includes all nodes: few of the paths tried include the hanging node, so paths
// are found steadily but slowly. The run is stopped after SECONDS (180 unless given) or at 30,000
// paths, before the 16-bit path count would end it.

#include "DocumentFile.h"
#include "PlatformScript.h"
#include "ProcessMemory.h"
#include "RunController.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Posted from the probe thread with the moment of posting; handled in the window's thread.
class StampEvent : public QEvent {
  public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    explicit StampEvent(Clock::time_point posted) : QEvent(Kind()), Posted(posted) {}
    Clock::time_point Posted;
};

struct Sample {
    double seconds;
    int paths;
    std::size_t heap;
    long rss;
};

// Lives in the window's thread: measures each stamp's delay and samples the run once a second.
class Probe : public QObject {
  public:
    // Room for every stamp and sample of the run up front: the probe's own growth would
    // otherwise show in the heap it measures.
    Probe(frmMain& window, Clock::time_point start, double seconds)
        : window_(window), start_(start) {
        delays.reserve(static_cast<std::size_t>(seconds * 150) + 1000);
        samples.reserve(static_cast<std::size_t>(seconds * 1.5) + 100);
    }

    std::vector<double> delays;
    std::vector<Sample> samples;
    std::atomic<int> paths{0};

    bool event(QEvent* e) override {
        if (e->type() != StampEvent::Kind())
            return QObject::event(e);
        const auto now = Clock::now();
        const auto* stamp = static_cast<StampEvent*>(e);
        if (!window_.IsWorking())
            return true;
        delays.push_back(Milliseconds(now - stamp->Posted));
        paths = window_.Run().PathCount();
        const double seconds = std::chrono::duration<double>(now - start_).count();
        if (samples.empty() || seconds - samples.back().seconds >= 1.0)
            samples.push_back({seconds, paths, HeapInUse(), StatusKilobytes("VmRSS:")});
        return true;
    }

  private:
    frmMain& window_;
    Clock::time_point start_;
};

void BuildGraph(clsGraph& graph, int rows, int columns) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            graph.AddNode(60 * c, 60 * r);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int i = r * columns + c + 1;
            if (c + 1 < columns)
                graph.AddLink(i, i + 1, LinkKind::Simple);
            if (r + 1 < rows)
                graph.AddLink(i, i + columns, LinkKind::Simple);
        }
    }
    graph.AddNode(60 * columns, 0);
    graph.AddLink((rows / 2) * columns + columns / 2 + 1, graph.NodeCount(), LinkKind::Simple);
}

// The options dialog as a user fills it: P-model, LRP with reward 0.1, all nodes from the
// first, no step delay.
void AnswerOptions() {
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        dialog->findChild<QComboBox*>("cmbModel")->setCurrentIndex(0);
        dialog->findChild<QListWidget*>("lstType")->setCurrentRow(0);
        dialog->findChild<QLineEdit*>("txtReward")->setText("0.1");
        dialog->findChild<QLineEdit*>("txtLearningFactor")->setText("0");
        dialog->findChild<QRadioButton*>("optSearchMethod0")->setChecked(true);
        dialog->findChild<QComboBox*>("cmbSource")->setCurrentIndex(0);
        dialog->findChild<QCheckBox*>("chkEnableDelay")->setChecked(false);
        dialog->findChild<QAbstractButton*>("cmdOK")->click();
    });
}

QWidget* ToolButton(frmMain& window, const char* key) {
    QAction* action = window.findChild<QAction*>(key);
    return qobject_cast<QToolBar*>(action->parent())->widgetForAction(action);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 180.0;
    const int rows = argc > 3 ? std::atoi(argv[2]) : 8;
    const int columns = argc > 3 ? std::atoi(argv[3]) : 7;
    constexpr int PathLimit = 30000;

    Platform::PlatformScript script; // records any message instead of blocking on it
    frmMain window;
    window.show();
    clsLA grid; // opened as a document, as a user would
    BuildGraph(grid.Graph(), rows, columns);
    QTemporaryDir folder;
    SaveGraph(grid, (folder.path() + "/grid.plm").toStdString());
    window.OpenStartupDocument(folder.path() + "/grid.plm");
    QWidget* stopButton = ToolButton(window, "Stop");
    const QPointF stopAt = QRectF(stopButton->rect()).center();

    const auto start = Clock::now();
    Probe probe(window, start, seconds);
    std::atomic<bool> running{true};
    std::atomic<Clock::rep> stopPosted{0};
    // Another thread posts a stamped event every 10 ms, as input would arrive, and then the
    // click on "Stop": press and release on the button, handled whenever the window gets to it.
    std::thread poster([&] {
        const auto began = Clock::now();
        while (running) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            QCoreApplication::postEvent(&probe, new StampEvent(Clock::now()));
            const bool due = Clock::now() - began >= std::chrono::duration<double>(seconds) ||
                             probe.paths >= PathLimit;
            if (due && stopPosted == 0) {
                stopPosted = Clock::now().time_since_epoch().count();
                for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                    QCoreApplication::postEvent(
                        stopButton,
                        new QMouseEvent(
                            type, stopAt, stopButton->mapToGlobal(stopAt), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
                }
            }
        }
    });

    const std::size_t heapBefore = HeapInUse();
    AnswerOptions();
    QTest::mouseClick(ToolButton(window, "Start"), Qt::LeftButton);
    // The run is stepped from the window's event loop, as the program's own loop would.
    while (window.IsWorking())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const auto ended = Clock::now();
    running = false;
    poster.join();

    const double runSeconds = std::chrono::duration<double>(ended - start).count();
    std::printf("graph: %d x %d grid and one node hanging from its middle (%d nodes, %d links); "
                "include all nodes from the corner, no step delay\n",
                rows, columns, window.Document().Graph().NodeCount(),
                window.Document().Graph().LinkCount());
    std::printf("run: %.1f s, %d paths learned%s\n", runSeconds, window.Run().PathCount(),
                script.Messages().empty() ? "" : ", with a message (the run ended by itself)");
    std::printf("event delay during the run (%zu stamps, one every 10 ms): median %.1f ms, "
                "99th percentile %.1f ms, longest %.1f ms\n",
                probe.delays.size(), Percentile(probe.delays, 0.5), Percentile(probe.delays, 0.99),
                Percentile(probe.delays, 1.0));
    if (stopPosted != 0) {
        const Clock::time_point posted{Clock::duration(stopPosted.load())};
        std::printf("Stop: the run had ended %.1f ms after the click was posted\n",
                    Milliseconds(ended - posted));
    } else {
        std::printf("Stop: the run ended before it was pressed\n");
    }
    std::printf("memory (heap in use, resident) as paths are learned; before the run the heap "
                "held %zu KB:\n",
                heapBefore / 1024);
    const std::size_t step = std::max<std::size_t>(1, probe.samples.size() / 12);
    for (std::size_t i = 0; i < probe.samples.size(); i += step) {
        const Sample& s = probe.samples[i];
        std::printf("  %6.1f s %6d paths  heap %8zu KB  resident %7ld KB\n", s.seconds, s.paths,
                    s.heap / 1024, s.rss);
    }
    // The whole run from its first path, and its second half alone: anything kept per path grows
    // in both; caches that fill once grow in the first only.
    const auto report = [&](const char* what, const Sample& from, const Sample& to) {
        if (to.paths <= from.paths)
            return;
        const long long growth =
            static_cast<long long>(to.heap) - static_cast<long long>(from.heap);
        std::printf("heap growth %s, from %d to %d paths: %+lld bytes (%+.2f bytes per path)\n",
                    what, from.paths, to.paths, growth,
                    static_cast<double>(growth) / (to.paths - from.paths));
    };
    const auto first = std::find_if(probe.samples.begin(), probe.samples.end(),
                                    [](const Sample& s) { return s.paths > 0; });
    if (first != probe.samples.end()) {
        report("over the run", *first, probe.samples.back());
        report("over its second half", probe.samples[probe.samples.size() / 2],
               probe.samples.back());
    }
    return 0;
}
