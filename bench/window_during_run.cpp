// How the window answers during a run, against idle, and how fast it runs against pathloom-run.
//   window_during_run RUNNER [SAMPLES] [PROBES] [--curve] [--no-speed]
// The run is a sampled run of examples/one-way-grid.plm from A1 to P16 without step delay
// (SAMPLES, 5,000,000 unless given). Another thread posts each probe as input would arrive, and
// the probe's time runs from its posting until the window has answered it:
// - an accessibility query: the accessible tree of the menu bar walked (each menu, each item's
//   name, role and state), as a screen reader reads it;
// - opening a menu: a click on the menu bar's "Run" until the menu is shown.
// PROBES of each (30 unless given) while idle, then as many during the run. Then the run's own
// speed: the window's run of a fifth of the samples from Start to its end, against RUNNER
// (pathloom-run) doing the same run from its start to its exit, the best of three of each
// (--no-speed leaves it out). The window waits for its events as its own loop does; its Learning
// Curve panel stays hidden, as it opens, unless --curve shows it first.

#include "PlatformScript.h"
#include "RunController.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto ProbeGap = std::chrono::milliseconds(60);

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class QueryEvent : public QEvent {
  public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    explicit QueryEvent(Clock::time_point posted) : QEvent(Kind()), Posted(posted) {}
    Clock::time_point Posted;
};

int Walk(QAccessibleInterface* node) {
    if (!node)
        return 0;
    int seen = 1;
    volatile int sink = node->text(QAccessible::Name).size() + static_cast<int>(node->role()) +
                        static_cast<int>(node->state().disabled);
    (void)sink;
    for (int i = 0; i < node->childCount(); ++i)
        seen += Walk(node->child(i));
    return seen;
}

// In the window's thread: answers queries, and notes when the Run menu is shown.
class Probe : public QObject {
  public:
    Probe(QMenuBar& bar, QMenu& menu) : bar_(bar), menu_(menu) { menu.installEventFilter(this); }

    std::vector<double> queries, menus;
    std::atomic<int> answered{0};
    Clock::time_point menuPosted;
    int nodes = 0;

    bool event(QEvent* e) override {
        if (e->type() != QueryEvent::Kind())
            return QObject::event(e);
        nodes = Walk(QAccessible::queryAccessibleInterface(&bar_));
        queries.push_back(Milliseconds(Clock::now() - static_cast<QueryEvent*>(e)->Posted));
        ++answered;
        return true;
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == &menu_ && e->type() == QEvent::Show) {
            menus.push_back(Milliseconds(Clock::now() - menuPosted));
            QTimer::singleShot(0, &menu_, [this] { menu_.close(); });
            ++answered;
        }
        return false;
    }

  private:
    QMenuBar& bar_;
    QMenu& menu_;
};

// Posts PROBES queries and menu clicks from another thread, each after the last was answered.
void PostProbes(Probe& probe, QMenuBar& bar, QMenu& menu, int count) {
    const QPoint at = bar.actionGeometry(menu.menuAction()).center();
    const int done = probe.answered + 2 * count;
    std::thread poster([&] {
        for (int i = 0; i < 2 * count; ++i) {
            const int before = probe.answered;
            std::this_thread::sleep_for(ProbeGap);
            if (i % 2 == 0) {
                QCoreApplication::postEvent(&probe, new QueryEvent(Clock::now()));
            } else {
                probe.menuPosted = Clock::now();
                for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        &bar, new QMouseEvent(type, at, bar.mapToGlobal(at), Qt::LeftButton,
                                              type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                               : Qt::NoButton,
                                              Qt::NoModifier));
            }
            while (probe.answered == before)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    while (poster.joinable() && probe.answered < done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    poster.join();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* when, const Probe& probe, std::size_t from) {
    const auto part = [from](const std::vector<double>& all) {
        return std::vector<double>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    };
    const std::vector<double> queries = part(probe.queries), menus = part(probe.menus);
    std::printf("%-12s accessibility query: median %7.2f ms, longest %7.2f ms; "
                "menu opened: median %7.2f ms, longest %7.2f ms\n",
                when, Median(queries), *std::max_element(queries.begin(), queries.end()),
                Median(menus), *std::max_element(menus.begin(), menus.end()));
}

// Sample Paths from A1 to P16, with the samples given.
void AnswerSamplePaths(long long samples) {
    QTimer::singleShot(0, [samples] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (const auto& [name, label] : {std::pair{"cmbSource", "A1"}, {"cmbDest", "P16"}}) {
            auto* nodes = dialog->findChild<QComboBox*>(name);
            nodes->setCurrentIndex(nodes->findText(label));
        }
        dialog->findChild<QLineEdit*>("txtSamples")->setText(QString::number(samples));
        dialog->findChild<QLineEdit*>("txtSeed")->setText("1");
        dialog->findChild<QAbstractButton*>("cmdOK")->click();
    });
}

double WindowRun(frmMain& window, long long samples) {
    AnswerSamplePaths(samples);
    const auto start = Clock::now();
    window.findChild<QAction*>("mnuSamplePaths")->trigger();
    while (window.IsWorking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return Milliseconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList numbers = QApplication::arguments().mid(1);
    const bool curve = numbers.removeAll("--curve") > 0;
    const bool speed = numbers.removeAll("--no-speed") == 0;
    if (numbers.isEmpty()) {
        std::fprintf(stderr,
                     "usage: window_during_run RUNNER [SAMPLES] [PROBES] [--curve] [--no-speed]\n");
        return 2;
    }
    const QString runner = numbers[0];
    const long long samples = numbers.size() > 1 ? numbers[1].toLongLong() : 5000000;
    const int probes = numbers.size() > 2 ? numbers[2].toInt() : 30;
    const QString document = QString(PATHLOOM_EXAMPLES_DIR) + "/one-way-grid.plm";

    Platform::PlatformScript script; // records any message instead of blocking on it
    frmMain window;
    window.show();
    window.OpenStartupDocument(document);
    if (curve)
        window.findChild<QAction*>("mnuLearningCurve")->trigger();
    auto* runMenu = window.findChild<QMenu*>("mnuRun");
    Probe probe(*window.menuBar(), *runMenu);

    PostProbes(probe, *window.menuBar(), *runMenu, probes);
    Report("idle:", probe, 0);
    const std::size_t idle = probe.queries.size();

    AnswerSamplePaths(samples);
    window.findChild<QAction*>("mnuSamplePaths")->trigger();
    PostProbes(probe, *window.menuBar(), *runMenu, probes);
    const bool whole = window.IsWorking();
    for (const auto& message : script.Messages())
        std::printf("message: %s\n", qPrintable(message.text));
    Report("during a run:", probe, idle);
    std::printf("(%d accessible nodes walked per query; %s)\n", probe.nodes,
                whole ? "the run was working at the last probe"
                      : "the run ENDED before the last probe: give more samples");
    window.findChild<QAction*>("Stop")->trigger();
    while (window.IsWorking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!speed)
        return 0;

    const long long speedSamples = samples / 5;
    double windowBest = 1e300, runnerBest = 1e300;
    for (int i = 0; i < 3; ++i) {
        windowBest = std::min(windowBest, WindowRun(window, speedSamples));
        QProcess process;
        const auto start = Clock::now();
        process.start(runner,
                      {document, "--method", "sample", "--source", "A1", "--dest", "P16",
                       "--samples", QString::number(speedSamples), "--seed", "1", "--quiet"});
        process.waitForFinished(-1);
        runnerBest = std::min(runnerBest, Milliseconds(Clock::now() - start));
        if (i == 0) { // the same run: the same best path, as likely in both
            const QByteArray out = process.readAllStandardOutput();
            const int at = out.indexOf("bestPathProbability: ");
            std::printf("P(best path): window %.17g, pathloom-run %s\n",
                        window.Run().Shown().bestProbability,
                        out.mid(at + 21, out.indexOf('\n', at) - at - 21).constData());
        }
    }
    std::printf("run of %lld samples: window %.0f ms, pathloom-run %.0f ms: the window runs at "
                "%.2f of pathloom-run's speed\n",
                speedSamples, windowBest, runnerBest, runnerBest / windowBest);
    return 0;
}
