// Any bytes as a document: the engine's Load either takes them or raises, never more; whatever
// it takes saves and loads again to the very same bytes.

#include "DocumentStream.h"
#include "clsLA.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

const char Signature[14] = {'W', 'O', 'V', 'E', 'N', '-', 'G', 'R', 'A', 'P', 'H', 'S', 0, 0};

// What LoadGraph does once the file is open: the signature, then the engine's Load.
bool Load(clsLA& la, const std::string& bytes) {
    try {
        DocumentReader reader(bytes);
        char signature[sizeof Signature];
        reader.ReadBytes(signature, sizeof signature);
        if (std::memcmp(signature, Signature, sizeof Signature) != 0)
            return false;
        la.Load(reader);
        return true;
    } catch (const std::exception&) {
        la.Clear();
        return false;
    }
}

std::string Save(clsLA& la) {
    std::string bytes(Signature, sizeof Signature);
    DocumentWriter writer(
        [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    la.Save(writer);
    writer.Flush();
    return bytes;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "document_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    clsLA la;
    if (!Load(la, bytes)) {
        if (la.Graph().NodeCount() != 0 || la.Graph().LinkCount() != 0 ||
            la.Ranges().RangeCount() != 0)
            Fail("a refused document left something behind");
        return 0;
    }
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j) {
        const clsLink& link = la.Graph().Link(j);
        if (!link.FromNode || !link.ToNode || link.Flag)
            Fail("a loaded link has an empty end or a flag");
    }

    const std::string saved = Save(la);
    clsLA again;
    if (!Load(again, saved))
        Fail("a loaded document, saved, does not load");
    if (Save(again) != saved)
        Fail("saving a reloaded document gives other bytes");
    return 0;
}
