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

    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](std::size_t index) const;
};

// Parses one whole JSON document; throws std::runtime_error on anything malformed or trailing.
JsonValue ParseJson(const std::string& text);
