#pragma once
// The ranges dialog: edits the S-model answer table in a working copy and replaces the table's
// whole contents by that copy on OK.
//
// Use: set RangesToEdit, then call ShowDialog(owner). The window is built at
// every showing from RangesToEdit and destroyed when the dialog closes. Cancel, Esc and the
// title-bar close box drop every Add, Delete and Clear All of that showing.
//
// The live window is the application's active modal widget while it is shown; its object name
// is "frmRanges" and its controls are named as in the description: lvwRange, txtStart, txtEnd,
// txtAnswer, cmdAdd, cmdDelete, cmdClearAll, cmdOK, cmdCancel (labels Label2 to Label4, frame
// fraRanges).

class QWidget;
class clsRanges;

class frmRanges {
  public:
    // The table to edit, not a copy; the caller sets it before ShowDialog. Not owned.
    clsRanges* RangesToEdit = nullptr;

    // Shows the dialog modally, centred on owner; 1 after OK, 0 after Cancel, Esc or the close
    // box. Without RangesToEdit nothing is shown and the result is 0.
    int ShowDialog(QWidget* owner);

  private:
    class Form;
};
