#pragma once
// A shown main window driven by real events; a script answers its boxes and dialogs.

#include "DialogTestSupport.h"
#include "DocumentFile.h"
#include "EditCommands.h"
#include "Latin1Text.h"
#include "PlatformScript.h"
#include "RunController.h"
#include "frmMain.h"

#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <memory>

using Platform::Answer;

class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        window.reset(); // not closed: closing would ask about unsaved changes
        EXPECT_EQ(script.UnansweredQuestions(), 0) << "a question the test did not expect";
    }

    QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
    QScrollBar* Scroll(const char* name) const { return window->findChild<QScrollBar*>(name); }
    QString Label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    QString File(const char* name) const { return folder.filePath(name); }
    const clsGraph& graph() const { return window->Document().Graph(); }
    QWidget* canvas() const { return window->Canvas(); }
    QColor Pixel(int x, int y) const { return window->Canvas()->Image().pixelColor(x, y); }
    void Edit() { window->Document().Do(new AddNodeCommand(window->Document(), 10, 10)); }
    // The messages shown since the last look, each after its icon's initial (Critical,
    // Exclamation, Information) and a ? when it asks Yes, No or Cancel.
    std::string Said() {
        std::string said;
        for (; seen < script.Messages().size(); ++seen) {
            const auto& m = script.Messages()[seen];
            said += (said.empty() ? "" : " | ") + std::string(1, "CEI"[static_cast<int>(m.icon)]) +
                    (m.buttons == Platform::Buttons::YesNoCancel ? "? " : " ") +
                    m.text.toStdString();
        }
        return said;
    }
    // The window in one line: its caption as the desktop shows it (with its mark of unsaved
    // changes), the numbers of nodes and links, the selected node (@ its place) and link, the
    // tool, and the undo item.
    std::string State() const {
        const auto n = [](int value) { return " " + std::to_string(value); };
        const int node = window->GetSelectedNode();
        const clsPosition at = node > 0 ? graph().Node(node).Position : clsPosition();
        return window->windowHandle()->title().toStdString() + n(graph().NodeCount()) +
               n(graph().LinkCount()) + n(node) +
               (node > 0 ? "@" + std::to_string(at.x) + "," + std::to_string(at.y) : "") +
               n(window->GetSelectedLink()) + n(window->GetCurrentTool()) + " " +
               Action("mnuUndo")->text().toStdString();
    }

    // Nodes at the given places, then links {from, to, kind, weight}.
    void WriteDocument(const char* name, const std::vector<QPoint>& nodes,
                       const std::vector<std::array<int, 4>>& links = {}) const {
        clsLA la;
        for (QPoint p : nodes)
            la.Graph().AddNode(p.x(), p.y());
        for (const auto& [from, to, kind, weight] : links) {
            la.Graph().AddLink(from, to, kind);
            la.Graph().Link(la.Graph().LinkCount()).Weight = static_cast<float>(weight);
        }
        SaveGraph(la, Platform::ToFileName(File(name)));
    }

    // Plays a user's steps: "do ACTION" (a menu item or button), "key KEYS", on the canvas "click
    // X Y", "ctrl X Y" (with Ctrl), "right X Y", "double X Y", "drag X Y X2 Y2"; "work" until a
    // run pauses or ends.
    void Play(const std::string& steps) {
        std::istringstream all(steps);
        for (std::string step; std::getline(all, step, ',');) {
            std::istringstream in(step);
            std::string verb, name;
            QPoint at, to;
            in >> verb >> name;
            std::istringstream(name) >> at.rx();
            in >> at.ry() >> to.rx() >> to.ry();
            if (verb == "do") {
                Action(name.c_str())->trigger();
            } else if (verb == "work") {
                while (window->IsWorking() && !window->Run().Paused())
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            } else if (verb == "key") {
                window->activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
                const QKeyCombination key = QKeySequence(QString::fromStdString(name))[0];
                QTest::keyClick(window->windowHandle(), key.key(), key.keyboardModifiers());
            } else if (verb == "double") { // the second press arrives only as the double-click
                QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                                   canvas()->mapTo(window.get(), at));
            } else if (verb != "drag") {
                QTest::mouseClick(canvas(), verb == "right" ? Qt::RightButton : Qt::LeftButton,
                                  verb == "ctrl" ? Qt::ControlModifier : Qt::NoModifier, at);
            } else {
                QTest::mousePress(canvas(), Qt::LeftButton, {}, at);
                for (int i = 1; i <= 4; ++i)
                    QTest::mouseMove(canvas(), at + (to - at) * i / 4);
                QTest::mouseRelease(canvas(), Qt::LeftButton, {}, to);
            }
        }
    }

    // Answers the next modal dialog: notes its name, fills its fields, presses the button.
    void AnswerDialog(const char* button, const std::string& fields = "") {
        DialogTest::WhenShown([=](QDialog* dialog) {
            answered = dialog->objectName();
            DialogTest::Fill(dialog, fields);
            DialogTest::Click(dialog, button);
        });
    }
    // Start, reward 0.1 from the source to the destination (list positions), and work.
    void StartRun(int source, int dest, bool stepDelay) {
        AnswerDialog("cmdOK", "txtReward=0.1|optSearchMethod1=x|cmbSource=" +
                                  std::to_string(source) + "|cmbDest=" + std::to_string(dest) +
                                  "|chkEnableDelay=" + (stepDelay ? "x" : "-"));
        Play("do Start, work");
    }
    // Each test starts with no recent files.
    struct NoSettings {
        NoSettings() { QSettings().clear(); }
    } noSettings;
    Platform::PlatformScript script;
    std::size_t seen = 0; // messages Said has shown
    QString answered;     // the dialog AnswerDialog answered
    QTemporaryDir folder;
    std::unique_ptr<frmMain> window = std::make_unique<frmMain>();
};
