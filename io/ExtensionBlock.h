#pragma once
// The block after a complete document that holds what its fixed layout cannot, which older
// readers ignore as bytes after the document: a tag, a version, the length of the records, then
// the records, each a kind, a size and that many bytes. Version 1 gives the length in 32 bits,
// version 2 in 64; a block is written as version 1 whenever its length fits, as before.

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class DocumentReader;
class DocumentWriter;

namespace ExtensionBlock {

// Raises the load's reason, "The document's extension block is damaged: WHAT." (source
// "ExtensionBlock").
[[noreturn]] void Damaged(const std::string& what);

// Appends one record to the records of a block.
void AppendRecord(std::string& records, int32_t kind, std::string_view bytes);

// Writes the block of the records: version 1 below 2 GiB of records, version 2 from there on.
void Write(DocumentWriter& file, std::string_view records);
// Its tag, version and length alone.
void WriteHeader(DocumentWriter& file, uint64_t length);

// Reads a block if the bytes after the document start with its tag, and hands each record to
// `each` in order; false when there is no block (other bytes are ignored, as before). Raises
// PathloomError (source "ExtensionBlock") for a damaged block or one of a newer version.
bool Read(DocumentReader& file,
          const std::function<void(int32_t kind, std::string_view bytes)>& each);
// Its tag, version and length alone: the length, which is the rest of the file.
std::optional<uint64_t> ReadHeader(DocumentReader& file);

// The bytes of a record (which outlive it) read in order, each read checked against their end.
class Bytes {
  public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    template <typename T> T Take() {
        T value{};
        std::memcpy(&value, TakeBytes(sizeof value).data(), sizeof value);
        return value;
    }
    std::string_view TakeBytes(std::size_t size);
    std::string_view Rest() { return TakeBytes(bytes_.size() - at_); }
    bool Done() const { return at_ == bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

} // namespace ExtensionBlock
