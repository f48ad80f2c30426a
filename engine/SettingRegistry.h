#pragma once
// The settings of a run, each declared once: its names, help, type, bounds, where RunSettings
// holds it and where a document keeps it. pathloom-run's options and usage, sweeps, the Python
// module, the generated completion and manual page, and the window's run dialogs read this table.

#include "Choices.h"
#include "RunSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

struct Setting {
    enum class Type {
        Choice,      // one of its Choices, by typed name
        Real,        // a 32-bit float
        Whole,       // digits, up to the member's largest value
        Seed,        // digits, up to the largest 64-bit number
        Probability, // a number, or none
        Node,        // a node's label or "#N"
        File,        // a file's name
    };
    // Where a document keeps it: a field of the fixed layout, a place in the extension's run
    // record (whose bytes stay as they are), a record of its own in the extension (a setting added
    // since), or nowhere.
    struct Storage {
        enum Kind { Layout, RunRecord, OwnRecord, Memory } kind;
        int place = 0; // in the run record
        // A choice in the layout: the last one older readers know, which the layout holds in
        // place of a later one, kept then in a record of its own; none (-1) for other settings.
        int32_t lastKnown = -1;
    };
    // Whether sweeps take it, and when their rows have its column among the settings': always,
    // in a stochastic experiment, or where a part of the sweep's runs reads it; the seed has a
    // column of its own.
    enum class Sweep { No, Always, Experiment, WhenRead, Apart };

    // Where RunSettings holds it.
    using Member = std::variant<int32_t RunSettings::*, float RunSettings::*,
                                int64_t RunSettings::*, uint64_t RunSettings::*,
                                std::optional<double> RunSettings::*, std::string RunSettings::*>;
    // A value as RunSettings holds it; a node given by its label or "#N" is the text until a
    // graph resolves it.
    using Value =
        std::variant<int32_t, float, int64_t, uint64_t, std::optional<double>, std::string>;

    const char* typed; // the option without "--", words joined by "-"
    // The caption of its field with its access key, in the dialogs that ask for it beside their
    // own fields; none where no dialog builds one.
    const char* shown;
    const char* help; // one line
    const char* word; // what usage texts show for its value ("NODE"); choices show their names
    Type type;
    Member member;
    Storage storage;
    Sweep sweep;
    const Choices* choices = nullptr; // of a choice
    // A whole number's bounds, which RunSettings::Validate refuses with `refusal` (a probability's
    // are above 0 and at most 1); a file that a run needs and was not named is refused with it
    // too, and so is a text the window's field cannot read as a value.
    int64_t least = 0, most = 0;
    const char* refusal = nullptr;

    std::string Option() const { return std::string("--") + typed; }
    // The keyword of the Python module: the typed name with "_" for "-".
    std::string PythonName() const;
    // The column of sweep rows: the typed name with " " for "-".
    std::string ColumnName() const;

    // Reads a value as typed; raises std::invalid_argument with the message pathloom-run gives,
    // naming the option as `option` (Option() by default).
    Value Parse(const std::string& text, const std::string& option = {}) const;
    // The value as typed, so that Parse reads it back: a choice by its typed name ("?" for a
    // number that is no choice), a number in its shortest text, no probability as "".
    std::string Text(const Value& value) const;

    Value Get(const RunSettings& settings) const;
    // The row of a choice's value; none for another setting and a number that is no choice.
    const Choices::Row* ChoiceOf(const Value& value) const {
        return choices ? choices->Of(std::get<int32_t>(value)) : nullptr;
    }
    // A node must be resolved to its index first.
    void Set(RunSettings& settings, const Value& value) const;

    bool IsDefault(const RunSettings& settings) const { return Get(settings) == Get({}); }
    // Whether the value lies within the bounds; any other than a number's or a probability's does.
    bool Within(const Value& value) const;
    // Whether a part the settings choose reads it. One that no part reads (a choice of parts
    // itself) always is, and so is one where a choice is no part this version knows.
    bool ReadIn(const RunSettings& settings) const;
    // Whether a record of its own in the extension block holds its value: a setting added since
    // the fixed layout, at a value other than its default, or a choice the layout cannot hold.
    bool OwnRecordHolds(const RunSettings& settings) const;
    // Whether its value needs the document's extension block (which a document without one has
    // at its default): a stochastic experiment's choice, or a value of a record of its own.
    bool NeedsBlock(const RunSettings& settings) const {
        return (sweep == Sweep::Experiment && !IsDefault(settings)) || OwnRecordHolds(settings);
    }
    // What the fixed layout holds of a choice kept there.
    int32_t InLayout(const RunSettings& settings) const;

    // Whether the part a choice names reads this setting.
    bool ReadBy(const Choices::Row& part) const;
    // Whether a choice of `chooser` (the method, whose choices name the path sources) reads it;
    // with `only`, and no choice of another setting does.
    bool ReadThrough(const Setting& chooser, bool only = false) const;
    // The choices of `chooser` that read it, as typed: "all, dest or sample".
    std::string Readers(const Setting& chooser) const;
    // The refusal of a setting given to a run none of whose parts reads it: "--X goes with
    // --scheme a or b".
    std::string GoesWith() const;
};

namespace SettingRegistry {

// Every setting, in the order usage texts list them.
const std::vector<Setting>& All();

// The setting of a typed name or a Python keyword, in any letter case; none for another name.
const Setting* Find(std::string_view name);
// Its place in All().
inline std::size_t Index(const Setting& setting) {
    return static_cast<std::size_t>(&setting - All().data());
}

// The setting held in this member.
template <typename T> const Setting& Of(T RunSettings::*member) {
    for (const Setting& setting : All()) {
        if (const auto* held = std::get_if<T RunSettings::*>(&setting.member);
            held && *held == member)
            return setting;
    }
    throw std::logic_error("a member of RunSettings that is no setting");
}

// A number or digits as pathloom-run's options take them; raise std::invalid_argument with its
// message, naming the option ("not a number for --reward: '0.1x'").
template <typename Real> Real ReadNumber(const std::string& text, const std::string& option);
uint64_t ReadWhole(const std::string& text, const std::string& option);

// Names as messages list them: "a, b or c".
std::string Listed(const std::vector<std::string>& names);

// The choices of other settings a choice goes with: each setting and its choice's number; none
// for no choice.
std::vector<std::pair<const Setting*, int32_t>> Needs(const Choices::Row* choice);

// The settings each part of a run reads, and the choices they go with, name settings and
// choices that exist: nothing when so, otherwise what does not.
std::string CheckParts();

} // namespace SettingRegistry
