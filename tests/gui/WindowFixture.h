#pragma once
// A shown main window with a script answering its message boxes and file dialogs, and the
// helpers the window tests share.

#include "PlatformScript.h"
#include "frmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QAction* Action(const char* name) const;
    QWidget* Widget(const char* name) const;
    QScrollBar* Scroll(const char* name) const;
    QString Status() const;
    QString File(const QString& name) const { return folder.filePath(name); }

    // Writes a document: nodes at the given positions, then links (from, to, kind, weight).
    struct LinkSpec {
        int from, to, kind;
        float weight;
    };
    void WriteDocument(const QString& path, const std::vector<QPoint>& nodes,
                       const std::vector<LinkSpec>& links = {}) const;

    // Real mouse and key events on the canvas and the toolbars.
    void Tool(const char* key) { Action(key)->trigger(); }
    void PressButton(const char* key);
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Press, moves through the points on the way, release at the end.
    void Drag(QPoint from, QPoint to, int steps = 4);
    // Through the window system, so the second press arrives only as the double-click.
    void DoubleClick(QPoint at);
    void Escape();
    QColor Pixel(int x, int y) const { return window->Canvas()->Image().pixelColor(x, y); }

    // Answers the modal dialog that opens next: records its object name, lets `fill` set its
    // fields, and presses the named button. A dialog that stays open after it is a failure.
    void AnswerDialog(QString* name, const char* button,
                      std::function<void(QWidget*)> fill = nullptr);

    // The run settings the options dialog is given: P-model, LRP with reward 0.1.
    struct RunChoice {
        int method = 1; // 0 all nodes, 1 source to destination
        int source = 0; // by position in the node lists
        int dest = -1;
        bool stepDelay = true;
    };
    void AnswerOptions(const RunChoice& choice);
    // Lets the window work, as its event loop would, until its run pauses or ends.
    void WorkUntilPauseOrEnd();

    Platform::PlatformScript script;
    QTemporaryDir folder;
    std::unique_ptr<frmMain> window;
};
