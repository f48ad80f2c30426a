#include "XmlReader.h"

#include "GraphDescription.h"
#include "Latin1.h"
#include "TextTools.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace {
bool IsNameChar(char c, bool first) {
    const auto b = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || b >= 0x80)
        return true;
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
}

std::string LocalName(const std::string& qualified) {
    const std::size_t colon = qualified.find(':');
    return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

} // namespace

XmlReader::XmlReader(const std::string& text, std::string fileName)
    : input_(text), fileName_(std::move(fileName)) {
    if (StartsWith("\xEF\xBB\xBF"))
        pos_ = 3;
}

void XmlReader::Fail(const std::string& what) const {
    Refuse(fileName_, line_, what);
}

bool XmlReader::StartsWith(const char* literal) const {
    return input_.compare(pos_, std::strlen(literal), literal) == 0;
}

void XmlReader::Advance(std::size_t count) {
    const auto begin = input_.begin() + static_cast<std::ptrdiff_t>(pos_);
    line_ += static_cast<int>(std::count(begin, begin + static_cast<std::ptrdiff_t>(count), '\n'));
    pos_ += count;
}

void XmlReader::SkipPast(const char* terminator, const char* what) {
    const std::size_t end = input_.find(terminator, pos_);
    if (end == std::string::npos)
        Fail(std::string(what) + " is not closed");
    Advance(end - pos_ + std::strlen(terminator));
}

void XmlReader::SkipSpace() {
    while (pos_ < input_.size() && (input_[pos_] == ' ' || input_[pos_] == '\t' ||
                                    input_[pos_] == '\r' || input_[pos_] == '\n'))
        Advance(1);
}

std::string XmlReader::ReadName() {
    const std::size_t start = pos_;
    while (pos_ < input_.size() && IsNameChar(input_[pos_], pos_ == start))
        ++pos_;
    if (pos_ == start)
        Fail("a name was expected");
    return input_.substr(start, pos_ - start);
}

bool XmlReader::SkipMarkup() {
    if (StartsWith("<!--")) {
        SkipPast("-->", "a comment");
    } else if (StartsWith("<?")) {
        SkipPast("?>", "a processing instruction");
    } else if (StartsWith("<!DOCTYPE")) {
        if (rootSeen_)
            Fail("a document type after the root element");
        const std::size_t close = input_.find('>', pos_);
        const std::size_t subset = input_.find('[', pos_);
        if (subset < close) {
            Advance(subset - pos_);
            SkipPast("]", "a document type");
            SkipSpace();
        }
        SkipPast(">", "a document type");
    } else {
        return false;
    }
    return true;
}

void XmlReader::AppendDecoded(std::string& out, std::size_t stop, bool attribute) {
    while (pos_ < stop) {
        const auto end = input_.begin() + static_cast<std::ptrdiff_t>(stop);
        const auto ampersand =
            std::find(input_.begin() + static_cast<std::ptrdiff_t>(pos_), end, '&');
        const auto amp = static_cast<std::size_t>(ampersand - input_.begin());
        const std::size_t runStart = out.size();
        out.append(input_, pos_, amp - pos_);
        if (attribute) // literal line breaks and tabs in attribute values read as spaces
            std::replace_if(
                out.begin() + static_cast<std::ptrdiff_t>(runStart), out.end(),
                [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
        Advance(amp - pos_);
        if (pos_ >= stop)
            return;
        const std::size_t semicolon = input_.find(';', pos_);
        if (semicolon == std::string::npos || semicolon >= stop || semicolon - pos_ > 12)
            Fail("'&' that starts no reference");
        const std::string name = input_.substr(pos_ + 1, semicolon - pos_ - 1);
        static const char* const named[][2] = {
            {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
        bool known = false;
        for (const auto& entity : named) {
            if (name == entity[0]) {
                out += entity[1];
                known = true;
            }
        }
        if (!known && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string digits = name.substr(hex ? 2 : 1);
            char* end = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (digits.empty() || *end != '\0' ||
                !std::isalnum(static_cast<unsigned char>(digits[0])) || code == 0 ||
                code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                Fail("'&" + TextTools::Cut(name) + ";' is no character");
            out += Utf8::Encode(std::u32string(1, static_cast<char32_t>(code)));
            known = true;
        }
        if (!known)
            Fail("unknown entity '&" + name + ";'");
        Advance(semicolon + 1 - pos_);
    }
}

void XmlReader::ReadStartTag() {
    if (open_.empty() && rootSeen_)
        Fail("a second root element");
    Advance(1);
    const std::string qualified = ReadName();
    attributes_.clear();
    std::unordered_set<std::string_view> seen;
    for (;;) {
        const std::size_t before = pos_;
        SkipSpace();
        if (pos_ >= input_.size())
            Fail("the tag '<" + TextTools::Cut(qualified) + "' is not closed");
        if (input_[pos_] == '>' || StartsWith("/>")) {
            pendingEnd_ = input_[pos_] == '/';
            Advance(pendingEnd_ ? 2 : 1);
            break;
        }
        if (pos_ == before)
            Fail("a space was expected in the tag '<" + TextTools::Cut(qualified) + "'");
        const std::size_t nameStart = pos_;
        std::string name = ReadName();
        SkipSpace();
        if (pos_ >= input_.size() || input_[pos_] != '=')
            Fail("the attribute '" + TextTools::Cut(name) + "' has no value");
        Advance(1);
        SkipSpace();
        const char quote = pos_ < input_.size() ? input_[pos_] : '\0';
        if (quote != '"' && quote != '\'')
            Fail("the value of '" + TextTools::Cut(name) + "' is not quoted");
        Advance(1);
        const std::size_t end = input_.find(quote, pos_);
        if (end == std::string::npos ||
            std::string_view(input_).substr(pos_, end - pos_).find('<') != std::string_view::npos)
            Fail("the value of '" + TextTools::Cut(name) + "' is not closed");
        // Against the names before it in a set, so that a tag of any length is read in linear time.
        if (!seen.insert(std::string_view(input_).substr(nameStart, name.size())).second)
            Fail("the attribute '" + TextTools::Cut(name) + "' is given twice");
        std::string value;
        AppendDecoded(value, end, true);
        Advance(1);
        attributes_.emplace_back(std::move(name), std::move(value));
    }
    rootSeen_ = true;
    open_.emplace_back(qualified, eventLine_);
    name_ = LocalName(qualified);
}

void XmlReader::ReadEndTag() {
    Advance(2);
    const std::string qualified = ReadName();
    SkipSpace();
    if (pos_ >= input_.size() || input_[pos_] != '>')
        Fail("the end tag '</" + TextTools::Cut(qualified) + "' is not closed");
    Advance(1);
    if (open_.empty())
        Fail("the end tag '</" + TextTools::Cut(qualified) + ">' closes no element");
    if (open_.back().first != qualified)
        Fail("the end tag '</" + TextTools::Cut(qualified) + ">' does not close '<" +
             TextTools::Cut(open_.back().first) + ">' of line " +
             std::to_string(open_.back().second));
    open_.pop_back();
    name_ = LocalName(qualified);
}

const std::string* XmlReader::Attribute(const std::string& name) const {
    for (const auto& attribute : attributes_) {
        if (attribute.first == name)
            return &attribute.second;
    }
    return nullptr;
}

XmlReader::Event XmlReader::Next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return Event::End;
    }
    for (;;) {
        if (open_.empty()) {
            SkipSpace();
            if (pos_ >= input_.size()) {
                if (!rootSeen_)
                    Fail("there is no root element");
                return Event::Done;
            }
            if (input_[pos_] != '<' || StartsWith("<![CDATA["))
                Fail(rootSeen_ ? "text after the root element" : "text before the root element");
        }
        if (pos_ >= input_.size()) {
            const bool newlineLast = !input_.empty() && input_.back() == '\n';
            Refuse(fileName_, line_ - newlineLast,
                   "the element '<" + TextTools::Cut(open_.back().first) + ">' of line " +
                       std::to_string(open_.back().second) + " is not closed");
        }
        eventLine_ = line_;
        if (input_[pos_] == '<' && !StartsWith("<![CDATA[")) {
            if (SkipMarkup())
                continue;
            if (StartsWith("</")) {
                ReadEndTag();
                return Event::End;
            }
            ReadStartTag();
            return Event::Start;
        }
        text_.clear();
        while (pos_ < input_.size()) {
            if (StartsWith("<![CDATA[")) {
                Advance(9);
                const std::size_t end = input_.find("]]>", pos_);
                if (end == std::string::npos)
                    Fail("a CDATA section is not closed");
                text_.append(input_, pos_, end - pos_);
                Advance(end - pos_ + 3);
            } else if (input_[pos_] != '<') {
                AppendDecoded(text_, std::min(input_.find('<', pos_), input_.size()), false);
            } else if (!SkipMarkup()) {
                break;
            }
        }
        return Event::Text;
    }
}

void XmlReader::SkipElement() {
    const std::size_t depth = open_.size();
    while (Next() != Event::End || open_.size() >= depth) {
    }
}
