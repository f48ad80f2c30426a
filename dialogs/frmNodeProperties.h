#pragma once
// The node property dialog: edits a node's label in place and shows its degrees.
//
// Use: set NodeToEdit, call ShowDialog(owner); when it returns 1 the caller marks the document
// modified and redraws (the dialog itself does neither). The window is built at every showing
// and destroyed when the dialog closes; Cancel, Esc and the close box store nothing.
//
// The live window ("frmNodeProperties") has the controls TabStrip (one tab "General"), picPanel,
// Label1, txtLabel, Label2, lblDegree, cmdOK and cmdCancel.

class QWidget;
class clsNode;

class frmNodeProperties {
  public:
    // The node itself, not a copy; set by the caller before ShowDialog. Not owned.
    clsNode* NodeToEdit = nullptr;

    // Shows the dialog modally, centred on owner; 1 after OK, 0 after Cancel, Esc or the close
    // box. A label that the node refuses, or one with a character outside Latin-1, keeps the
    // dialog open with a message. Without NodeToEdit nothing is shown and the result is 0.
    int ShowDialog(QWidget* owner);

  private:
    class Form;
};
