#pragma once
// The rules of a run as one table, checked through RunSettings::Validate and the options dialog
// alike (pathloom-run asks Validate itself): the same settings give the same message wherever a
// run is started. The graph has three nodes labelled "A", "B", "A".

#include "RunSettings.h"

#include <limits>

struct ValidationCase {
    const char* name;
    int32_t scheme;
    float reward, penalty, factor; // not finite: a text that is no number
    int32_t method, source, dest;  // nodes one-based, 0 for none picked
    const char* message;           // "" when a run may start
    const char* about;             // the setting's typed name, where the dialog moves the focus
};

namespace ValidationTable {
constexpr float NoNumber = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t All = SearchMethod::IncludeAllNodes, Dest = SearchMethod::SourceToDestination,
                  File = SearchMethod::ReadFromFile;
inline const char* const BadReward = "Please enter Reward value correctly.";
inline const char* const BadFactor = "Please enter Learning Factor value correctly.";
inline const char* const PenaltyRule =
    "In LR(E)P type, Penalty value must be less than Reward value.";
inline const char* const NoSource = "Please select source node.";

inline const ValidationCase Cases[] = {
    {"accepted", Scheme::LRP, 0.1f, 0.1f, 0.5f, All, 1, 0, "", nullptr},
    {"no numbers are checked for range", Scheme::LRP, -3.0f, 0.0f, 7.0f, All, 1, 0, "", nullptr},
    {"reward no number", Scheme::LRP, NoNumber, 0.0f, 0.5f, All, 1, 0, BadReward, "reward"},
    {"penalty no number", Scheme::LREP, 0.5f, NoNumber, 0.5f, All, 1, 0,
     "Please enter Penalty value correctly.", "penalty"},
    {"LR(E)P equal", Scheme::LREP, 0.5f, 0.5f, 0.5f, All, 1, 0, PenaltyRule, "reward"},
    {"LR(E)P above", Scheme::LREP, 0.5f, 0.75f, 0.5f, All, 1, 0, PenaltyRule, "reward"},
    {"LR(E)P below", Scheme::LREP, 0.5f, 0.25f, 0.5f, All, 1, 0, "", nullptr},
    {"LRI ignores the penalty", Scheme::LRI, 0.5f, 0.75f, 0.5f, All, 1, 0, "", nullptr},
    {"factor no number", Scheme::LRP, 0.1f, 0.1f, NoNumber, All, 1, 0, BadFactor, "factor"},
    {"reward before factor", Scheme::LRP, NoNumber, 0.0f, NoNumber, All, 1, 0, BadReward, "reward"},
    {"penalty rule before factor", Scheme::LREP, 0.5f, 0.75f, NoNumber, All, 1, 0, PenaltyRule,
     "reward"},
    {"factor before nodes", Scheme::LRP, 0.1f, 0.1f, NoNumber, All, 0, 0, BadFactor, "factor"},
    {"no source", Scheme::LRP, 0.1f, 0.1f, 0.5f, All, 0, 0, NoSource, "source"},
    {"no source to a destination", Scheme::LRP, 0.1f, 0.1f, 0.5f, Dest, 0, 2, NoSource, "source"},
    {"no destination", Scheme::LRP, 0.1f, 0.1f, 0.5f, Dest, 1, 0, "Please select destination node.",
     "dest"},
    {"equal nodes", Scheme::LRP, 0.1f, 0.1f, 0.5f, Dest, 2, 2,
     "Source node and destination node are equal. Please select different node.", nullptr},
    {"equal labels, other nodes", Scheme::LRP, 0.1f, 0.1f, 0.5f, Dest, 1, 3, "", nullptr},
    {"all nodes need no destination", Scheme::LRP, 0.1f, 0.1f, 0.5f, All, 2, 0, "", nullptr},
    {"a path file needs no nodes", Scheme::LRP, 0.1f, 0.1f, 0.5f, File, 0, 0, "", nullptr},
};
} // namespace ValidationTable
