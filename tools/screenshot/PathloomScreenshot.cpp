// Starts the Pathloom window on the current display and writes what it shows to PNG files: a
// document as it opens, for the README, and the steps of a first experiment done with the mouse.
//
//   pathloom-screenshot window OUTPUT.png [DOCUMENT.plm]
//   pathloom-screenshot guide OUTPUT_FOLDER
//   pathloom-screenshot curve OUTPUT.png DOCUMENT.plm SOURCE DESTINATION SAMPLES
//   pathloom-screenshot figure OUTPUT.png GRAPH SOURCE DESTINATION
//   pathloom-screenshot canvas OUTPUT.png DOCUMENT.plm SOURCE DESTINATION
//   pathloom-screenshot panels OUTPUT.png DOCUMENT.plm
//
// The guide draws a triangle with the mouse, gives its links weights, runs from the first node
// to the last with step delay and photographs each step (guide-1-nodes.png to guide-6-learned.png).
//
// The curve is the window with its Learning Curve panel in the middle of a sampled run from the
// source to the destination (node labels) with step delay, after the given number of samples.
//
// The figure is what File > Export... writes after a sampled run (LRI, reward 0.1, until 0.95) of
// a graph imported from GRAPH, from the source to the destination.
//
// The canvas is the window with the overview, the run's source and destination set from the
// node's context menu (node labels), and the context menu open on the source.
// The panels are the program's window at first sight (as a new user's first start places it)
// with the document open and its first link selected.
//
// Without a document it draws a small graph through the model and saves it to a temporary file
// first, so that the window opens a real document either way.

#include "DocumentFile.h"
#include "EditCommands.h"
#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "LearningCurvePanel.h"
#include "RunController.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <cstdio>

namespace {

// Lets the window system map, lay out and paint the window.
void Settle(int ms = 300) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The window, or with `popups` the screen where it lies, so that an open menu shows too.
bool Grab(QWidget& window, const QString& path, bool popups = false) {
    Settle();
    const QRect frame = window.frameGeometry();
    const QPixmap shot =
        popups ? window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
               : window.screen()->grabWindow(window.winId());
    if (shot.isNull() || !shot.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A small weighted graph with all three kinds of links, written as a document.
QString WriteDemoDocument(const QString& folder) {
    clsLA la;
    clsGraph& graph = la.Graph();
    const int positions[][2] = {{60, 60}, {260, 40}, {460, 90}, {120, 250}, {360, 270}};
    for (const auto& p : positions)
        graph.AddNode(p[0], p[1]);
    const int links[][3] = {{1, 2, 0}, {2, 3, 1}, {1, 4, 2}, {4, 5, 0}, {2, 5, 1}, {5, 3, 0}};
    for (const auto& l : links)
        graph.AddLink(l[0], l[1], l[2]);
    const float weights[] = {4, 2.5f, 3, 7, 1, 6};
    for (int i = 1; i <= graph.LinkCount(); ++i)
        graph.Link(i).Weight = weights[i - 1];
    graph.Link(2).Flag = true;
    const QString path = folder + "/demo.plm";
    SaveGraph(la, Platform::ToFileName(path));
    return path;
}

int WindowShot(const QString& output, QString document) {
    QTemporaryDir scratch;
    if (document.isEmpty())
        document = WriteDemoDocument(scratch.path());
    frmMain window;
    window.show();
    window.OpenStartupDocument(document);
    return Grab(window, output) ? 0 : 1;
}

int PanelsShot(const QString& output, const QString& document) {
    // Placed as at a new user's first start: main() starts the settings empty.
    frmMain window;
    window.RestorePlacement();
    window.show();
    window.OpenStartupDocument(document);
    Settle();
    const clsGraph& graph = window.Document().Graph();
    if (graph.LinkCount() > 0) {
        const clsLink& link = graph.Link(1);
        const QPoint middle((link.FromNode->Position.x + link.ToNode->Position.x) / 2 + 20,
                            (link.FromNode->Position.y + link.ToNode->Position.y) / 2 + 20);
        QTest::mouseClick(window.Canvas(), Qt::LeftButton, {}, window.Panel().ToCanvas(middle));
    }
    return Grab(window, output) ? 0 : 1;
}

// The guide's user: real mouse events on the window, dialogs answered as they open.
class GuideUser {
  public:
    GuideUser(frmMain& window, QString folder) : window_(window), folder_(std::move(folder)) {}

    bool ok = true;

    void Button(const char* key) {
        QAction* action = window_.findChild<QAction*>(key);
        auto* bar = qobject_cast<QToolBar*>(action->parent());
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    }
    void Click(QPoint at) { QTest::mouseClick(window_.Canvas(), Qt::LeftButton, {}, at); }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(window_.Canvas(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(window_.Canvas(), from + (to - from) * i / 8);
        QTest::mouseRelease(window_.Canvas(), Qt::LeftButton, {}, to);
    }
    void DoubleClick(QPoint at) {
        QTest::mouseDClick(window_.windowHandle(), Qt::LeftButton, {},
                           window_.Canvas()->mapTo(&window_, at));
    }
    void Shot(QWidget& widget, const char* name) { ok = Grab(widget, folder_ + "/" + name) && ok; }

    // Fills the dialog that opens next, photographs it if asked, and presses OK.
    void AnswerDialog(std::function<void(QWidget*)> fill, const char* shotName = nullptr) {
        QTimer::singleShot(100, [=] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                ok = false;
                return;
            }
            fill(dialog);
            if (shotName)
                Shot(*dialog, shotName);
            dialog->findChild<QAbstractButton*>("cmdOK")->click();
        });
    }

    void SetWeight(QPoint onLink, const char* weight) {
        Click(onLink);
        AnswerDialog(
            [=](QWidget* dialog) { dialog->findChild<QLineEdit*>("txtWeight")->setText(weight); },
            weight[0] == '3' ? "guide-3-weight.png" : nullptr);
        DoubleClick(onLink);
    }

  private:
    frmMain& window_;
    QString folder_;
};

int Guide(const QString& folder) {
    QDir().mkpath(folder);
    frmMain window;
    window.show();
    Settle();
    GuideUser user(window, folder);

    // Three nodes: 0 on the left, 1 at the top, 2 on the right.
    user.Button("AddNode");
    for (QPoint at : {QPoint(100, 220), QPoint(290, 80), QPoint(480, 220)})
        user.Click(at);
    user.Shot(window, "guide-1-nodes.png");

    // Links 0 -> 1, 1 -> 2 and the direct 0 -> 2.
    user.Button("UnidirectionalLink");
    user.Drag({100, 220}, {290, 80});
    user.Drag({290, 80}, {480, 220});
    user.Drag({100, 220}, {480, 220});
    user.Shot(window, "guide-2-links.png");

    // Weights: the way over 1 costs 1 + 1, the direct link 3.
    user.Button("Pointer");
    user.SetWeight({195, 150}, "1");
    user.SetWeight({385, 150}, "1");
    user.SetWeight({200, 220}, "3");
    user.Click({300, 350}); // nothing selected, so the run's colours show plainly

    // A run from 0 to 2, one path at a time.
    user.AnswerDialog(
        [](QWidget* dialog) {
            dialog->findChild<QComboBox*>("cmbModel")->setCurrentIndex(0);
            dialog->findChild<QListWidget*>("lstType")->setCurrentRow(0);
            dialog->findChild<QLineEdit*>("txtReward")->setText("0.1");
            dialog->findChild<QLineEdit*>("txtLearningFactor")->setText("0");
            dialog->findChild<QRadioButton*>("optSearchMethod1")->setChecked(true);
            dialog->findChild<QComboBox*>("cmbSource")->setCurrentIndex(0);
            dialog->findChild<QComboBox*>("cmbDest")->setCurrentIndex(2);
            dialog->findChild<QCheckBox*>("chkEnableDelay")->setChecked(true);
        },
        "guide-4-options.png");
    user.Button("Start");
    int pauses = 0;
    while (window.IsWorking()) {
        Settle(50);
        if (!window.Run().Paused())
            continue;
        if (++pauses == 1)
            user.Shot(window, "guide-5-first-path.png");
        user.Button("Forward");
    }
    user.Shot(window, "guide-6-learned.png");
    window.Document().Clear(); // the guide's graph is not kept
    return user.ok && pauses == 2 ? 0 : 1;
}

int CurveShot(const QString& output, const QString& document, const QString& source,
              const QString& destination, int samples) {
    frmMain window;
    window.resize(1180, 640);
    window.show();
    window.OpenStartupDocument(document);
    RunSettings stepped = window.Document().Settings();
    stepped.EnableDelay = true;
    window.Document().Do(new SettingsCommand(window.Document(), stepped, std::nullopt));
    window.findChild<QAction*>("mnuLearningCurve")->trigger();
    // A stochastic run's preferred path in green; nothing for any other run.
    window.findChild<QAction*>("mnuPreferredPath")->setChecked(true);
    window.resizeDocks({&window.Curve()}, {620}, Qt::Horizontal);
    Settle();
    window.findChild<QAction*>("mnuFitGraph")->trigger();
    GuideUser user(window, QString());
    QTimer::singleShot(100, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto pick = [dialog](const char* name, const QString& label) {
            auto* nodes = dialog->findChild<QComboBox*>(name);
            nodes->setCurrentIndex(nodes->findText(label));
        };
        pick("cmbSource", source);
        pick("cmbDest", destination);
        dialog->findChild<QAbstractButton*>("cmdOK")->click();
    });
    window.findChild<QAction*>("mnuSamplePaths")->trigger();
    while (window.IsWorking() && window.Run().Shown().samples < samples) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (window.Run().Paused())
            window.Run().Forward();
    }
    const bool shot = Grab(window, output);
    window.Run().Stop();
    window.Document().Clear();
    return shot ? 0 : 1;
}

int CanvasShot(const QString& output, const QString& document, const QString& source,
               const QString& destination) {
    frmMain window;
    window.resize(1000, 700);
    window.show();
    window.OpenStartupDocument(document);
    window.findChild<QAction*>("mnuOverview")->trigger();
    Settle();
    const auto centre = [&](const QString& label) {
        const clsGraph& graph = window.Document().Graph();
        for (int32_t i = 1; i <= graph.NodeCount(); ++i)
            if (Platform::FromLatin1(graph.Node(i).Label()) == label)
                return window.Panel().ToCanvas(
                    QPoint(graph.Node(i).Position.x + 20, graph.Node(i).Position.y + 20));
        return QPoint(-1, -1);
    };
    const auto menu = [&](const QString& label) {
        QTest::mouseClick(window.Canvas(), Qt::RightButton, {}, centre(label));
        Settle(100);
    };
    for (const auto& [label, item] :
         {std::pair{destination, "mnuSetDest"}, {source, "mnuSetSource"}}) {
        menu(label);
        window.findChild<QAction*>(item)->trigger();
        window.findChild<QMenu*>("contextMenu")->close();
    }
    menu(source);
    const bool shot = Grab(window, output, true);
    window.findChild<QMenu*>("contextMenu")->close();
    window.Document().Clear();
    return shot ? 0 : 1;
}

int FigureShot(const QString& output, const QString& graphFile, const QString& source,
               const QString& destination) {
    clsLA la;
    GraphFormats::Import(Platform::ToFileName(graphFile), la.Graph());
    const auto node = [&](const QString& label) {
        for (int32_t i = 1; i <= la.Graph().NodeCount(); ++i)
            if (Platform::FromLatin1(la.Graph().Node(i).Label()) == label)
                return i;
        return -1;
    };
    RunSettings s;
    s.GraphSearchMethod = SearchMethod::Sample;
    s.ModelType = Scheme::LRI;
    s.Reward = 0.1f;
    s.sourceNode = node(source);
    s.DestNode = node(destination);
    s.Target = 0.95;
    RunSession run(la.Graph(), la.Ranges(), s);
    while (run.Step(1 << 20) == RunState::Running) {
    }
    QFile file(output);
    const QByteArray png = Canvas::GraphPicture(la.Graph(), Canvas::PictureFormat::Png);
    if (run.State() != RunState::Finished || !file.open(QIODevice::WriteOnly) ||
        file.write(png) != png.size())
        return 1;
    std::printf("%s\n", qPrintable(output));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window's remembered settings (recent files, what the View menu shows) start empty and
    // go with the program: every shot looks the same, and the user's own are never touched.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == "window")
        return WindowShot(args[2], args.value(3));
    if (args.size() == 3 && args[1] == "guide")
        return Guide(args[2]);
    if (args.size() == 6 && args[1] == "figure")
        return FigureShot(args[2], args[3], args[4], args[5]);
    if (args.size() == 6 && args[1] == "canvas")
        return CanvasShot(args[2], args[3], args[4], args[5]);
    if (args.size() == 4 && args[1] == "panels")
        return PanelsShot(args[2], args[3]);
    if (args.size() == 7 && args[1] == "curve")
        return CurveShot(args[2], args[3], args[4], args[5], args[6].toInt());
    std::fprintf(stderr,
                 "usage: %s window OUTPUT.png [DOCUMENT.plm]\n"
                 "       %s guide OUTPUT_FOLDER\n"
                 "       %s curve OUTPUT.png DOCUMENT.plm SOURCE DESTINATION SAMPLES\n"
                 "       %s figure OUTPUT.png GRAPH SOURCE DESTINATION\n"
                 "       %s canvas OUTPUT.png DOCUMENT.plm SOURCE DESTINATION\n"
                 "       %s panels OUTPUT.png DOCUMENT.plm\n",
                 qPrintable(args.value(0)), qPrintable(args.value(0)), qPrintable(args.value(0)),
                 qPrintable(args.value(0)), qPrintable(args.value(0)), qPrintable(args.value(0)));
    return 2;
}
