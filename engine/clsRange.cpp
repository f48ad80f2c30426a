#include "clsRange.h"

#include "DocumentStream.h"

void clsRange::Save(DocumentWriter& file) const {
    file.WriteFloat(StartNumber);
    file.WriteFloat(EndNumber);
    file.WriteFloat(Answer);
}

void clsRange::Load(DocumentReader& file) {
    StartNumber = file.ReadFloat();
    EndNumber = file.ReadFloat();
    Answer = file.ReadFloat();
}
