#pragma once
// The tokenizer of path files: braces, commas and node labels, read from the whole file at once.

#include <cstdint>
#include <string>
#include <string_view>

namespace TokenKind {
constexpr int32_t OpenBrace = 0;
constexpr int32_t CloseBrace = 1;
constexpr int32_t Label = 2;
constexpr int32_t EndOfText = 4;
constexpr int32_t EmptyFile = 5;
constexpr int32_t Comma = 6;
constexpr int32_t None = -1; // not a token: an allowed type that nothing matches
} // namespace TokenKind

class clsPathFile {
  public:
    // Reads the whole file: UTF-8 when it is valid UTF-8 (a leading byte order mark dropped),
    // otherwise Latin-1. Raises "File not found: <name>" or "Could not read file: <name>".
    void Load(const std::string& fileName);

    // Takes text already in memory, decoded the same way as a file's bytes.
    void LoadText(const std::string& bytes);

    // The next token and its type (TokenKind). Characters outside Latin-1 stay in the token, so
    // that such a label can be shown but never matches a node.
    void ReadToken(std::u32string& tokenString, int32_t& tokenType);
    // The same as a view of the text, valid until the next Load.
    void ReadToken(std::u32string_view& token, int32_t& tokenType);

  private:
    void Widen(const std::string& bytes);
    int32_t TextLength() const { return static_cast<int32_t>(fileText_.size()); }

    std::u32string fileText_;
    int32_t readPosition_ = 0;
};
