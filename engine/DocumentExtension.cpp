#include "DocumentExtension.h"

#include "ExtensionBlock.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <string_view>

namespace DocumentExtension {

namespace {

// The records this version knows.
constexpr int32_t LinkLengthRecord = 1; // link (1-based), then the distribution's text
constexpr int32_t RunRecord = 2;        // the run's settings the fixed layout has no room for

void Put(std::string& out, const void* value, std::size_t size) {
    // Little-endian, as every number of the document.
    const auto* bytes = static_cast<const unsigned char*>(value);
    for (std::size_t k = 0; k < size; ++k)
        out += static_cast<char>(bytes[k]);
}

std::string RunBytes(const RunSettings& s) {
    std::string bytes;
    for (const int32_t value :
         {s.sourceNode, s.DestNode, s.GraphSearchMethod, s.Threshold, s.ActionSet})
        Put(bytes, &value, 4);
    Put(bytes, &s.Samples, 8);
    Put(bytes, &s.Seed, 8);
    const int32_t hasTarget = s.Target ? 1 : 0;
    Put(bytes, &hasTarget, 4);
    const double target = s.Target.value_or(0.0);
    Put(bytes, &target, 8);
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
    for (int32_t* value :
         {&s.sourceNode, &s.DestNode, &s.GraphSearchMethod, &s.Threshold, &s.ActionSet})
        *value = body.Take<int32_t>();
    s.Samples = body.Take<int64_t>();
    s.Seed = body.Take<uint64_t>();
    const auto hasTarget = body.Take<int32_t>();
    const auto target = body.Take<double>();
    s.Target = hasTarget != 0 ? std::optional<double>(target) : std::nullopt;
    for (const int32_t node : {s.sourceNode, s.DestNode}) {
        if (node != -1 && (node < 1 || node > la.Graph().NodeCount()))
            ExtensionBlock::Damaged("the run names node " + std::to_string(node) +
                                    ", which does not exist");
    }
}

} // namespace

bool Needed(const clsLA& la) {
    if (la.Settings.ExperimentChoices())
        return true;
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
    records += la.KeptRecords;
    ExtensionBlock::Write(file, records);
}

void Read(clsLA& la, DocumentReader& file) {
    ExtensionBlock::Read(file, [&la](int32_t kind, std::string_view bytes) {
        if (kind == LinkLengthRecord)
            ReadLength(la.Graph(), ExtensionBlock::Bytes(bytes));
        else if (kind == RunRecord)
            ReadRun(la, ExtensionBlock::Bytes(bytes));
        else // a later version's, kept as it came
            ExtensionBlock::AppendRecord(la.KeptRecords, kind, bytes);
    });
}

} // namespace DocumentExtension
