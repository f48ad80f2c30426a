#include "DocumentStream.h"

#include "PathloomError.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unistd.h>
#include <utility>

namespace {
constexpr std::size_t BlockSize = 1 << 16;

// A loaded record takes a few times its bytes: an object of its own, its pointer in the
// collection and, for a node, an entry in the index by ID (about 2.5 times for nodes and 2.8
// times for links).
constexpr uint64_t LoadedBytesPerRecordByte = 4;

[[noreturn]] void PastEnd() {
    throw PathloomError(ErrorNumber::InputPastEndOfFile, "DocumentReader",
                        "Input past end of file");
}

uint32_t FloatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
} // namespace

uint64_t MachineMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return UINT64_MAX;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

DocumentWriter::DocumentWriter(Sink sink) : sink_(std::move(sink)) {
    buffer_.reserve(BlockSize);
}

void DocumentWriter::WriteInt32(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                           static_cast<char>((bits >> 16) & 0xFF),
                           static_cast<char>((bits >> 24) & 0xFF)};
    WriteBytes(bytes, sizeof bytes);
}

void DocumentWriter::WriteFloat(float value) {
    WriteInt32(static_cast<int32_t>(FloatBits(value)));
}

void DocumentWriter::WriteBytes(const void* data, std::size_t size) {
    buffer_.append(static_cast<const char*>(data), size);
    if (buffer_.size() >= BlockSize)
        Flush();
}

void DocumentWriter::Flush() {
    if (buffer_.empty())
        return;
    sink_(buffer_.data(), buffer_.size());
    buffer_.clear();
}

DocumentReader::DocumentReader(Source source, uint64_t length)
    : source_(std::move(source)), length_(length) {}

DocumentReader::DocumentReader(const std::string& bytes)
    : DocumentReader(
          [&bytes, offset = std::size_t{0}](char* data, std::size_t size) mutable {
              const std::size_t n = std::min(size, bytes.size() - offset);
              std::memcpy(data, bytes.data() + offset, n);
              offset += n;
              return n;
          },
          bytes.size()) {}

void DocumentReader::Fill() {
    buffer_.erase(0, bufferPos_);
    bufferPos_ = 0;
    const std::size_t had = buffer_.size();
    buffer_.resize(had + BlockSize);
    const std::size_t got = source_(&buffer_[had], BlockSize);
    buffer_.resize(had + std::min(got, BlockSize));
}

void DocumentReader::ReadBytes(void* data, std::size_t size) {
    if (size > Remaining())
        PastEnd();
    auto* out = static_cast<char*>(data);
    while (size > 0) {
        if (bufferPos_ == buffer_.size()) {
            Fill();
            // The file was shorter than it said when it was opened.
            if (bufferPos_ == buffer_.size())
                PastEnd();
        }
        const std::size_t n = std::min(size, buffer_.size() - bufferPos_);
        std::memcpy(out, buffer_.data() + bufferPos_, n);
        bufferPos_ += n;
        consumed_ += n;
        out += n;
        size -= n;
    }
}

int32_t DocumentReader::ReadInt32() {
    unsigned char bytes[4];
    ReadBytes(bytes, sizeof bytes);
    const uint32_t bits = uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) |
                          (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
    return static_cast<int32_t>(bits);
}

float DocumentReader::ReadFloat() {
    const auto bits = static_cast<uint32_t>(ReadInt32());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int32_t DocumentReader::ReadCount(std::size_t recordSize) {
    const int32_t count = ReadInt32();
    const uint64_t bytes = static_cast<uint64_t>(count) * recordSize;
    // A count the rest of the file cannot hold is damage, not a reason to allocate gigabytes.
    if (count < 0 || bytes > Remaining())
        PastEnd();
    // A long (or sparse) file can hold more records than memory can: refuse before reserving
    // room for them, not after the machine has run out.
    if (bytes > memoryLeft_ / LoadedBytesPerRecordByte)
        throw std::bad_alloc();
    memoryLeft_ -= bytes * LoadedBytesPerRecordByte;
    return count;
}
