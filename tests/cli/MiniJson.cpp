#include "MiniJson.h"

#include <cstdlib>
#include <stdexcept>

namespace {

class Parser {
public:
    explicit Parser(const std::string& t) : t_(t) {}

    JsonValue Document() {
        JsonValue v = Value();
        Skip();
        if (i_ != t_.size())
            Fail("trailing text");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& why) {
        throw std::runtime_error("JSON " + why + " at " + std::to_string(i_));
    }
    void Skip() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t'))
            ++i_;
    }
    void Expect(char c) {
        Skip();
        if (i_ >= t_.size() || t_[i_] != c)
            Fail(std::string("expected ") + c);
        ++i_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (t_.compare(i_, w.size(), w) != 0)
            return false;
        i_ += w.size();
        return true;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (true) {
            if (i_ >= t_.size())
                Fail("unterminated string");
            const char c = t_[i_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("control character in string");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            const char e = t_.at(i_++);
            switch (e) {
            case '"': out.push_back('"'); break;
            case '\\': out.push_back('\\'); break;
            case '/': out.push_back('/'); break;
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case 'u': {
                const unsigned code = std::stoul(t_.substr(i_, 4), nullptr, 16);
                i_ += 4;
                if (code >= 0x80)
                    Fail("only ASCII escapes are expected");
                out.push_back(static_cast<char>(code));
                break;
            }
            default:
                Fail("bad escape");
            }
        }
    }
    JsonValue Value() {
        Skip();
        JsonValue v;
        if (i_ >= t_.size())
            Fail("unexpected end");
        const char c = t_[i_];
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            ++i_;
            Skip();
            if (t_[i_] == '}') {
                ++i_;
                return v;
            }
            do {
                const std::string key = String();
                Expect(':');
                if (!v.members.emplace(key, Value()).second)
                    Fail("duplicate key " + key);
                Skip();
            } while (t_[i_] == ',' && ++i_);
            Expect('}');
        } else if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            ++i_;
            Skip();
            if (t_[i_] == ']') {
                ++i_;
                return v;
            }
            do {
                v.items.push_back(Value());
                Skip();
            } while (t_[i_] == ',' && ++i_);
            Expect(']');
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = String();
        } else if (Literal("null")) {
            v.kind = JsonValue::Kind::Null;
        } else if (Literal("true") || Literal("false")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = t_[i_ - 1] == 'e' && t_[i_ - 2] == 'u';
        } else {
            const std::size_t start = i_;
            while (i_ < t_.size() && std::string("+-.0123456789eE").find(t_[i_]) != std::string::npos)
                ++i_;
            if (start == i_)
                Fail("unexpected character");
            v.kind = JsonValue::Kind::Number;
            v.text = t_.substr(start, i_ - start);
            v.number = std::strtod(v.text.c_str(), nullptr);
        }
        return v;
    }

    const std::string& t_;
    std::size_t i_ = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    const auto it = members.find(key);
    if (kind != Kind::Object || it == members.end())
        throw std::runtime_error("no member " + key);
    return it->second;
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
    if (kind != Kind::Array || index >= items.size())
        throw std::runtime_error("no item " + std::to_string(index));
    return items[index];
}

JsonValue ParseJson(const std::string& text) { return Parser(text).Document(); }
