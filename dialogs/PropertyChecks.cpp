#include "PropertyChecks.h"

#include "Latin1Text.h"
#include "LinkLength.h"
#include "NumericText.h"
#include "PathloomError.h"
#include "clsNode.h"

#include <QList>

namespace PropertyChecks {

namespace {

// The first character of the text that Latin-1 cannot hold, as the user typed it.
QString FirstOutsideLatin1(const QString& text) {
    for (char32_t c : text.toUcs4())
        if (c > 0xFF)
            return QString::fromUcs4(&c, 1);
    return {};
}

} // namespace

std::variant<std::string, Refusal> Label(const QString& text) {
    // The model stores Latin-1 bytes; any other character is refused before the node sees it.
    const std::optional<std::string> label = Platform::ToLatin1(text);
    if (!label)
        return Refusal{QString("A node name can hold only Western European (Latin-1) "
                               "characters; \"%1\" is not one of them.")
                           .arg(FirstOutsideLatin1(text)),
                       MessageIcon::Exclamation};
    try {
        clsNode::CheckLabel(*label);
    } catch (const PathloomError& error) {
        // The model's messages end their lines in CR LF; a Qt label wants LF alone.
        return Refusal{Platform::FromLatin1(error.Description()).replace("\r\n", "\n"),
                       MessageIcon::Critical};
    }
    return *label;
}

std::variant<Length, Refusal> LengthOf(const QString& text) {
    const std::string typed = text.toStdString();
    // A distribution's own message says what is wrong with it.
    if (LinkLength::LooksLikeDistribution(typed)) {
        try {
            auto length = std::make_shared<const LinkLength>(LinkLength::Parse(typed));
            return Length{static_cast<float>(length->Mean()), std::move(length)};
        } catch (const PathloomError& e) {
            return Refusal{QString::fromStdString(e.Description()), MessageIcon::Exclamation};
        }
    }
    // Stored as a 32-bit float: a number past that range counts as incorrect.
    if (!IsValidSingle(typed))
        return Refusal{"Please enter Weight value correctly.", MessageIcon::Exclamation};
    return Length{ToSingle(ReadNumber(typed)), nullptr};
}

std::variant<float, Refusal> Probability(const QString& text) {
    const std::string typed = text.toStdString();
    if (!IsValidSingle(typed))
        return Refusal{"Please enter Probability value correctly.", MessageIcon::Exclamation};
    return ToSingle(ReadNumber(typed));
}

QString DegreeText(int16_t inDegree, int16_t outDegree) {
    return QString("%1, %2 (in, out)").arg(inDegree).arg(outDegree);
}

QString LengthText(float weight, const LinkLength* distribution) {
    return QString::fromStdString(distribution ? distribution->Text() : SingleText(weight));
}

} // namespace PropertyChecks
