#include "DocumentFile.h"

#include "DocumentExtension.h"
#include "DocumentStream.h"
#include "PathloomError.h"
#include "RegularFile.h"
#include "SafeFile.h"
#include "clsLA.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

const char Signature[14] = {'W', 'O', 'V', 'E', 'N', '-', 'G', 'R', 'A', 'P', 'H', 'S', 0, 0};

void ReadDocument(clsLA& la, const std::function<std::size_t(char*, std::size_t)>& read,
                  uint64_t size) {
    DocumentReader reader(read, size);
    reader.LimitMemory(MachineMemory());
    char signature[sizeof Signature];
    reader.ReadBytes(signature, sizeof signature);
    if (std::memcmp(signature, Signature, sizeof Signature) != 0)
        Raise("LoadGraph", "Not a Pathloom document");
    la.Load(reader);
    DocumentExtension::Read(la, reader);
}

// The load's message, and what was wrong with an extension block, which the user can do
// something about (a newer Pathloom, a copy of the file).
[[noreturn]] void LoadFailed(clsLA& la, const std::string& fileName, const std::string& why) {
    la.Clear();
    Raise("LoadGraph",
          "'" + fileName + "' could not be loaded." + (why.empty() ? "" : "\r\n") + why);
}

std::string WhyNotLoaded(const PathloomError& e) {
    return e.Source() == "ExtensionBlock" ? e.Description() : "";
}

} // namespace

std::string DocumentBytes(clsLA& la) {
    std::string bytes;
    DocumentWriter writer(
        [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    writer.WriteBytes(Signature, sizeof Signature);
    la.Save(writer);
    DocumentExtension::Write(la, writer);
    writer.Flush();
    return bytes;
}

void SaveGraph(clsLA& la, const std::string& fileName) {
    try {
        WriteFileSafely(fileName, DocumentBytes(la));
    } catch (const std::exception&) {
        Raise("SaveGraph", "Error saving graph.");
    }
}

void LoadGraph(clsLA& la, const std::string& fileName) {
    try {
        RegularFile file(fileName);
        ReadDocument(
            la, [&file](char* data, std::size_t size) { return file.Read(data, size); },
            file.Size());
        return;
    } catch (const PathloomError& e) {
        LoadFailed(la, fileName, WhyNotLoaded(e));
    } catch (const std::exception&) {
    }
    LoadFailed(la, fileName, "");
}

std::string ReadFileBytes(const std::string& fileName) {
    try {
        return RegularFile::ReadAll(fileName);
    } catch (const std::exception&) {
        Raise("LoadGraph", "'" + fileName + "' could not be loaded.");
    }
}

void LoadGraphFromBytes(clsLA& la, const std::string& bytes, const std::string& fileName) {
    std::size_t at = 0;
    try {
        ReadDocument(
            la,
            [&](char* data, std::size_t size) {
                const std::size_t n = std::min(size, bytes.size() - at);
                std::memcpy(data, bytes.data() + at, n);
                at += n;
                return n;
            },
            bytes.size());
        return;
    } catch (const PathloomError& e) {
        LoadFailed(la, fileName, WhyNotLoaded(e));
    } catch (const std::exception&) {
    }
    LoadFailed(la, fileName, "");
}
