#pragma once
// Edit > Layout...: which kind of layout places all nodes. The live window ("frmLayout") has the
// list cmbStyle, cmdOK and cmdCancel.

#include <QStringList>
#include <optional>

class QWidget;

class frmLayout {
  public:
    // The place of the chosen kind among `styles`, or nothing after Cancel; offers the kind
    // chosen last.
    std::optional<int> ShowDialog(QWidget* owner, const QStringList& styles);

  private:
    int last_ = 0;
};
