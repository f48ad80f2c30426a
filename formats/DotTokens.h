#pragma once
// The tokens of a DOT text, as far as the lines of its statements need them; and the refusal of
// what would leave Graphviz's scanner stuck or take it quadratic time.

#include <cstddef>
#include <string>
#include <vector>

class DotTokens {
  public:
    // Refuses, naming the file and the line, a comment, quoted string or HTML string that the
    // text never closes, and more attribute names than any graph needs.
    DotTokens(const std::string& text, const std::string& fileName);

    // Each takes the offset of the token the parser had read last (its look-ahead) when it
    // created the object.
    int EdgeLine(std::size_t offset) const;
    int NodeLine(std::size_t offset, const std::string& name) const;
    int LineAt(std::size_t offset) const;

    static constexpr std::size_t MaxAttributeNames = 1000;

  private:
    // Atoms (names, numbers, quoted and HTML strings), edge operators, single characters.
    struct Token {
        std::size_t begin, end;
        int line;
        char kind; // 'a' atom, 'e' edge operator, else the character
    };

    void Tokenize(const std::string& fileName);
    void CheckAttributeNames(const std::string& fileName) const;
    std::ptrdiff_t LastRead(std::size_t offset) const;
    std::string AtomText(const Token& token) const;

    const std::string& text_;
    std::vector<Token> tokens_;
};
