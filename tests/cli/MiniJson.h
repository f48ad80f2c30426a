#pragma once
// Just enough of a JSON reader to check what pathloom-run prints.

#include <map>
#include <memory>
#include <string>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text; // the number's own text, or the string's UTF-8 value
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    // Throw std::out_of_range for a missing member or item, and on a value of the other kind.
    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
};

// Parses one whole JSON document; throws std::runtime_error on anything malformed or trailing.
JsonValue ParseJson(const std::string& text);
