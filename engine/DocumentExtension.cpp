#include "DocumentExtension.h"

#include "ExtensionBlock.h"
#include "PathloomError.h"
#include "SettingRegistry.h"
#include "clsLA.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace DocumentExtension {

namespace {

// The records this version knows.
constexpr int32_t LinkLengthRecord = 1; // link (1-based), then the distribution's text
constexpr int32_t RunRecord = 2;        // the run's settings the fixed layout has no room for
constexpr int32_t SettingRecord = 3;    // a setting's typed name, "=", its value as typed

void Put(std::string& out, const void* value, std::size_t size) {
    // Little-endian, as every number of the document.
    const auto* bytes = static_cast<const unsigned char*>(value);
    for (std::size_t k = 0; k < size; ++k)
        out += static_cast<char>(bytes[k]);
}

// The settings of the run record, in their places.
std::vector<const Setting*> RunRecordSettings() {
    std::vector<const Setting*> settings;
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.storage.kind == Setting::Storage::RunRecord)
            settings.push_back(&setting);
    }
    std::sort(settings.begin(), settings.end(), [](const Setting* a, const Setting* b) {
        return a->storage.place < b->storage.place;
    });
    return settings;
}

// A value of the run record: 32- and 64-bit numbers as they are, a number that may be none as a
// 32-bit flag and a 64-bit float (0 for none).
std::string RunBytes(const RunSettings& s) {
    std::string bytes;
    for (const Setting* setting : RunRecordSettings()) {
        std::visit(
            [&bytes](const auto& value) {
                using Held = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Held, std::optional<double>>) {
                    const int32_t has = value ? 1 : 0;
                    const double number = value.value_or(0.0);
                    Put(bytes, &has, 4);
                    Put(bytes, &number, 8);
                } else if constexpr (std::is_arithmetic_v<Held>) {
                    Put(bytes, &value, sizeof value);
                }
            },
            setting->Get(s));
    }
    return bytes;
}

void ReadLength(clsGraph& graph, ExtensionBlock::Bytes body) {
    const auto link = body.Take<int32_t>();
    if (link < 1 || link > graph.LinkCount())
        ExtensionBlock::Damaged("a length for link " + std::to_string(link) +
                                ", which does not exist");
    const std::string text(body.Rest());
    try {
        graph.Link(link).SetLength(std::make_shared<const LinkLength>(LinkLength::Parse(text)));
    } catch (const PathloomError& e) {
        ExtensionBlock::Damaged("link " + std::to_string(link) + ": " + e.Description());
    }
}

void ReadRun(clsLA& la, ExtensionBlock::Bytes body) {
    RunSettings& s = la.Settings;
    for (const Setting* setting : RunRecordSettings()) {
        Setting::Value value = setting->Get(s);
        std::visit(
            [&body](auto& held) {
                using Held = std::decay_t<decltype(held)>;
                if constexpr (std::is_same_v<Held, std::optional<double>>) {
                    const auto has = body.Take<int32_t>();
                    const auto number = body.Take<double>();
                    held = has != 0 ? std::optional<double>(number) : std::nullopt;
                } else if constexpr (std::is_arithmetic_v<Held>) {
                    held = body.Take<Held>();
                }
            },
            value);
        const auto* node = std::get_if<int32_t>(&value);
        if (setting->type == Setting::Type::Node && *node != -1 &&
            (*node < 1 || *node > la.Graph().NodeCount()))
            ExtensionBlock::Damaged("the run names node " + std::to_string(*node) +
                                    ", which does not exist");
        setting->Set(s, value);
    }
}

// A setting of a record of its own; false for a name this version does not know.
bool ReadSetting(clsLA& la, std::string_view bytes) {
    const std::size_t equals = bytes.find('=');
    const Setting* setting = SettingRegistry::Find(bytes.substr(0, equals));
    if (!setting || equals == std::string_view::npos || setting->typed != bytes.substr(0, equals))
        return false;
    try {
        setting->Set(la.Settings, setting->Parse(std::string(bytes.substr(equals + 1)),
                                                 std::string("the setting ") + setting->typed));
    } catch (const std::invalid_argument& e) {
        ExtensionBlock::Damaged(e.what());
    }
    return true;
}

} // namespace

bool Needed(const clsLA& la) {
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.NeedsBlock(la.Settings))
            return true;
    }
    for (int32_t i = 1; i <= la.Graph().LinkCount(); ++i) {
        if (la.Graph().Link(i).Length)
            return true;
    }
    return false;
}

void Write(const clsLA& la, DocumentWriter& file) {
    if (!Needed(la) && la.KeptRecords.empty())
        return;
    std::string records;
    for (int32_t i = 1; i <= la.Graph().LinkCount(); ++i) {
        const clsLink& link = la.Graph().Link(i);
        if (!link.Length)
            continue;
        std::string bytes;
        Put(bytes, &i, 4);
        bytes += link.Length->Text();
        ExtensionBlock::AppendRecord(records, LinkLengthRecord, bytes);
    }
    ExtensionBlock::AppendRecord(records, RunRecord, RunBytes(la.Settings));
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.OwnRecordHolds(la.Settings))
            ExtensionBlock::AppendRecord(records, SettingRecord,
                                         std::string(setting.typed) + "=" +
                                             setting.Text(setting.Get(la.Settings)));
    }
    records += la.KeptRecords;
    ExtensionBlock::Write(file, records);
}

void Read(clsLA& la, DocumentReader& file) {
    ExtensionBlock::Read(file, [&la](int32_t kind, std::string_view bytes) {
        if (kind == LinkLengthRecord)
            ReadLength(la.Graph(), ExtensionBlock::Bytes(bytes));
        else if (kind == RunRecord)
            ReadRun(la, ExtensionBlock::Bytes(bytes));
        else if (kind != SettingRecord || !ReadSetting(la, bytes)) // a later version's, kept
            ExtensionBlock::AppendRecord(la.KeptRecords, kind, bytes);
    });
}

} // namespace DocumentExtension
