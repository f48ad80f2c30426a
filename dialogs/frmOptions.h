#pragma once
// The options dialog: the run settings of the engine (model, learning scheme and its numbers,
// search method with its nodes or path file, step delay), read from LA at every showing and
// written back to LA by OK.
//
// Use: set LA (and MarkModified), then call ShowDialog(owner); the engine's run starts only when
// it returns 1. The window is built at every showing and destroyed when the dialog closes.
// Cancel, Esc and the title-bar close box all return 0 and write nothing more; values that OK
// wrote before one of its checks failed stay written (Reward, Penalty, Learning Factor).
//
// The live window is the application's active modal widget while it is shown; its object name
// is "frmOptions" and its controls are named as in the description: cmbModel, lstType,
// txtReward, lblPenalty, txtPenalty, txtLearningFactor, cmdRanges, optSearchMethod0 to
// optSearchMethod2 (the option buttons with index 0, 1, 2), lblSource, cmbSource, lblDest,
// cmbDest, lblFilePath, txtFilePath, cmdBrowse, chkEnableDelay, cmdOK, cmdCancel (labels Label2
// to Label4, frames fraModel and fraGraphSearch).

#include "FileDialog.h"
#include "frmRanges.h"

#include <functional>

class QWidget;
class clsLA;

class frmOptions {
  public:
    frmOptions();

    // The engine whose settings are shown and edited; the caller sets it before ShowDialog.
    // Not owned.
    clsLA* LA = nullptr;

    // Called by OK (always, also when nothing changed), and passed on to the ranges dialog:
    // the main window sets its Modified flag.
    std::function<void()> MarkModified;

    // The dialog that the Ranges button opens on LA's ranges, owned by this dialog. What it
    // commits stays committed even when this dialog is then cancelled.
    frmRanges RangesDialog;

    // Shows the dialog modally, owned by owner; 1 after OK, 0 after Cancel, Esc or the close
    // box. Without LA nothing is shown and the result is 0.
    int ShowDialog(QWidget* owner);

  private:
    class Form;
    // The Browse button's open dialog; kept between showings, so it offers the last file again.
    Platform::FileDialog pathFileDialog_;
};
