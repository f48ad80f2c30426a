#pragma once
// A shown main window with a script answering its message boxes and file dialogs, and the
// helpers the window tests share: real mouse and key events on the canvas and the toolbars.

#include "PlatformScript.h"
#include "RunController.h"
#include "frmMain.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QAction* Action(const char* name) const;
    QScrollBar* Scroll(const char* name) const { return window->findChild<QScrollBar*>(name); }
    QString Label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    QString Status() const { return Label("StatusPanel1"); }
    QString File(const QString& name) const { return folder.filePath(name); }
    const clsGraph& graph() const { return window->Engine().Graph(); }
    QColor Pixel(int x, int y) const { return window->Canvas()->Image().pixelColor(x, y); }

    // Writes a document: nodes at the given positions, then links (from, to, kind, weight).
    struct LinkSpec {
        int from, to, kind;
        float weight;
    };
    void WriteDocument(const QString& path, const std::vector<QPoint>& nodes,
                       const std::vector<LinkSpec>& links = {}) const;

    void Tool(const char* key) { Action(key)->trigger(); }
    void PressButton(const char* key); // a click on the toolbar button
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Press, moves through the points on the way, release at the end.
    void Drag(QPoint from, QPoint to, int steps = 4);
    // Through the window system, so the second press arrives only as the double-click.
    void DoubleClick(QPoint at);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    // Answers the modal dialog that opens next: records its object name, lets `fill` set its
    // fields, and presses the named button. A dialog that stays open after it is a failure.
    void AnswerDialog(QString* name, const char* button,
                      std::function<void(QWidget*)> fill = nullptr);

    // The run the options dialog is given: P-model, LRP with reward 0.1.
    struct RunChoice {
        int method = 1; // 0 all nodes, 1 source to destination
        int source = 0; // by position in the node lists
        int dest = -1;
        bool stepDelay = true;
    };
    // Starts a run as the user would: the Start button, the options dialog answered.
    void StartRun(const RunChoice& choice);
    // Lets the window work, as its event loop would, until its run pauses or ends.
    void WorkUntilPauseOrEnd();

    Platform::PlatformScript script;
    QTemporaryDir folder;
    std::unique_ptr<frmMain> window;
};
