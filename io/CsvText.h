#pragma once
// CSV as the run history and sweeps write it: RFC 4180 fields and numbers in their shortest exact
// form.

#include <cstdint>
#include <string>

namespace CsvText {

// Appends the shortest text that reads back as the same value; nothing (an empty field) for
// not-a-number and infinities.
void AppendNumber(std::string& out, float value);
void AppendNumber(std::string& out, double value);
void AppendNumber(std::string& out, int64_t value);

// Appends a UTF-8 field, quoted when it holds a comma, a quote or a line break.
void AppendField(std::string& out, const std::string& utf8);

} // namespace CsvText
