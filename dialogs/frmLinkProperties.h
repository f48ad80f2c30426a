#pragma once
// The link property dialog: edits a link's weight and (unless the link is unidirectional, whose
// probability follows from its start node) its probability, in place.
//
// Use: set LinkToEdit, call ShowDialog(owner); when it returns 1 the caller marks the document
// modified and redraws (the dialog itself does neither). The window is built at every showing
// and destroyed when the dialog closes; Cancel, Esc and the close box store nothing.
//
// The live window ("frmLinkProperties") has the controls TabStrip (one tab "General"),
// picPanel, Label1, txtWeight, Label2, txtProbability, cmdOK and cmdCancel.

class QWidget;
class clsLink;

class frmLinkProperties {
  public:
    // The link itself, not a copy; set by the caller before ShowDialog. Not owned.
    clsLink* LinkToEdit = nullptr;

    // Shows the dialog modally, centred on owner; 1 after OK, 0 after Cancel, Esc or the close
    // box. Without LinkToEdit nothing is shown and the result is 0.
    int ShowDialog(QWidget* owner);

  private:
    class Form;
};
