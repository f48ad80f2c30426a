#include "MiniJson.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

struct Parser {
    const std::string& t;
    std::size_t i = 0;

    [[noreturn]] void Fail(const std::string& why) const {
        throw std::runtime_error("JSON " + why + " at " + std::to_string(i));
    }
    void Skip() {
        while (i < t.size() && t[i] && std::strchr(" \n\r\t", t[i]))
            ++i;
    }
    char Next() {
        if (i >= t.size())
            Fail("unterminated string");
        return t[i++];
    }
    char Peek() {
        Skip();
        if (i >= t.size())
            Fail("unexpected end");
        return t[i];
    }
    void Expect(char c) {
        if (Peek() != c)
            Fail(std::string("expected ") + c);
        ++i;
    }
    std::string String() {
        Expect('"');
        std::string out;
        for (char c; (c = Next()) != '"';) {
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("control character in string");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            const char e = Next();
            const char* from = "\"\\/nrtbf";
            const char* to = "\"\\/\n\r\t\b\f";
            if (const char* at = std::strchr(from, e); e && at) {
                out.push_back(to[at - from]);
            } else if (e == 'u') {
                const unsigned code = std::stoul(t.substr(i, 4), nullptr, 16);
                i += 4;
                if (code >= 0x80)
                    Fail("only ASCII escapes are expected");
                out.push_back(static_cast<char>(code));
            } else {
                Fail("bad escape");
            }
        }
        return out;
    }
    // Items of an array or members of an object, up to the closing bracket.
    template <typename Item> void Items(char close, Item item) {
        ++i;
        if (Peek() == close) {
            ++i;
            return;
        }
        do
            item();
        while (Peek() == ',' && ++i);
        Expect(close);
    }
    JsonValue Value() {
        JsonValue v;
        const char c = Peek();
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            Items('}', [&] {
                const std::string key = String();
                Expect(':');
                if (!v.members.emplace(key, Value()).second)
                    Fail("duplicate key " + key);
            });
        } else if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            Items(']', [&] { v.items.push_back(Value()); });
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = String();
        } else if (t.compare(i, 4, "null") == 0) {
            i += 4;
        } else if (t.compare(i, 4, "true") == 0 || t.compare(i, 5, "false") == 0) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = t[i] == 't';
            i += v.boolean ? 4 : 5;
        } else {
            const std::size_t start = i;
            while (i < t.size() && t[i] && std::strchr("+-.0123456789eE", t[i]))
                ++i;
            if (start == i)
                Fail("unexpected character");
            v.kind = JsonValue::Kind::Number;
            v.text = t.substr(start, i - start);
            v.number = std::strtod(v.text.c_str(), nullptr);
        }
        return v;
    }
};

} // namespace

JsonValue ParseJson(const std::string& text) {
    Parser p{text};
    JsonValue v = p.Value();
    p.Skip();
    if (p.i != text.size())
        p.Fail("trailing text");
    return v;
}
