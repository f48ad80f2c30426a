#include "PathloomError.h"

#include <utility>

PathloomError::PathloomError(int number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {}

void Raise(const std::string& source, const std::string& description) {
    throw PathloomError(ErrorNumber::Program, source, description);
}
