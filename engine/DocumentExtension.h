#pragma once
// What a document's fixed layout cannot hold (link length distributions, and the run's settings
// that SettingRegistry keeps in the extension) as the records of the extension block
// (io/ExtensionBlock). A document that needs none of it has no block and stays
// byte for byte as before; records of kinds this version does not know are kept with the engine
// and written back after its own, in their order.

class clsLA;
class DocumentReader;
class DocumentWriter;

namespace DocumentExtension {

// Whether the document has anything of its own for the block: a stochastic link, or a setting
// whose value other than its default needs it (Setting::NeedsBlock).
bool Needed(const clsLA& la);

// Writes the block when Needed or when it keeps records it did not know, nothing otherwise.
void Write(const clsLA& la, DocumentWriter& file);

// Reads a block after a complete document, if the bytes there start with its tag (other bytes
// are ignored, as before). Raises PathloomError (source "ExtensionBlock") for a damaged block or
// one of a newer version, with a message that says so.
void Read(clsLA& la, DocumentReader& file);

} // namespace DocumentExtension
