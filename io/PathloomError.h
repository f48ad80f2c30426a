#pragma once
// The one error type of Pathloom: raised by an operation, caught by the handler of what the user
// started.

#include <cstdint>
#include <exception>
#include <string>

// Error numbers that callers and stored behaviour rely on.
namespace ErrorNumber {
constexpr int Program = 1; // the program's own errors
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int FileNotFound = 53;
constexpr int InputPastEndOfFile = 62; // a document shorter than its counts say
constexpr int ObjectNotSet = 91;       // a link end that resolved to no node
} // namespace ErrorNumber

class PathloomError : public std::exception {
  public:
    PathloomError(int number, std::string source, std::string description);

    int Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

  private:
    int number_;
    std::string source_;
    std::string description_;
};

// Shorthand for the program's own errors (number 1).
[[noreturn]] void Raise(const std::string& source, const std::string& description);

// Raises "Subscript out of range" unless first <= index <= last: the one index check of the
// model's collections.
void CheckIndex(int64_t index, int64_t first, int64_t last, const char* source);
