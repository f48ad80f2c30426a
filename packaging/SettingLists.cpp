// Fills the lists of the run's settings, as their registry declares them, into the bash
// completion and the manual page of pathloom-run while the project builds:
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

std::map<std::string, std::string> Lists() {
    std::string choices, sweep, values, options, man, manSweep, experiment;
    std::vector<std::string> swept, experiments;
    for (const Setting& setting : SettingRegistry::All()) {
        const std::string option = setting.Option();
        options += (options.empty() ? "" : " ") + option;
        man += Entry(setting);
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
    return {{"COMPLETION_CHOICES", choices},
            {"COMPLETION_SWEEP", sweep},
            {"COMPLETION_VALUES", values},
            {"COMPLETION_OPTIONS", options},
            {"MAN_SETTINGS", man},
            {"MAN_SWEEP_NAMES", SettingRegistry::Listed(swept)},
            {"MAN_EXPERIMENT", SettingRegistry::Listed(experiments)}};
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
