#pragma once
// The run that reads its paths from a text file, {A,B,C} per path: the state machine F_Trace
// over the file's tokens and MergeLink, which turns two labels into the link that joins them.

#include "clsPathFile.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class clsGraph;
class clsLink;
class clsPathStack;

class PathFileRun {
  public:
    enum class Event { PathComplete, End, OutOfBudget };

    PathFileRun(clsGraph& graph, std::string filePath);

    // Reads tokens, one unit of the budget each, until a path is complete (it is then in path),
    // the text ends, or the budget is spent. Every "{" starts the path again from nothing. Raises
    // "Syntax error:", "The following link not found." and the file's own errors.
    Event F_Trace(clsPathStack& path, int64_t& budget);

  private:
    // Pushes the first link, in link order, joining the two labels (letter case ignored): a
    // simple or bidirectional link either way, a unidirectional one from its start only.
    void MergeLink(const std::u32string& fromLabel, const std::u32string& toLabel,
                   clsPathStack& path);

    clsGraph& graph_;
    std::string filePath_;
    clsPathFile pathReader_;
    bool loaded_ = false;
    int32_t allowedA_ = TokenKind::OpenBrace;
    int32_t allowedB_ = TokenKind::None;
    std::u32string token_, previousLabel_, currentLabel_;
    bool firstLabel_ = false;
    // Folded "from NUL to" labels to the first link joining them, built by the first MergeLink.
    std::unordered_map<std::string, clsLink*> linksByLabels_;
    bool linksByLabelsReady_ = false;
};
