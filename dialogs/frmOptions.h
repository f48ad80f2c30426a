#pragma once
// The options dialog: the settings of a run (model, learning scheme and its numbers, search
// method with its nodes or path file, step delay) shown from a RunSettings value and, after OK,
// given back as one; it changes nothing itself.
//
// OK applies the rules every run obeys (RunSettings::Validate) and refuses with their messages;
// Cancel, Esc and the title-bar close box give no settings back. Ranges committed through the
// Ranges button are given back whatever the dialog ends with.
//
// The live window is the application's active modal widget while it is shown; its object name
// is "frmOptions" and its controls are: cmbModel, lstType, txtReward, lblPenalty, txtPenalty,
// txtLearningFactor, cmdRanges, optSearchMethod0 to optSearchMethod2, lblSource, cmbSource,
// lblDest, cmbDest, lblFilePath, txtFilePath, cmdBrowse, chkEnableDelay, cmdOK, cmdCancel
// (labels Label2 to Label4, frames fraModel and fraGraphSearch). Below the learning factor, the
// registry's settings that no search method reads have fields of their own (SettingField), each
// enabled while the model and scheme chosen read it.

#include "FileDialog.h"
#include "RunSettings.h"
#include "clsRanges.h"
#include "frmRanges.h"

#include <optional>

class QWidget;
class clsGraph;

class frmOptions {
  public:
    struct Result {
        std::optional<RunSettings> settings; // after OK, with the penalty its scheme implies
        std::optional<clsRanges> ranges;     // what the ranges dialog committed, if anything
    };

    frmOptions();

    // The dialog the Ranges button opens, owned by this dialog.
    frmRanges RangesDialog;

    // Shows the dialog modally, owned by owner, on these settings; the node lists offer the
    // graph's nodes, with none chosen unless `offerNodes` (then the settings' nodes), and the
    // Ranges button starts from these ranges.
    Result ShowDialog(QWidget* owner, const RunSettings& settings, const clsGraph& graph,
                      const clsRanges& ranges, bool offerNodes = false);

  private:
    class Form;
    // The Browse button's open dialog; kept between showings, so it offers the last file again.
    Platform::FileDialog pathFileDialog_;
};
