#pragma once
// The node property dialog: shows a node's label and degrees and after OK gives the new label
// back, in Latin-1 and allowed by the label rules; it changes nothing itself. A label the rules
// refuse, or one with a character outside Latin-1, keeps the dialog open with a message.
//
// The live window ("frmNodeProperties") has the controls TabStrip (one tab "General"), picPanel,
// Label1, txtLabel, Label2, lblDegree, cmdOK and cmdCancel.

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

class frmNodeProperties {
  public:
    // Shows the dialog modally, centred on owner; the label after OK, nothing after Cancel, Esc
    // or the close box.
    std::optional<std::string> ShowDialog(QWidget* owner, const std::string& label,
                                          int16_t inDegree, int16_t outDegree);

  private:
    class Form;
};
