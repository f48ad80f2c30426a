#include "DocumentExtension.h"

#include "DocumentStream.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <cstring>
#include <string_view>

namespace DocumentExtension {

namespace {

const char Tag[8] = {'P', 'L', 'M', '-', 'E', 'X', 'T', 0};
constexpr int32_t Version = 1;
// Records: a tag, the size of what follows, then that many bytes.
constexpr int32_t LinkLengthRecord = 1; // link (1-based), then the distribution's text
constexpr int32_t RunRecord = 2;        // the run's settings the fixed layout has no room for
constexpr int32_t RunRecordSize = 4 * 5 + 8 + 8 + 4 + 8;

[[noreturn]] void Damaged(const std::string& what) {
    Raise("DocumentExtension", "The document's extension block is damaged: " + what + ".");
}

void Put(std::string& out, const void* value, std::size_t size) {
    // Little-endian, as every number of the document.
    const auto* bytes = static_cast<const unsigned char*>(value);
    for (std::size_t k = 0; k < size; ++k)
        out += static_cast<char>(bytes[k]);
}
void PutInt32(std::string& out, int32_t value) {
    Put(out, &value, sizeof value);
}

// The bytes of the block (which outlive it) read in order, each read checked against their end.
class Bytes {
  public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    template <typename T> T Take() {
        T value{};
        std::memcpy(&value, TakeBytes(sizeof value).data(), sizeof value);
        return value;
    }
    std::string_view TakeBytes(std::size_t size) {
        if (bytes_.size() - at_ < size)
            Damaged("a record is longer than the block");
        const std::string_view taken = bytes_.substr(at_, size);
        at_ += size;
        return taken;
    }
    bool Done() const { return at_ == bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

} // namespace

bool Needed(const clsLA& la) {
    if (la.Settings.Threshold != Threshold::Best || la.Settings.ActionSet != ActionSet::All)
        return true;
    for (int32_t i = 1; i <= la.Graph().LinkCount(); ++i) {
        if (la.Graph().Link(i).Length)
            return true;
    }
    return false;
}

void Write(const clsLA& la, DocumentWriter& file) {
    if (!Needed(la))
        return;
    std::string records;
    for (int32_t i = 1; i <= la.Graph().LinkCount(); ++i) {
        const clsLink& link = la.Graph().Link(i);
        if (!link.Length)
            continue;
        const std::string text = link.Length->Text();
        PutInt32(records, LinkLengthRecord);
        PutInt32(records, static_cast<int32_t>(4 + text.size()));
        PutInt32(records, i);
        records += text;
    }
    const RunSettings& s = la.Settings;
    PutInt32(records, RunRecord);
    PutInt32(records, RunRecordSize);
    for (const int32_t value :
         {s.sourceNode, s.DestNode, s.GraphSearchMethod, s.Threshold, s.ActionSet})
        PutInt32(records, value);
    Put(records, &s.Samples, 8);
    Put(records, &s.Seed, 8);
    PutInt32(records, s.Target ? 1 : 0);
    const double target = s.Target.value_or(0.0);
    Put(records, &target, 8);

    file.WriteBytes(Tag, sizeof Tag);
    file.WriteInt32(Version);
    file.WriteInt32(static_cast<int32_t>(records.size()));
    file.WriteBytes(records.data(), records.size());
}

void Read(clsLA& la, DocumentReader& file) {
    if (file.Remaining() < sizeof Tag)
        return;
    char tag[sizeof Tag];
    file.ReadBytes(tag, sizeof tag);
    if (std::memcmp(tag, Tag, sizeof Tag) != 0)
        return;
    if (file.Remaining() < 8)
        Damaged("it ends before its length");
    const int32_t version = file.ReadInt32();
    if (version > Version)
        Raise("DocumentExtension",
              "The document's extension block is of version " + std::to_string(version) +
                  ", newer than this Pathloom reads (" + std::to_string(Version) + ").");
    if (version < 1)
        Damaged("its version is " + std::to_string(version));
    const int32_t length = file.ReadInt32();
    if (length < 0 || static_cast<uint64_t>(length) != file.Remaining())
        Damaged("its length does not match the bytes after it");
    std::string bytes(static_cast<std::size_t>(length), '\0');
    file.ReadBytes(bytes.data(), bytes.size());
    Bytes block(bytes);
    clsGraph& graph = la.Graph();
    while (!block.Done()) {
        const auto record = block.Take<int32_t>();
        const auto size = block.Take<int32_t>();
        if (size < 0)
            Damaged("a record's size is negative");
        Bytes body(block.TakeBytes(static_cast<std::size_t>(size)));
        if (record == LinkLengthRecord) {
            const auto link = body.Take<int32_t>();
            if (link < 1 || link > graph.LinkCount())
                Damaged("a length for link " + std::to_string(link) + ", which does not exist");
            const std::string text(body.TakeBytes(static_cast<std::size_t>(size) - sizeof link));
            try {
                graph.Link(link).SetLength(
                    std::make_shared<const LinkLength>(LinkLength::Parse(text)));
            } catch (const PathloomError& e) {
                Damaged("link " + std::to_string(link) + ": " + e.Description());
            }
        } else if (record == RunRecord) {
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
                if (node != -1 && (node < 1 || node > graph.NodeCount()))
                    Damaged("the run names node " + std::to_string(node) +
                            ", which does not exist");
            }
        }
        // A record of a kind this version does not know is skipped by its size.
    }
}

} // namespace DocumentExtension
