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

    // The message texts shown so far.
    QStringList Messages() const;

    Platform::PlatformScript script;
    QTemporaryDir folder;
    std::unique_ptr<frmMain> window;
};
