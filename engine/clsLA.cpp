#include "clsLA.h"

#include "CheckedMath.h"
#include "DocumentStream.h"
#include "Latin1.h"
#include "PathloomError.h"
#include "ReferenceWalks.h"
#include "RunHost.h"

#include <new>
#include <optional>

namespace {
const std::string LearnSource = "LA.LearnFromPath";

// A walk without step delay lets the host look at its window this often.
constexpr uint32_t StepsBetweenChecks = 4096;

float Store(double value) {
    return Checked::ToFloat(value, LearnSource);
}

// r - 1 for a sibling, formed on the 16-bit out-degree as the degree's own type would.
double OutDegreeLessOne(const clsLink& sibling) {
    return Checked::Decrement(sibling.FromNode->OutDegree, LearnSource);
}

std::string LabelPairKey(const std::string& from, const std::string& to) {
    return Latin1::Folded(from) + '\0' + Latin1::Folded(to);
}

// Restores the engine's host pointer however Start ends.
class HostScope {
  public:
    HostScope(RunHost*& slot, RunHost& host) : slot_(slot) { slot_ = &host; }
    ~HostScope() { slot_ = nullptr; }
    HostScope(const HostScope&) = delete;
    HostScope& operator=(const HostScope&) = delete;

  private:
    RunHost*& slot_;
};
} // namespace

void clsLA::Clear() {
    graph_.ClearGraph();
    Model = 0;
    ModelType = 0;
    Reward = 0.0f;
    Penalty = 0.0f;
    LearningFactor = 0.0f;
    ranges_.Clear();
    // The old nodes are gone; pointers to them would alias whatever is allocated next.
    sourceNode = nullptr;
    DestNode = nullptr;
}

void clsLA::Save(DocumentWriter& file) {
    file.WriteInt32(Model);
    file.WriteInt32(ModelType);
    file.WriteFloat(Reward);
    file.WriteFloat(Penalty);
    file.WriteFloat(LearningFactor);
    graph_.Save(file);
    ranges_.Save(file);
}

void clsLA::Load(DocumentReader& file) {
    Model = file.ReadInt32();
    ModelType = file.ReadInt32();
    Reward = file.ReadFloat();
    Penalty = file.ReadFloat();
    LearningFactor = file.ReadFloat();
    graph_.Load(file);
    ranges_.Load(file);
}

void clsLA::Start(RunHost& host) {
    HostScope scope(host_, host);
    bool busy = false;
    const auto report = [&](const std::string& text) {
        // The busy pointer goes first so that it does not hang over the modal message.
        if (busy)
            host.SetBusy(false);
        busy = false;
        host.DrawObjects();
        host.DoEvents();
        host.ShowMessage(text, MessageIcon::Critical);
    };
    try {
        Run(host, busy);
    } catch (const PathloomError& e) {
        report(e.Description());
    } catch (const std::bad_alloc&) {
        report("Out of memory");
    } catch (const std::exception& e) {
        report(e.what());
    }
    indexForRun_ = false;
    index_.Clear();
    linksByLabels_.clear();
    linksByLabelsReady_ = false;
}

void clsLA::Run(RunHost& host, bool& busy) {
    if (!host.ShowOptions(*this))
        return;

    currentPath_.Reset();
    graph_.ResetFlags();
    graph_.RestoreProbabilities();
    pathCount_ = 0;
    firstPath_ = true;
    stopRequested_ = false;
    steps_ = 0;
    index_.Build(graph_);
    indexForRun_ = true;
    linksByLabels_.clear();
    linksByLabelsReady_ = false;

    if (!EnableDelay) {
        host.SetBusy(true);
        busy = true;
    }

    switch (GraphSearchMethod) {
    case SearchMethod::IncludeAllNodes:
        SearchAllNodes(sourceNode);
        break;
    case SearchMethod::SourceToDestination:
        SearchToDestination(sourceNode);
        break;
    case SearchMethod::ReadFromFile:
        if (graph_.DuplicateExist()) {
            Raise("LA.Start", "There are Two nodes or more nodes with same label. Please change "
                              "them lables.");
        }
        F_Trace();
        break;
    default:
        break;
    }

    graph_.ResetFlags();
    currentPath_.Reset();
    if (busy)
        host.SetBusy(false);
    busy = false;

    if (pathCount_ == 0 && !stopRequested_) {
        host.DrawObjects();
        host.DoEvents();
        host.ShowMessage("Not found any path.", MessageIcon::Information);
    }
}

void clsLA::SearchAllNodes(clsNode* node) {
    if (UseReferenceWalks)
        ReferenceWalks::SearchAllNodes(*this, node);
    else
        Walk(node, false);
}

void clsLA::SearchToDestination(clsNode* node) {
    if (UseReferenceWalks)
        ReferenceWalks::SearchToDestination(*this, node);
    else
        Walk(node, true);
}

// Depth-first over the link positions with an explicit stack, so that a path as long as the
// graph has nodes cannot exhaust the call stack. Finds the paths, in the same order, that trying
// every link of the graph at every step finds.
void clsLA::Walk(clsNode* source, bool toDestination) {
    if (stopRequested_)
        return;
    const WalkIndex& index = Index();
    const int32_t nodeCount = index.NodeCount();
    const int32_t destination = index.IndexOf(DestNode);

    // A node is on the path when it ends a link of the path, so the start of an empty path is
    // not: counting the ends per node gives that without a scan of the path.
    std::vector<int32_t> endsOnPath(static_cast<std::size_t>(nodeCount), 0);
    int32_t nodesOnPath = 0;
    std::vector<char> flagged(static_cast<std::size_t>(index.LinkCount()));
    for (int32_t j = 0; j < index.LinkCount(); ++j)
        flagged[static_cast<std::size_t>(j)] = index.LinkAt(j)->Flag;

    const auto isComplete = [&](int32_t node) {
        return toDestination ? node == destination : nodesOnPath == nodeCount;
    };
    const auto addEnd = [&](int32_t node, int32_t delta) {
        if (node < 0)
            return;
        int32_t& ends = endsOnPath[static_cast<std::size_t>(node)];
        if (ends == 0)
            ++nodesOnPath;
        ends += delta;
        if (ends == 0)
            --nodesOnPath;
    };
    std::vector<int32_t> pathLinks;
    const auto stepBack = [&]() {
        const int32_t link = pathLinks.back();
        pathLinks.pop_back();
        currentPath_.Pop();
        flagged[static_cast<std::size_t>(link)] = 0;
        index.LinkAt(link)->Flag = false;
        addEnd(index.From(link), -1);
        addEnd(index.To(link), -1);
    };

    const int32_t start = index.IndexOf(source);
    // The start may lie outside the graph (no node chosen); then it is complete or a dead end.
    if (start < 0 ? (toDestination ? source == DestNode : nodeCount == 0) : isComplete(start)) {
        PathFound();
        return;
    }
    if (start < 0)
        return;

    struct Frame {
        const WalkIndex::Move* next;
        const WalkIndex::Move* end;
    };
    std::vector<Frame> frames;
    frames.push_back({index.MovesBegin(start), index.MovesEnd(start)});
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next == frame.end) {
            frames.pop_back();
            if (!frames.empty())
                stepBack();
            continue;
        }
        const WalkIndex::Move move = *frame.next++;
        if (++steps_ % StepsBetweenChecks == 0 && StepCheck())
            return;
        if (flagged[static_cast<std::size_t>(move.link)] ||
            endsOnPath[static_cast<std::size_t>(move.next)] > 0)
            continue;

        clsLink* link = index.LinkAt(move.link);
        flagged[static_cast<std::size_t>(move.link)] = 1;
        link->Flag = true;
        currentPath_.Push(link);
        pathLinks.push_back(move.link);
        addEnd(index.From(move.link), 1);
        addEnd(index.To(move.link), 1);

        if (isComplete(move.next)) {
            PathFound();
            if (stopRequested_)
                return;
            stepBack();
        } else {
            frames.push_back({index.MovesBegin(move.next), index.MovesEnd(move.next)});
        }
    }
}

bool clsLA::StepCheck() {
    if (EnableDelay || !host_)
        return false;
    if (host_->KeepResponsive(pathCount_))
        stopRequested_ = true;
    return stopRequested_;
}

void clsLA::PathFound() {
    // The 32768th path ends the run here, before it is learned from.
    if (pathCount_ == INT16_MAX)
        throw PathloomError(ErrorNumber::Overflow, "LA.Start",
                            "Overflow\r\nThe run stopped because a run counts at most 32,767 "
                            "paths.");
    ++pathCount_;
    try {
        LearnFromPath();
    } catch (...) {
        // Counted and shown all the same, so that the path that failed can be found.
        if (host_)
            host_->PathLearned(pathCount_, currentPath_);
        throw;
    }
    if (!host_)
        return;
    host_->PathLearned(pathCount_, currentPath_);
    if (EnableDelay) {
        if (host_->Wait() == 2)
            stopRequested_ = true;
    } else if (host_->KeepResponsive(pathCount_)) {
        stopRequested_ = true;
    }
}

const WalkIndex& clsLA::Index() {
    if (!indexForRun_)
        index_.Build(graph_);
    return index_;
}

// Each walked link in path order, then its siblings in link order, each update reading the
// values current at that moment: a link that is a sibling of two walked links is updated twice.
template <typename WalkedUpdate, typename SiblingUpdate>
void clsLA::UpdatePath(WalkedUpdate walked, SiblingUpdate sibling) {
    const int32_t count = currentPath_.Count();
    if (UseReferenceWalks) {
        for (int32_t k = 0; k < count; ++k) {
            clsLink* link = currentPath_.Link(k);
            link->Probability = walked(static_cast<double>(link->Probability));
            for (int32_t j = 1; j <= graph_.LinkCount(); ++j) {
                clsLink& other = graph_.Link(j);
                if (&other != link && other.FromNode == link->FromNode)
                    other.Probability = sibling(other);
            }
        }
        return;
    }
    const WalkIndex& index = Index();
    for (int32_t k = 0; k < count; ++k) {
        clsLink* link = currentPath_.Link(k);
        link->Probability = walked(static_cast<double>(link->Probability));
        const int32_t from = index.IndexOf(link->FromNode);
        if (from < 0)
            continue;
        for (const int32_t* j = index.FromLinksBegin(from); j != index.FromLinksEnd(from); ++j) {
            clsLink* other = index.LinkAt(*j);
            if (other != link)
                other->Probability = sibling(*other);
        }
    }
}

void clsLA::LearnFromPath() {
    const float cost = currentPath_.PathCost();
    const double a = Reward;
    const double b = Penalty;
    const double lambda = LearningFactor;

    if (Model == 0) {
        // P-model: favourable only when strictly cheaper than the best so far (float compare).
        if (firstPath_ || cost < referenceCost_) {
            referenceCost_ = cost;
            firstPath_ = false;
            UpdatePath([&](double p) { return Store(p + a * (1.0 - p)); },
                       [&](const clsLink& m) {
                           return Store((1.0 - a) * static_cast<double>(m.Probability));
                       });
        } else {
            UpdatePath([&](double p) { return Store((1.0 - b) * p); },
                       [&](const clsLink& m) {
                           const double q = m.Probability;
                           return Store(Checked::Divide(b, OutDegreeLessOne(m), LearnSource) +
                                        (1.0 - b) * q);
                       });
        }
        return;
    }
    if (Model != 1)
        return;

    // S-model: the answer for the cost difference to the previous path.
    if (firstPath_) {
        firstPath_ = false;
        referenceCost_ = 0.0f;
    }
    const float x = Checked::ToFloat(static_cast<double>(cost) - referenceCost_, LearnSource);
    const double beta = ranges_.GetAnswer(x);
    referenceCost_ = cost;

    switch (ModelType) {
    case 2: // LRI
        UpdatePath([&](double p) { return Store(p + a * (1.0 - beta) * (1.0 - p)); },
                   [&](const clsLink& m) {
                       const double q = m.Probability;
                       return Store(q - a * (1.0 - beta) * q);
                   });
        break;
    case 1:   // LR(E)P
    case 0: { // LRP: the penalty terms use the reward
        const double penalty = ModelType == 1 ? b : a;
        UpdatePath(
            [&](double p) {
                return Store(p + lambda * (1.0 - beta) * (1.0 - p) - penalty * beta * p);
            },
            [&](const clsLink& m) {
                const double q = m.Probability;
                const double share = Checked::Divide(1.0, OutDegreeLessOne(m), LearnSource);
                return Store(q - a * (1.0 - beta) * q + penalty * beta * (share - q));
            });
        break;
    }
    default:
        break;
    }
}

void clsLA::F_Trace() {
    const auto report = [this](const std::string& text) {
        host_->ShowMessage(text, MessageIcon::Critical);
    };
    try {
        pathReader_.Load(FilePath);
        int32_t allowedA = TokenKind::OpenBrace;
        int32_t allowedB = TokenKind::None;
        std::u32string token, previousLabel, currentLabel;
        bool firstLabel = false;
        while (true) {
            if (stopRequested_)
                return;
            int32_t type = TokenKind::None;
            pathReader_.ReadToken(token, type);
            if (type != allowedA && type != allowedB)
                Raise("F_Trace", "Syntax error:\r\n" + Utf8::Encode(token));
            switch (type) {
            case TokenKind::EndOfText:
            case TokenKind::EmptyFile:
                return;
            case TokenKind::OpenBrace:
                // Each path starts from nothing; what earlier paths learned stays.
                currentPath_.Reset();
                graph_.ResetFlags();
                firstLabel = true;
                allowedA = TokenKind::Label;
                allowedB = TokenKind::None;
                break;
            case TokenKind::Label:
                previousLabel = currentLabel;
                currentLabel = token;
                if (firstLabel)
                    firstLabel = false;
                else
                    MergeLink(previousLabel, currentLabel);
                allowedA = TokenKind::Comma;
                allowedB = TokenKind::CloseBrace;
                break;
            case TokenKind::Comma:
                allowedA = TokenKind::Label;
                allowedB = TokenKind::None;
                break;
            case TokenKind::CloseBrace:
                allowedA = TokenKind::OpenBrace;
                allowedB = TokenKind::EndOfText;
                PathFound();
                break;
            default:
                break;
            }
        }
    } catch (const PathloomError& e) {
        report(e.Description());
    } catch (const std::bad_alloc&) {
        report("Out of memory");
    } catch (const std::exception& e) {
        report(e.what());
    }
}

void clsLA::MergeLink(const std::u32string& fromLabel, const std::u32string& toLabel) {
    if (!linksByLabelsReady_) {
        // The first link in link order wins, as a scan from the first link finds it.
        linksByLabels_.clear();
        for (int32_t j = 1; j <= graph_.LinkCount(); ++j) {
            clsLink& link = graph_.Link(j);
            if (!link.FromNode || !link.ToNode)
                continue;
            const std::string from = link.FromNode->Label();
            const std::string to = link.ToNode->Label();
            linksByLabels_.emplace(LabelPairKey(from, to), &link);
            if (link.LinkType != LinkKind::Unidirectional)
                linksByLabels_.emplace(LabelPairKey(to, from), &link);
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
    found->second->Flag = true;
    currentPath_.Push(found->second);
}
