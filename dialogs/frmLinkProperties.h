#pragma once
// The link property dialog: shows a link's length, a number (its weight) or a distribution, and
// (unless the link is unidirectional, whose probability follows from its start node) its
// probability, and after OK gives them back; it changes nothing itself.
//
// The live window ("frmLinkProperties") has the controls TabStrip (one tab "General"),
// picPanel, Label1, txtWeight, Label2, txtProbability, cmdOK and cmdCancel.

#include <cstdint>
#include <memory>
#include <optional>

class LinkLength;
class QWidget;

class frmLinkProperties {
  public:
    struct Values {
        float weight;
        std::optional<float> probability;         // none for a unidirectional link
        std::shared_ptr<const LinkLength> length; // a distribution typed in place of a weight
    };

    // Shows the dialog modally, centred on owner; the values after OK, nothing after Cancel, Esc
    // or the close box. A stochastic link shows its distribution in place of its weight.
    std::optional<Values> ShowDialog(QWidget* owner, float weight, float probability, int32_t kind,
                                     const LinkLength* length = nullptr);

  private:
    class Form;
};
