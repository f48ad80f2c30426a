#include "PathFileRun.h"

#include "Latin1.h"
#include "PathloomError.h"
#include "clsGraph.h"

#include <optional>

namespace {
std::string LabelPairKey(const std::string& from, const std::string& to) {
    return Latin1::Folded(from) + '\0' + Latin1::Folded(to);
}
} // namespace

PathFileRun::PathFileRun(const clsGraph& graph, std::string filePath)
    : graph_(graph), filePath_(std::move(filePath)) {
    if (graph.DuplicateExist()) {
        // Kept as the program has always said it ("them lables").
        Raise("LA.Start",
              "There are Two nodes or more nodes with same label. Please change them lables.");
    }
}

PathSource::Event PathFileRun::Next(int64_t& budget) {
    if (!loaded_) {
        pathReader_.Load(filePath_);
        loaded_ = true;
    }
    while (budget > 0) {
        --budget;
        int32_t type = TokenKind::None;
        pathReader_.ReadToken(token_, type);
        if (type != allowedA_ && type != allowedB_)
            Raise("F_Trace", "Syntax error:\r\n" + Utf8::Encode(token_));
        switch (type) {
        case TokenKind::EndOfText:
        case TokenKind::EmptyFile:
            return Event::Exhausted;
        case TokenKind::OpenBrace:
            // Each path starts from nothing; what earlier paths learned stays.
            path_.clear();
            firstLabel_ = true;
            allowedA_ = TokenKind::Label;
            allowedB_ = TokenKind::None;
            break;
        case TokenKind::Label:
            previousLabel_ = currentLabel_;
            currentLabel_ = token_;
            if (firstLabel_)
                firstLabel_ = false;
            else
                MergeLink(previousLabel_, currentLabel_);
            allowedA_ = TokenKind::Comma;
            allowedB_ = TokenKind::CloseBrace;
            break;
        case TokenKind::Comma:
            allowedA_ = TokenKind::Label;
            allowedB_ = TokenKind::None;
            break;
        case TokenKind::CloseBrace:
            allowedA_ = TokenKind::OpenBrace;
            allowedB_ = TokenKind::EndOfText;
            return Event::PathFound;
        default:
            break;
        }
    }
    return Event::OutOfBudget;
}

void PathFileRun::MergeLink(const std::u32string& fromLabel, const std::u32string& toLabel) {
    if (!linksByLabelsReady_) {
        // The first link in link order wins, as a scan from the first link finds it.
        for (int32_t j = 1; j <= graph_.LinkCount(); ++j) {
            const clsLink& link = graph_.Link(j);
            const std::string from = link.FromNode->Label();
            const std::string to = link.ToNode->Label();
            linksByLabels_.emplace(LabelPairKey(from, to), j - 1);
            if (link.LinkType != LinkKind::Unidirectional)
                linksByLabels_.emplace(LabelPairKey(to, from), j - 1);
        }
        linksByLabelsReady_ = true;
    }

    const std::optional<std::string> from = Latin1::FromWide(fromLabel);
    const std::optional<std::string> to = Latin1::FromWide(toLabel);
    // A label with a NUL or a character outside Latin-1 can name no node.
    const bool nameable =
        from && to && from->find('\0') == std::string::npos && to->find('\0') == std::string::npos;
    const auto found =
        nameable ? linksByLabels_.find(LabelPairKey(*from, *to)) : linksByLabels_.end();
    if (found == linksByLabels_.end()) {
        Raise("MergeLink", "The following link not found.\r\n" + Utf8::Encode(fromLabel) + "->" +
                               Utf8::Encode(toLabel));
    }
    path_.push_back(found->second);
}
