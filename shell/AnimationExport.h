#pragma once
// File > Export Run Animation...: asks how to make the frames and where to write them, then runs
// the run set up last on a thread of its own, on a copy of the document, and writes its animation
// while the window waits with the progress and Cancel.

#include "FileDialog.h"
#include "frmAnimation.h"

class GraphDocument;
class QWidget;
struct RunSettings;

class AnimationExport {
  public:
    explicit AnimationExport(QWidget* owner);

    // The document's graph and ranges with these run settings; failures are shown.
    void Export(const GraphDocument& document, const RunSettings& settings);

  private:
    QWidget* owner_;
    frmAnimation dialog_;
    Platform::FileDialog fileDialog_;
};
