#pragma once
// The ranges dialog: shows the S-model answer table, lets the user add, delete and clear rows,
// and after OK gives the whole new table back; it changes nothing itself. Cancel, Esc and the
// title-bar close box drop every Add, Delete and Clear All of that showing.
//
// The live window is the application's active modal widget while it is shown; its object name
// is "frmRanges" and its controls are lvwRange, txtStart, txtEnd, txtAnswer, cmdAdd, cmdDelete,
// cmdClearAll, cmdOK, cmdCancel (labels Label2 to Label4, frame fraRanges).

#include "clsRanges.h"

#include <optional>

class QWidget;

class frmRanges {
  public:
    // Shows the dialog modally, centred on owner, on these ranges; the new table after OK.
    std::optional<clsRanges> ShowDialog(QWidget* owner, const clsRanges& ranges);

  private:
    class Form;
};
