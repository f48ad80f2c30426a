#include "SettingRegistry.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Every setting in usage order: a value as typed and its text as the registry writes it back,
// and a value it refuses with the runner's message (none where any text is a value).
TEST(SettingRegistry, EverySettingReadsItsTextBackAndRefusesWithItsMessage) {
    const struct {
        const char *typed, *given, *text, *bad, *message;
    } cases[] = {
        {"method", "Sample", "sample", "any", "unknown value for --method: 'any'"},
        {"source", "#2", "#2", nullptr, nullptr},
        {"dest", "a b", "a b", nullptr, nullptr},
        {"paths", "p.txt", "p.txt", nullptr, nullptr},
        // Past the largest count a run refuses it with its own message.
        {"samples", "18446744073709551615", "9223372036854775807", "12x",
         "not a whole number for --samples: '12x'"},
        {"seed", "18446744073709551615", "18446744073709551615", "18446744073709551616",
         "not a whole number for --seed: '18446744073709551616'"},
        {"until", "0.50", "0.5", "1e999", "not a number for --until: '1e999'"},
        {"model", "s", "S", "Q", "unknown value for --model: 'Q'"},
        {"scheme", "lrEp", "LREP", "LR(E)P", "unknown value for --scheme: 'LR(E)P'"},
        {"reward", "1e-40", "1e-40", "0x10", "not a number for --reward: '0x10'"},
        {"penalty", "-0.25", "-0.25", " 0.5", "not a number for --penalty: ' 0.5'"},
        {"factor", "1e-2", "0.01", "1,5", "not a number for --factor: '1,5'"},
        {"threshold", "MEAN", "mean", "middle", "unknown value for --threshold: 'middle'"},
        {"action-set", "variable", "variable", "-1", "unknown value for --action-set: '-1'"},
        {"resolution", "0100", "100", "1e3", "not a whole number for --resolution: '1e3'"},
    };
    const auto& settings = SettingRegistry::All();
    ASSERT_EQ(settings.size(), std::size(cases));
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const Setting& setting = settings[i];
        const auto& c = cases[i];
        EXPECT_STREQ(setting.typed, c.typed);
        EXPECT_EQ(SettingRegistry::Find(setting.PythonName()), &setting);
        EXPECT_EQ(setting.Text(setting.Parse(c.given)), c.text) << c.typed;
        if (c.bad) {
            try {
                setting.Parse(c.bad);
                ADD_FAILURE() << c.typed << " took " << c.bad;
            } catch (const std::invalid_argument& e) {
                EXPECT_EQ(e.what(), std::string(c.message));
            }
        }
        // What a run holds is what is set, and reads back as typed.
        if (setting.type != Setting::Type::Node) {
            RunSettings s;
            setting.Set(s, setting.Parse(c.text));
            EXPECT_EQ(setting.Text(setting.Get(s)), c.text) << c.typed;
        }
    }
}

TEST(SettingRegistry, NamesLeadToTheirSetting) {
    const Setting* actionSet = SettingRegistry::Find("Action_Set");
    ASSERT_NE(actionSet, nullptr);
    EXPECT_EQ(SettingRegistry::Find("action-set"), actionSet);
    EXPECT_EQ(&SettingRegistry::Of(&RunSettings::ActionSet), actionSet);
    EXPECT_EQ(actionSet->ColumnName(), "action set");
    EXPECT_EQ(actionSet->PythonName(), "action_set");
    EXPECT_EQ(SettingRegistry::Find("action"), nullptr);
    // The parts name settings and choices that exist; the sampler reads the target.
    EXPECT_EQ(SettingRegistry::CheckParts(), "");
    const Setting& until = SettingRegistry::Of(&RunSettings::Target);
    EXPECT_TRUE(until.ReadBy(*Choices::SearchMethods.Of(SearchMethod::Sample)));
    EXPECT_FALSE(until.ReadBy(*Choices::SearchMethods.Of(SearchMethod::SourceToDestination)));
    EXPECT_FALSE(SettingRegistry::Of(&RunSettings::sourceNode)
                     .ReadBy(*Choices::SearchMethods.Of(SearchMethod::ReadFromFile)));
}

// A setting applies where a part the settings choose reads it, or where a choice is no part known.
TEST(SettingRegistry, ASettingIsReadWhereAChosenPartReadsIt) {
    const struct {
        const char* typed;
        int32_t method, model;
        bool read;
    } cases[] = {
        {"samples", SearchMethod::Sample, Model::P, true},
        {"samples", SearchMethod::SourceToDestination, Model::P, false},
        {"samples", 9, Model::P, true},
        {"source", SearchMethod::ReadFromFile, Model::P, false},
        {"paths", SearchMethod::ReadFromFile, Model::P, true},
        {"dest", SearchMethod::IncludeAllNodes, Model::P, false},
        {"seed", SearchMethod::IncludeAllNodes, Model::S, true}, // drawn lengths
        {"threshold", SearchMethod::IncludeAllNodes, Model::P, true},
        {"threshold", SearchMethod::Sample, Model::S, false},
        {"threshold", SearchMethod::Sample, 7, true},
        {"method", SearchMethod::ReadFromFile, 7, true},
    };
    for (const auto& c : cases) {
        RunSettings s;
        s.GraphSearchMethod = c.method;
        s.Model = c.model;
        EXPECT_EQ(SettingRegistry::Find(c.typed)->ReadIn(s), c.read) << c.typed << c.method;
    }
}

} // namespace
