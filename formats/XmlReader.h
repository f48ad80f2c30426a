#pragma once
// A small, strict XML pull reader for GraphML: elements, attributes and text, nothing more.

#include <string>
#include <utility>
#include <vector>

// Comments, processing instructions and a document type declaration are skipped; CDATA is text.
// Malformed XML (tags that do not match, an element never closed, anything after the root
// element, an unknown entity) raises PathloomError naming the file and the line.
class XmlReader {
  public:
    enum class Event { Start, End, Text, Done };

    // The text must outlive the reader.
    XmlReader(const std::string& text, std::string fileName);

    Event Next();

    // Of the last Start or End: the element's name without its namespace prefix.
    const std::string& Name() const { return name_; }
    // Of the last Start: the attribute's value, or null.
    const std::string* Attribute(const std::string& name) const;
    // Of the last Text: the characters with references replaced.
    const std::string& Text() const { return text_; }
    // Where the last event began.
    int Line() const { return eventLine_; }

    // After a Start: reads up to and including the matching End.
    void SkipElement();

    [[noreturn]] void Fail(const std::string& what) const;

  private:
    bool StartsWith(const char* literal) const;
    void Advance(std::size_t count);
    void SkipPast(const char* terminator, const char* what);
    void SkipSpace();
    std::string ReadName();
    void ReadStartTag();
    void ReadEndTag();
    // Copies the text up to stop, replacing references; `attribute` turns line breaks into spaces.
    void AppendDecoded(std::string& out, std::size_t stop, bool attribute);
    bool SkipMarkup(); // comment, processing instruction or document type; true if one was skipped

    const std::string& input_;
    std::string fileName_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int eventLine_ = 1;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::string text_;
    std::vector<std::pair<std::string, int>> open_; // qualified names and their lines
    bool rootSeen_ = false;
    bool pendingEnd_ = false; // an empty element's End, still to come
};
