#include "PathloomError.h"

#include <utility>

PathloomError::PathloomError(int number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {}

void Raise(const std::string& source, const std::string& description) {
    throw PathloomError(ErrorNumber::Program, source, description);
}

void CheckIndex(int64_t index, int64_t first, int64_t last, const char* source) {
    if (index < first || index > last)
        throw PathloomError(ErrorNumber::SubscriptOutOfRange, source, "Subscript out of range");
}
