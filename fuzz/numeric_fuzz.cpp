// Any text through the numeric rules of the dialogs: the check never fails, a text it passes
// always reads, the strict conversion agrees with both, and a float's text form reads back.

#include "NumericText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "numeric_fuzz: %s for \"%s\"\n", what, text.c_str());
    std::abort();
}

void CheckText(const std::string& text) {
    const bool valid = IsValidNumber(text);
    const double lenient = ReadNumber(text);
    if (std::isnan(lenient))
        Fail("the lenient reading gave NaN", text);
    if (IsValidSingle(text) && (!valid || !FitsSingle(lenient)))
        Fail("IsValidSingle passed what fails", text);

    const auto strict = ConvertSingleStrict(text);
    if (!strict)
        return;
    if (!valid)
        Fail("the strict conversion took a text the check refuses", text);
    if (!std::isfinite(*strict))
        Fail("the strict conversion gave no finite float", text);
    // The lenient reading rounds twice (to double, then to float); one step apart at most.
    const float twice = ToSingle(lenient);
    if (twice != *strict && std::nextafter(twice, *strict) != *strict)
        Fail("the strict and the lenient reading disagree", text);
}

void CheckSingleText(float value) {
    if (!std::isfinite(value))
        return;
    const std::string text = SingleText(value);
    if (!IsValidNumber(text))
        Fail("a float's text fails the check", text);
    const auto back = ConvertSingleStrict(text);
    if (!back)
        Fail("a float's text does not convert", text);
    if (SingleText(*back) != text)
        Fail("a float's text does not read back to the same digits", text);
}

// The dialogs write this form only for values that passed IsValidSingle; near the double range's
// end, fifteen digits can round past it.
void CheckDoubleText(double value) {
    if (!std::isfinite(value) || !FitsSingle(value))
        return;
    const std::string text = DoubleText(value);
    if (!IsValidNumber(text))
        Fail("a double's text fails the check", text);
    if (DoubleText(ReadNumber(text)) != text)
        Fail("a double's text does not read back to the same digits", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckText(text);
    if (size >= sizeof(float)) {
        float f;
        std::memcpy(&f, data, sizeof f);
        CheckSingleText(f);
    }
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        CheckDoubleText(d);
    }
    return 0;
}
