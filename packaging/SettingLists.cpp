// Fills the lists of the run's settings, as their registry declares them, into the bash
// completion, the manual page of pathloom-run and the manual's page of settings while the
// project builds:
//   pathloom-setting-lists TEMPLATE OUTPUT
// writes TEMPLATE to OUTPUT with each @NAME@ of Lists() replaced.

#include "SettingRegistry.h"

#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

// roff: a backslash is \e, a minus sign \-.
std::string Roff(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '\\' ? "\\e" : c == '-' ? "\\-" : std::string(1, c);
    return out;
}

std::string Bold(const std::string& text) {
    return "\\fB" + Roff(text) + "\\fR";
}

// The option with its value as the usage shows it: "--model P|S", "--source NODE".
std::string Tag(const Setting& setting) {
    if (!setting.choices)
        return Bold(setting.Option()) + " \\fI" + Roff(setting.word) + "\\fR";
    std::string tag;
    for (const Choices::Row& choice : *setting.choices)
        tag += tag.empty() ? Bold(setting.Option() + " " + choice.typed) : "|" + Bold(choice.typed);
    return tag;
}

// Its help as a sentence, with its value in a new document where a part of a run reads it.
std::string Entry(const Setting& setting) {
    std::string text = setting.help;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    bool read = false;
    for (const Setting& chooser : SettingRegistry::All())
        read = read || (chooser.choices && setting.ReadThrough(chooser));
    const std::string value = setting.Text(setting.Get(RunSettings()));
    if (read && setting.type != Setting::Type::Node && !value.empty())
        text += " (" + value + " in a new document)";
    return ".TP\n" + Tag(setting) + "\n" + Roff(text) + ".\n";
}

// Markdown: a bar would end the table's cell.
std::string Cell(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '|' ? "\\|" : std::string(1, c);
    return out;
}

std::string Values(const Setting& setting) {
    if (setting.choices)
        return "`" + setting.choices->TypedNames("`, `") + "`";
    switch (setting.type) {
    case Setting::Type::Whole:
        return std::to_string(setting.least) + " to " + std::to_string(setting.most);
    case Setting::Type::Seed:
        return "0 to 18446744073709551615";
    case Setting::Type::Probability:
        return "above 0, at most 1";
    case Setting::Type::Node:
        return "a label, or #N for the N-th node";
    case Setting::Type::File:
        return "a file";
    default:
        return "a number";
    }
}

// The choices that read it ("--method dest or sample"); every run where no choice decides, or
// where every choice of one setting reads it.
std::string ReadBy(const Setting& setting) {
    std::string by;
    for (const Setting& chooser : SettingRegistry::All()) {
        if (!chooser.choices || !setting.ReadThrough(chooser))
            continue;
        bool all = true;
        for (const Choices::Row& choice : *chooser.choices)
            all = all && setting.ReadBy(choice);
        if (all)
            return "every run";
        by += (by.empty() ? "" : "; ") + chooser.Option() + " " + setting.Readers(chooser);
    }
    return by.empty() ? "every run" : by;
}

std::string Kept(const Setting& setting) {
    switch (setting.storage.kind) {
    case Setting::Storage::Layout:
        if (setting.storage.lastKnown < 0)
            return "the fixed layout";
        // Older readers know the choices up to lastKnown.
        return "the fixed layout; one after `" +
               std::string(setting.choices->Of(setting.storage.lastKnown)->typed) +
               "` as it there, and in a record of its own";
    case Setting::Storage::RunRecord:
        return "the extension's run record";
    case Setting::Storage::OwnRecord:
        return "a record of its own";
    default:
        return "no";
    }
}

std::string Swept(const Setting& setting) {
    switch (setting.sweep) {
    case Setting::Sweep::No:
        return "no";
    case Setting::Sweep::Experiment:
        return "yes (a column in a stochastic experiment)";
    case Setting::Sweep::WhenRead:
        return "yes (a column where a run reads it)";
    case Setting::Sweep::Apart:
        return "yes (a column of its own)";
    default:
        return "yes";
    }
}

// A row of the manual's table, and the setting's help below it.
std::string PageRow(const Setting& setting) {
    const std::string value = setting.type == Setting::Type::Node
                                  ? std::string()
                                  : setting.Text(setting.Get(RunSettings()));
    const std::string cells[] = {"`" + setting.Option() + "`",
                                 "`" + setting.PythonName() + "`",
                                 Values(setting),
                                 value.empty() ? "none" : "`" + value + "`",
                                 ReadBy(setting),
                                 Kept(setting),
                                 Swept(setting)};
    std::string row = "|";
    for (const std::string& cell : cells)
        row += " " + Cell(cell) + " |";
    return row + "\n";
}

std::string PageHelp(const Setting& setting) {
    std::string text = setting.help;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return "- `" + setting.Option() + "`: " + text + ".\n";
}

std::map<std::string, std::string> Lists() {
    std::string choices, sweep, values, options, man, pageRows, pageHelp;
    std::vector<std::string> swept, experiments;
    for (const Setting& setting : SettingRegistry::All()) {
        const std::string option = setting.Option();
        options += (options.empty() ? "" : " ") + option;
        man += Entry(setting);
        pageRows += PageRow(setting);
        pageHelp += PageHelp(setting);
        if (setting.choices) {
            choices += "  " + option + ") _pathloom_run_offer '" +
                       setting.choices->TypedNames(" ") + "' ;;\n";
        } else if (setting.type != Setting::Type::File) {
            values += (values.empty() ? "" : " | ") + option;
        }
        if (setting.sweep != Setting::Sweep::No) {
            sweep += (sweep.empty() ? "" : " ") + std::string(setting.typed) + "=";
            swept.push_back(Bold(setting.typed));
        }
        // What makes a run a stochastic experiment: a choice other than the first.
        if (setting.sweep == Setting::Sweep::Experiment) {
            for (auto choice = ++setting.choices->begin(); choice != setting.choices->end();
                 ++choice)
                experiments.push_back(Bold(option + " " + choice->typed));
        }
    }
    choices.pop_back(); // its line break is the template's
    man.pop_back();
    pageRows.pop_back();
    pageHelp.pop_back();
    return {{"COMPLETION_CHOICES", choices},
            {"COMPLETION_SWEEP", sweep},
            {"COMPLETION_VALUES", values},
            {"COMPLETION_OPTIONS", options},
            {"MAN_SETTINGS", man},
            {"MAN_SWEEP_NAMES", SettingRegistry::Listed(swept)},
            {"MAN_EXPERIMENT", SettingRegistry::Listed(experiments)},
            {"PAGE_ROWS", pageRows},
            {"PAGE_HELP", pageHelp}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: pathloom-setting-lists TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    std::string out = text.str();
    for (const auto& [name, list] : Lists()) {
        const std::string placeholder = "@" + name + "@";
        for (std::size_t at; (at = out.find(placeholder)) != std::string::npos;)
            out.replace(at, placeholder.size(), list);
    }
    std::ofstream file(argv[2]);
    file << out;
    if (!in || !file.flush()) {
        std::cerr << "pathloom-setting-lists: " << argv[1] << " or " << argv[2] << " failed\n";
        return 1;
    }
    return 0;
}
