#pragma once
// The dialog of a sampled run: source, destination, number of samples, seed and an optional
// target probability, with the document's learning settings named (they are changed in Options).
// After OK it gives the run's settings back, checked by the rules every run obeys; it changes
// nothing itself, and offers the last accepted values again next time, until Forget.
//
// The live window ("frmSamplePaths") has the controls cmbSource, cmbDest (node lists that filter
// and complete what is typed), txtSamples, txtSeed, txtTarget (empty: no target), the lists of an
// experiment's choices (named as SettingField names them), lblLearning, cmdOK and cmdCancel. The
// fields are the registry's settings that sampling reads; each is checked at OK, in their order,
// with a message that names what it takes.

#include "RunSettings.h"

#include <optional>

class QWidget;
class clsGraph;

class frmSamplePaths {
  public:
    // Shows the dialog modally over owner; the document's settings give the learning settings
    // and the first nodes offered, and with `documentNodes` the nodes offered every time.
    std::optional<RunSettings> ShowDialog(QWidget* owner, const RunSettings& document,
                                          const clsGraph& graph, bool documentNodes = false);
    // Another document: the next dialog offers its stored run, not nodes of the last one's graph.
    void Forget() { last_.reset(); }

  private:
    class Form;
    std::optional<RunSettings> last_;
};
