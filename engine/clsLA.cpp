#include "clsLA.h"

#include "DocumentStream.h"

void clsLA::Clear() {
    graph_.ClearGraph();
    Settings.Model = Model::P;
    Settings.ModelType = Scheme::LRP;
    Settings.Reward = 0.0f;
    Settings.Penalty = 0.0f;
    Settings.LearningFactor = 0.0f;
    // Stored in the document's extension: a document without one has the first of each, and
    // the sampled run of a new one.
    const RunSettings fresh;
    Settings.Threshold = fresh.Threshold;
    Settings.ActionSet = fresh.ActionSet;
    Settings.Samples = fresh.Samples;
    Settings.Seed = fresh.Seed;
    Settings.Target = fresh.Target;
    ranges_.Clear();
    KeptRecords.clear();
    // The old nodes are gone: a node chosen for them would now name another.
    Settings.sourceNode = -1;
    Settings.DestNode = -1;
}

void clsLA::DeleteNode(int32_t index) {
    graph_.DeleteNode(index);
    for (int32_t* node : {&Settings.sourceNode, &Settings.DestNode}) {
        if (*node == index)
            *node = -1;
        else if (*node > index)
            --*node;
    }
}

void clsLA::Save(DocumentWriter& file) {
    file.WriteInt32(Settings.Model);
    file.WriteInt32(Settings.ModelType);
    file.WriteFloat(Settings.Reward);
    file.WriteFloat(Settings.Penalty);
    file.WriteFloat(Settings.LearningFactor);
    graph_.Save(file);
    ranges_.Save(file);
}

void clsLA::Load(DocumentReader& file) {
    Settings.Model = file.ReadInt32();
    Settings.ModelType = file.ReadInt32();
    Settings.Reward = file.ReadFloat();
    Settings.Penalty = file.ReadFloat();
    Settings.LearningFactor = file.ReadFloat();
    graph_.Load(file);
    ranges_.Load(file);
}
