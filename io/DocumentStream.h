#pragma once
// Little-endian reading and writing of the fixed-size values a "plm" document is made of.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Collects values and hands them to a sink in large blocks; the sink raises if it cannot write.
class DocumentWriter {
  public:
    using Sink = std::function<void(const char* data, std::size_t size)>;

    explicit DocumentWriter(Sink sink);
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    void WriteBytes(const void* data, std::size_t size);

    // Hands everything buffered to the sink; call once after the last value.
    void Flush();

  private:
    Sink sink_;
    std::string buffer_;
};

// The machine's physical memory in bytes, UINT64_MAX where it is unknown: no file whose contents
// need more can load, and finding out by trying would take all of it first.
uint64_t MachineMemory();

// Reads values from a source of known length. Every read that would pass the end raises, and a
// record count is checked against what the rest of the file can hold before anyone allocates.
class DocumentReader {
  public:
    // Fills up to size bytes and returns how many it gave; fewer than asked means the end.
    using Source = std::function<std::size_t(char* data, std::size_t size)>;

    DocumentReader(Source source, uint64_t length);
    // Reads from bytes already in memory (they must outlive the reader).
    explicit DocumentReader(const std::string& bytes);
    DocumentReader(const DocumentReader&) = delete;
    DocumentReader& operator=(const DocumentReader&) = delete;

    int32_t ReadInt32();
    float ReadFloat();
    void ReadBytes(void* data, std::size_t size);

    // A count of records of recordSize bytes each; raises when it is negative or when the rest of
    // the file is too short to hold that many records, and throws std::bad_alloc when the
    // records counted so far could not fit in the memory limit once loaded.
    int32_t ReadCount(std::size_t recordSize);

    // Bytes of memory the loaded records may take, all counts together; no limit unless set.
    void LimitMemory(uint64_t bytes) { memoryLeft_ = bytes; }

    uint64_t Remaining() const { return length_ - consumed_; }

  private:
    void Fill();

    Source source_;
    uint64_t length_;
    uint64_t consumed_ = 0;
    uint64_t memoryLeft_ = UINT64_MAX;
    std::string buffer_;
    std::size_t bufferPos_ = 0;
};
