#pragma once
// One row of the S-model answer table: cost differences from StartNumber to EndNumber answer
// Answer.

class DocumentWriter;
class DocumentReader;

class clsRange {
  public:
    float StartNumber = 0.0f;
    float EndNumber = 0.0f;
    float Answer = 0.0f;

    // The 12-byte range record: StartNumber, EndNumber, Answer.
    void Save(DocumentWriter& file) const;
    void Load(DocumentReader& file);
};
