#pragma once
// A labelled node of a graph: its position, its degrees and its 32-byte label field.

#include "clsPosition.h"

#include <array>
#include <cstdint>
#include <string>

class DocumentWriter;
class DocumentReader;

class clsNode {
  public:
    static constexpr int LabelFieldSize = 32;
    using LabelField = std::array<char, LabelFieldSize>;

    int32_t ID = 0;
    clsPosition Position;
    int16_t InDegree = 0;
    int16_t OutDegree = 0;

    // The label: the field's text up to its first NUL.
    std::string Label() const;

    // Checks and stores a label (Latin-1 bytes). Refuses the path-file delimiters; keeps at
    // most 31 characters so that the field always holds its terminating NUL.
    void SetLabel(const std::string& newValue);
    // Raises what SetLabel would for the text, and changes nothing.
    static void CheckLabel(const std::string& newValue);
    // The characters CheckLabel refuses: those that delimit labels in path files.
    static bool ForbiddenInLabel(char c);

    // The whole field as stored: label, NUL, then spaces up to 32 bytes.
    const LabelField& Labelz() const { return labelField_; }

    // Stores a field read from a document exactly as it is, without the label checks.
    void SetLabelz(const LabelField& field) { labelField_ = field; }

    // The 44-byte node record: ID, the label field as stored, the position.
    void Save(DocumentWriter& file) const;
    void Load(DocumentReader& file);

  private:
    LabelField labelField_{}; // 32 NULs until a label is set
};
