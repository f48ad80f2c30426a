#include "ExtensionBlock.h"

#include "DocumentStream.h"
#include "PathloomError.h"

#include <cstdint>

namespace ExtensionBlock {

namespace {

const char Tag[8] = {'P', 'L', 'M', '-', 'E', 'X', 'T', 0};
constexpr int32_t Version = 2;
// The first length version 1 cannot give.
constexpr uint64_t LongBlock = uint64_t{1} << 31;

void Put(std::string& out, const void* value, std::size_t size) {
    // Little-endian, as every number of the document.
    const auto* bytes = static_cast<const unsigned char*>(value);
    for (std::size_t k = 0; k < size; ++k)
        out += static_cast<char>(bytes[k]);
}

} // namespace

void Damaged(const std::string& what) {
    Raise("ExtensionBlock", "The document's extension block is damaged: " + what + ".");
}

std::string_view Bytes::TakeBytes(std::size_t size) {
    if (bytes_.size() - at_ < size)
        Damaged("a record is longer than the block");
    const std::string_view taken = bytes_.substr(at_, size);
    at_ += size;
    return taken;
}

void AppendRecord(std::string& records, int32_t kind, std::string_view bytes) {
    const auto size = static_cast<int32_t>(bytes.size());
    Put(records, &kind, sizeof kind);
    Put(records, &size, sizeof size);
    records += bytes;
}

void WriteHeader(DocumentWriter& file, uint64_t length) {
    file.WriteBytes(Tag, sizeof Tag);
    if (length < LongBlock) {
        file.WriteInt32(1);
        file.WriteInt32(static_cast<int32_t>(length));
        return;
    }
    file.WriteInt32(2);
    file.WriteInt32(static_cast<int32_t>(length & 0xFFFFFFFFu));
    file.WriteInt32(static_cast<int32_t>(length >> 32));
}

void Write(DocumentWriter& file, std::string_view records) {
    WriteHeader(file, records.size());
    file.WriteBytes(records.data(), records.size());
}

std::optional<uint64_t> ReadHeader(DocumentReader& file) {
    if (file.Remaining() < sizeof Tag)
        return std::nullopt;
    char tag[sizeof Tag];
    file.ReadBytes(tag, sizeof tag);
    if (std::memcmp(tag, Tag, sizeof Tag) != 0)
        return std::nullopt;
    if (file.Remaining() < 8)
        Damaged("it ends before its length");
    const int32_t version = file.ReadInt32();
    if (version > Version)
        Raise("ExtensionBlock", "The document's extension block is of version " +
                                    std::to_string(version) + ", newer than this Pathloom reads (" +
                                    std::to_string(Version) + ").");
    if (version < 1)
        Damaged("its version is " + std::to_string(version));
    uint64_t length = static_cast<uint32_t>(file.ReadInt32());
    if (version == 2) {
        if (file.Remaining() < 4)
            Damaged("it ends before its length");
        length |= uint64_t{static_cast<uint32_t>(file.ReadInt32())} << 32;
    }
    if ((version == 1 && length >= LongBlock) || length != file.Remaining())
        Damaged("its length does not match the bytes after it");
    return length;
}

bool Read(DocumentReader& file,
          const std::function<void(int32_t kind, std::string_view bytes)>& each) {
    const std::optional<uint64_t> length = ReadHeader(file);
    if (!length)
        return false;
    std::string bytes(static_cast<std::size_t>(*length), '\0');
    file.ReadBytes(bytes.data(), bytes.size());
    Bytes block(bytes);
    while (!block.Done()) {
        const auto kind = block.Take<int32_t>();
        const auto size = block.Take<int32_t>();
        if (size < 0)
            Damaged("a record's size is negative");
        each(kind, block.TakeBytes(static_cast<std::size_t>(size)));
    }
    return true;
}

} // namespace ExtensionBlock
