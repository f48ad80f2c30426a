// Starts the Pathloom window on the current display and writes what it shows to PNG files: a
// document as it opens, for the README, and the steps of a first experiment done with the mouse.
//
//   pathloom-screenshot window OUTPUT.png [DOCUMENT.plm]
//
// Without a document it draws a small graph through the model and saves it to a temporary file
// first, so that the window opens a real document either way.

#include "DocumentFile.h"
#include "Latin1Text.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
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

bool Grab(QWidget& window, const QString& path) {
    Settle();
    const QPixmap shot = window.screen()->grabWindow(window.winId());
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == "window")
        return WindowShot(args[2], args.value(3));
    std::fprintf(stderr, "usage: %s window OUTPUT.png [DOCUMENT.plm]\n", qPrintable(args.value(0)));
    return 2;
}
