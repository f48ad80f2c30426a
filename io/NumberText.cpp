#include "NumberText.h"

#include <charconv>

namespace NumberText {

namespace {
// Room for any of them: a float in plain digits takes at most 48 characters (the smallest
// subnormal), the shortest forms at most 24.
constexpr std::size_t Room = 64;
} // namespace

std::string Shortest(float value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value).ptr);
}

std::string Shortest(double value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value).ptr);
}

std::string Plain(float value) {
    char text[Room];
    return std::string(text, std::to_chars(text, text + Room, value, std::chars_format::fixed).ptr);
}

} // namespace NumberText
