#pragma once
// The about box: the application's icon, title and version. It has no result and changes nothing.
//
// Use: call ShowDialog(owner). The live window ("frmAbout") has the controls picIcon, lblTitle,
// lblVersion, lblDescription, Label1 and cmdOK; OK, Enter, Esc and the close box close it.

#include <QString>

class QWidget;

class frmAbout {
  public:
    // Shows the box modally, owned by owner, until it is closed.
    void ShowDialog(QWidget* owner);

    // "Version 1.0.0": the project version of the build (CMake's project(... VERSION ...)).
    static QString VersionText();
};
