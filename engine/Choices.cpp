#include "Choices.h"

#include "Latin1.h"

const Choices::Row* Choices::Of(int32_t number) const {
    for (const Row& row : *this) {
        if (row.number == number)
            return &row;
    }
    return nullptr;
}

std::optional<int32_t> Choices::Parse(const std::string& typed) const {
    for (const Row& row : *this) {
        if (Latin1::EqualNoCase(typed, row.typed))
            return row.number;
    }
    return std::nullopt;
}

std::string Choices::TypedNames(const char* separator) const {
    std::string names;
    for (const Row& row : *this)
        names += (names.empty() ? "" : separator) + std::string(row.typed);
    return names;
}
