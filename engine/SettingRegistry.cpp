#include "SettingRegistry.h"

#include "Latin1.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "TextTools.h"

#include <limits>
#include <type_traits>

namespace {

using Type = Setting::Type;
using Storage = Setting::Storage;
using Sweep = Setting::Sweep;

// The choices a run's parts do not name: the environment and the rule read them.
constexpr Choices::Row ThresholdRows[] = {
    {Threshold::Best, "Best so far", "best", "", ""},
    {Threshold::Mean, "Mean so far", "mean", "", ""},
};
// The candidates of a node are those of a sample leaving it.
constexpr Choices::Row ActionSetRows[] = {
    {ActionSet::All, "All links", "all", "", ""},
    {ActionSet::Variable, "Variable", "variable", "", "method=sample"},
};
const Choices Thresholds = Choices::Over<ThresholdRows>();
const Choices ActionSets = Choices::Over<ActionSetRows>();

} // namespace

// In the order usage texts list them. Made when first asked for, so that a reader elsewhere
// never sees it before it is made.
const std::vector<Setting>& SettingRegistry::All() {
    static const std::vector<Setting> settings = {
        {"method",
         nullptr,
         "how paths are found: all enumerates every path from the source through every node, dest "
         "every path from the source to the destination, file takes the paths of the path file, "
         "sample lets the automata choose paths to the destination by their probabilities",
         "",
         Type::Choice,
         &RunSettings::GraphSearchMethod,
         {Storage::RunRecord, 2},
         Sweep::No,
         &Choices::SearchMethods},
        {"source",
         "&Source:",
         "the node where every path starts",
         "NODE",
         Type::Node,
         &RunSettings::sourceNode,
         {Storage::RunRecord, 0},
         Sweep::No},
        {"dest",
         "&Destination:",
         "the node where every path ends",
         "NODE",
         Type::Node,
         &RunSettings::DestNode,
         {Storage::RunRecord, 1},
         Sweep::No},
        {"paths",
         "File Pat&h:",
         "the file of paths of the file method, one {A,B,C} per path",
         "FILE",
         Type::File,
         &RunSettings::FilePath,
         {Storage::Memory},
         Sweep::No,
         nullptr,
         0,
         0,
         "Please select a path file (--paths FILE)."},
        {"samples",
         "S&amples:",
         "the most samples a sampled run takes",
         "N",
         Type::Whole,
         &RunSettings::Samples,
         {Storage::RunRecord, 5},
         Sweep::No,
         nullptr,
         1,
         2000000000,
         "The number of samples must be from 1 to 2000000000."},
        {"seed",
         "S&eed:",
         "the seed of the run's random numbers (its samples, and the lengths stochastic links "
         "draw in any run): the same run on every machine",
         "S",
         Type::Seed,
         &RunSettings::Seed,
         {Storage::RunRecord, 6},
         Sweep::Apart,
         nullptr,
         0,
         0,
         "Please enter the seed as a whole number from 0 to 18446744073709551615."},
        {"until",
         "&Target probability:",
         "ends a sampled run as soon as the cheapest path found has at least this probability (the "
         "product of its links'); on a stochastic graph or under the mean threshold, as soon as "
         "the preferred path has it: from the source, each node's most probable link to a node "
         "not yet on the path",
         "Q",
         Type::Probability,
         &RunSettings::Target,
         {Storage::RunRecord, 7},
         Sweep::No,
         nullptr,
         0,
         0,
         "The target probability must be above 0 and at most 1."},
        {"model",
         nullptr,
         "the environment: P rewards a path cheaper than the best so far (in a sampled run, no "
         "dearer) and penalises the others; S answers from the document's ranges for the "
         "difference of a path's cost to the previous one's",
         "",
         Type::Choice,
         &RunSettings::Model,
         {Storage::Layout},
         Sweep::Always,
         &Choices::Models},
        {"scheme",
         "&Type:",
         "the learning scheme: LRP sets the penalty to the reward, LRI to 0, LREP (LR(E)P) takes "
         "its own, below the reward; pursuit and discretized-pursuit (P-model only) move each "
         "rewarded step's probabilities towards the link with the best share of rewards so far",
         "",
         Type::Choice,
         &RunSettings::ModelType,
         {Storage::Layout, 0, Scheme::LRI},
         Sweep::Always,
         &Choices::Schemes,
         0,
         0,
         "The pursuit schemes go with the P-model."},
        {"reward",
         "&Reward:",
         "the reward rate",
         "X",
         Type::Real,
         &RunSettings::Reward,
         {Storage::Layout},
         Sweep::Always},
        {"penalty",
         "&Penalty:",
         "the penalty rate (LREP)",
         "X",
         Type::Real,
         &RunSettings::Penalty,
         {Storage::Layout},
         Sweep::Always},
        {"factor",
         "&Learning Factor:",
         "how fast the S-model's LRP and LREP reward a path's links",
         "X",
         Type::Real,
         &RunSettings::LearningFactor,
         {Storage::Layout},
         Sweep::Always},
        {"threshold",
         "Re&ward threshold:",
         "the P-model's threshold: the cheapest path so far, or the mean cost of the paths learned "
         "so far",
         "",
         Type::Choice,
         &RunSettings::Threshold,
         {Storage::RunRecord, 3},
         Sweep::Experiment,
         &Thresholds},
        {"action-set",
         "Actio&n set:",
         "the links each node's update touches: all of them, or (sampled runs) the candidates the "
         "sample had there, scaled to sum 1",
         "",
         Type::Choice,
         &RunSettings::ActionSet,
         {Storage::RunRecord, 4},
         Sweep::Experiment,
         &ActionSets,
         0,
         0,
         "The variable action set goes with sampled paths."},
        {"resolution",
         "Resol&ution:",
         "the number of steps of discretized-pursuit: a reward moves a probability by 1 / (links x "
         "N) of the sum of its node's",
         "N",
         Type::Whole,
         &RunSettings::Resolution,
         {Storage::OwnRecord},
         Sweep::WhenRead,
         nullptr,
         1,
         1000000000,
         "The resolution must be from 1 to 1000000000."},
    };
    return settings;
}

namespace {

[[noreturn]] void Refuse(const std::string& what, const std::string& option,
                         const std::string& text) {
    throw std::invalid_argument(what + " for " + option + ": " + TextTools::Quoted(text));
}

// The words of a list of a part's row ("source dest", "method=sample").
std::vector<std::string_view> Words(std::string_view list) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = std::min(list.find(' ', start), list.size());
        words.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::string Spelt(const char* typed, char dash) {
    std::string name = typed;
    for (char& c : name) {
        if (c == '-')
            c = dash;
    }
    return name;
}

} // namespace

std::string Setting::PythonName() const {
    return Spelt(typed, '_');
}

std::string Setting::ColumnName() const {
    return Spelt(typed, ' ');
}

Setting::Value Setting::Parse(const std::string& text, const std::string& given) const {
    const std::string option = given.empty() ? Option() : given;
    switch (type) {
    case Type::Choice:
        if (const auto number = choices->Parse(text))
            return *number;
        Refuse("unknown value", option, text);
    case Type::Real:
        return SettingRegistry::ReadNumber<float>(text, option);
    case Type::Whole:
        // Past the largest count the rules of a run refuse it with their own message.
        return static_cast<int64_t>(std::min<uint64_t>(SettingRegistry::ReadWhole(text, option),
                                                       std::numeric_limits<int64_t>::max()));
    case Type::Seed:
        return SettingRegistry::ReadWhole(text, option);
    case Type::Probability:
        return std::optional<double>(SettingRegistry::ReadNumber<double>(text, option));
    case Type::Node:
    case Type::File:
        break;
    }
    return text;
}

std::string Setting::Text(const Value& value) const {
    return std::visit(
        [this](const auto& held) -> std::string {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::string>) {
                return held;
            } else if constexpr (std::is_same_v<Held, std::optional<double>>) {
                return held ? NumberText::Shortest(*held) : "";
            } else if constexpr (std::is_same_v<Held, float>) {
                return NumberText::Shortest(held);
            } else if constexpr (std::is_same_v<Held, int32_t>) {
                if (type == Type::Node)
                    return "#" + std::to_string(held);
                const Choices::Row* row = choices->Of(held);
                return row ? row->typed : "?";
            } else {
                return std::to_string(held);
            }
        },
        value);
}

Setting::Value Setting::Get(const RunSettings& settings) const {
    return std::visit([&settings](auto held) -> Value { return settings.*held; }, member);
}

void Setting::Set(RunSettings& settings, const Value& value) const {
    std::visit(
        [&settings, &value](auto held) {
            using Held = std::decay_t<decltype(settings.*held)>;
            settings.*held = std::get<Held>(value);
        },
        member);
}

bool Setting::Within(const Value& value) const {
    if (type == Type::Probability) {
        const auto& probability = std::get<std::optional<double>>(value);
        return !probability || (*probability > 0.0 && *probability <= 1.0);
    }
    if (type != Type::Whole)
        return true;
    return std::visit(
        [this](const auto& held) {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_integral_v<Held>)
                return static_cast<int64_t>(held) >= least && static_cast<int64_t>(held) <= most;
            return false;
        },
        value);
}

bool Setting::ReadIn(const RunSettings& settings) const {
    bool read = true;
    for (const Setting& chooser : SettingRegistry::All()) {
        if (!chooser.choices)
            continue;
        bool readable = false;
        for (const Choices::Row& choice : *chooser.choices)
            readable = readable || ReadBy(choice);
        if (!readable)
            continue;
        const Choices::Row* chosen = chooser.ChoiceOf(chooser.Get(settings));
        if (!chosen || ReadBy(*chosen))
            return true;
        read = false;
    }
    return read;
}

bool Setting::OwnRecordHolds(const RunSettings& settings) const {
    if (storage.kind == Storage::OwnRecord)
        return !IsDefault(settings);
    const Choices::Row* chosen = ChoiceOf(Get(settings));
    return storage.kind == Storage::Layout && chosen && chosen->number > storage.lastKnown &&
           storage.lastKnown >= 0;
}

int32_t Setting::InLayout(const RunSettings& settings) const {
    const auto value = std::get<int32_t>(Get(settings));
    return OwnRecordHolds(settings) ? storage.lastKnown : value;
}

std::string Setting::GoesWith() const {
    for (const Setting& chooser : SettingRegistry::All()) {
        if (chooser.choices && ReadThrough(chooser))
            return Option() + " goes with " + chooser.Option() + " " + Readers(chooser);
    }
    return Option() + " goes with no run";
}

bool Setting::ReadBy(const Choices::Row& part) const {
    for (const std::string_view word : Words(part.reads)) {
        if (word == typed)
            return true;
    }
    return false;
}

bool Setting::ReadThrough(const Setting& chooser, bool only) const {
    bool through = false;
    for (const Setting& setting : SettingRegistry::All()) {
        if (!setting.choices)
            continue;
        for (const Choices::Row& choice : *setting.choices) {
            if (ReadBy(choice)) {
                if (&setting != &chooser && only)
                    return false;
                through = through || &setting == &chooser;
            }
        }
    }
    return through;
}

std::string Setting::Readers(const Setting& chooser) const {
    std::vector<std::string> names;
    for (const Choices::Row& choice : *chooser.choices) {
        if (ReadBy(choice))
            names.push_back(choice.typed);
    }
    return SettingRegistry::Listed(names);
}

namespace SettingRegistry {

const Setting* Find(std::string_view name) {
    for (const Setting& setting : All()) {
        if (Latin1::EqualNoCase(std::string(name), setting.typed) ||
            Latin1::EqualNoCase(std::string(name), setting.PythonName()))
            return &setting;
    }
    return nullptr;
}

template <typename Real> Real ReadNumber(const std::string& text, const std::string& option) {
    if (const auto value = NumberText::Read<Real>(text))
        return *value;
    Refuse("not a number", option, text);
}
template float ReadNumber<float>(const std::string&, const std::string&);
template double ReadNumber<double>(const std::string&, const std::string&);

uint64_t ReadWhole(const std::string& text, const std::string& option) {
    if (const auto value = NumberText::ReadWhole(text))
        return *value;
    Refuse("not a whole number", option, text);
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}

std::vector<std::pair<const Setting*, int32_t>> Needs(const Choices::Row* choice) {
    std::vector<std::pair<const Setting*, int32_t>> needs;
    for (const std::string_view word : Words(choice ? choice->needs : "")) {
        const std::size_t equals = word.find('=');
        const Setting* setting = Find(word.substr(0, equals));
        const auto number = setting && setting->choices && equals != std::string_view::npos
                                ? setting->choices->Parse(std::string(word.substr(equals + 1)))
                                : std::nullopt;
        if (!number)
            throw std::logic_error("a choice goes with no choice: " + std::string(word));
        needs.emplace_back(setting, *number);
    }
    return needs;
}

std::string CheckParts() {
    std::string wrong;
    for (const Setting& setting : All()) {
        if (!setting.choices)
            continue;
        for (const Choices::Row& row : *setting.choices) {
            for (const std::string_view word : Words(row.reads)) {
                if (!Find(word))
                    wrong += std::string(row.typed) + " reads " + std::string(word) + "\n";
            }
            try {
                Needs(&row);
            } catch (const std::logic_error& e) {
                wrong += std::string(row.typed) + ": " + e.what() + "\n";
            }
        }
    }
    return wrong;
}

} // namespace SettingRegistry
