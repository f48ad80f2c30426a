#pragma once
// File > Export Run Animation...: how the run is turned into frames. The live window
// ("frmAnimation") has txtPathsPerFrame, txtMaxFrames, a note, cmdOK and cmdCancel; each number is
// checked at OK against its bounds, with a message that names them. Offers the last accepted
// values again.

#include <cstdint>
#include <optional>

class QWidget;

class frmAnimation {
  public:
    struct Values {
        int64_t pathsPerFrame;
        int64_t maxFrames;
    };
    // Each value between 1 (2 for the frames) and its bound in `most`; `given` is offered first.
    std::optional<Values> ShowDialog(QWidget* owner, const Values& given, const Values& most);

  private:
    std::optional<Values> last_;
};
