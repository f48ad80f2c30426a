#include "DotTokens.h"

#include "GraphDescription.h"

#include <algorithm>
#include <unordered_set>

namespace {
bool IsAtomCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}
} // namespace

DotTokens::DotTokens(const std::string& text, const std::string& fileName) : text_(text) {
    Tokenize(fileName);
    CheckAttributeNames(fileName);
}

// As Graphviz's scanner reads them: '#' and "//" comment out the rest of a line, a backslash
// in a quoted string takes the next character with it.
void DotTokens::Tokenize(const std::string& fileName) {
    const std::string& s = text_;
    int line = 1;
    const auto countLines = [&](std::size_t from, std::size_t to) {
        line += static_cast<int>(std::count(s.begin() + static_cast<std::ptrdiff_t>(from),
                                            s.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
    };
    // Left open, the scanner would take the next file read in the process for its rest.
    const auto unclosed = [&](int from, const char* what) {
        Refuse(fileName, from, std::string(what) + " is not closed");
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (c == '\n' || c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            line += c == '\n';
            ++i;
            continue;
        }
        if (c == '#' || (c == '/' && next == '/')) {
            i = std::min(s.find('\n', i), s.size());
            continue;
        }
        if (c == '/' && next == '*') {
            const std::size_t end = s.find("*/", i + 2);
            if (end == std::string::npos)
                unclosed(line, "a comment");
            countLines(i, end);
            i = end + 2;
            continue;
        }
        Token token{i, 0, line, 'a'};
        if (c == '"') {
            for (++i; i < s.size() && s[i] != '"'; ++i) {
                i += s[i] == '\\' && i + 1 < s.size();
                line += s[i] == '\n';
            }
            if (i == s.size())
                unclosed(token.line, "a quoted string");
            ++i;
        } else if (c == '<') {
            int depth = 0;
            for (; i < s.size() && (depth += (s[i] == '<') - (s[i] == '>')) > 0; ++i)
                line += s[i] == '\n';
            if (depth > 0)
                unclosed(token.line, "an HTML string");
            ++i;
        } else if (c == '-' && (next == '>' || next == '-')) {
            token.kind = 'e';
            i += 2;
        } else if (IsAtomCharacter(c) || (c == '-' && IsAtomCharacter(next))) {
            for (++i; i < s.size() && IsAtomCharacter(s[i]); ++i) {
            }
        } else {
            token.kind = c;
            ++i;
        }
        token.end = i;
        tokens_.push_back(token);
    }
}

// Graphviz gives every object of a kind room for every attribute name declared for that kind,
// growing each object by one name at a time: a name for each of 5,000 nodes took 94 s.
void DotTokens::CheckAttributeNames(const std::string& fileName) const {
    std::unordered_set<std::string> names;
    for (std::size_t i = 1; i < tokens_.size(); ++i) {
        if (tokens_[i].kind != '=' || tokens_[i - 1].kind != 'a')
            continue;
        names.insert(AtomText(tokens_[i - 1]));
        if (names.size() > MaxAttributeNames)
            Refuse(fileName, tokens_[i].line,
                   "more than " + std::to_string(MaxAttributeNames) +
                       " different attribute names, more than any graph needs");
    }
}

// The line of the statement that created an edge: the parser had read one token past it.
int DotTokens::EdgeLine(std::size_t offset) const {
    const std::ptrdiff_t last = LastRead(offset);
    if (last < 0)
        return 1;
    std::ptrdiff_t end = last - 1;
    // From the end of an attribute list back to the edge it belongs to.
    for (int depth = 0; end > 0 && (tokens_[end].kind == ']' || depth > 0); --end)
        depth += (tokens_[end].kind == ']') - (tokens_[end].kind == '[');
    return tokens_[std::max<std::ptrdiff_t>(end, 0)].line;
}

// The line of the node's name, which the parser read just before its look-ahead.
int DotTokens::NodeLine(std::size_t offset, const std::string& name) const {
    const std::ptrdiff_t last = LastRead(offset);
    for (std::ptrdiff_t i = last; i >= 0 && i >= last - 4; --i) {
        if (tokens_[i].kind == 'a' && AtomText(tokens_[i]) == name)
            return tokens_[i].line;
    }
    return last >= 0 ? tokens_[last].line : 1;
}

int DotTokens::LineAt(std::size_t offset) const {
    const std::ptrdiff_t last = LastRead(offset);
    return last >= 0 ? tokens_[last].line : 1;
}

// The token that holds the offset (the scanner points into a quoted string's end).
std::ptrdiff_t DotTokens::LastRead(std::size_t offset) const {
    const auto after =
        std::upper_bound(tokens_.begin(), tokens_.end(), offset,
                         [](std::size_t value, const Token& token) { return value < token.begin; });
    return (after - tokens_.begin()) - 1;
}

std::string DotTokens::AtomText(const Token& token) const {
    std::string text = text_.substr(token.begin, token.end - token.begin);
    if (text.size() < 2 || text[0] != '"')
        return text;
    // \" is a quote, a backslash and a line break are a continued line; any other pair stays.
    std::string unquoted;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size()) {
            const char next = text[++i];
            if (next != '"' && next != '\n')
                unquoted += '\\';
            if (next != '\n')
                unquoted += next;
            continue;
        }
        unquoted += text[i];
    }
    return unquoted;
}
