#pragma once
// What the property dialogs and the Properties panel share: their checks of what the user typed,
// with their messages (a node's label, a link's weight or distribution, its probability), and
// the texts they show.

#include "MessageBox.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

class LinkLength;

namespace PropertyChecks {

// Why a text is refused: the message and its icon.
struct Refusal {
    QString message;
    MessageIcon icon;
};

// A label in Latin-1 that the label rules allow.
std::variant<std::string, Refusal> Label(const QString& text);

// A link's length: a number, its weight, or a distribution, whose mean becomes the weight.
struct Length {
    float weight;
    std::shared_ptr<const LinkLength> distribution; // none for a number
};
std::variant<Length, Refusal> LengthOf(const QString& text);

std::variant<float, Refusal> Probability(const QString& text);

// "2, 3 (in, out)".
QString DegreeText(int16_t inDegree, int16_t outDegree);
// A link's weight, or its distribution where it has one, as the user would type it.
QString LengthText(float weight, const LinkLength* distribution);

} // namespace PropertyChecks
