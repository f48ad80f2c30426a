#pragma once
// CSV as the run history and sweeps write it: RFC 4180 fields, numbers in their shortest exact
// form, and links named by their ends.

#include <cstdint>
#include <string>
#include <vector>

class clsGraph;

namespace CsvText {

// Appends the shortest text that reads back as the same value; nothing (an empty field) for
// not-a-number and infinities.
void AppendNumber(std::string& out, float value);
void AppendNumber(std::string& out, double value);
void AppendNumber(std::string& out, int64_t value);

// Appends a UTF-8 field, quoted when it holds a comma, a quote or a line break.
void AppendField(std::string& out, const std::string& utf8);

// Every link's column name in link order: "A->B" by its stored ends, and where two links share
// that name, " #N" with the link number after it.
std::vector<std::string> LinkColumns(const clsGraph& graph);

} // namespace CsvText
