#include "clsLA.h"

#include "DocumentStream.h"
#include "SettingRegistry.h"

void clsLA::Clear() {
    graph_.ClearGraph();
    // Every stored setting takes its default, which a document without an extension block has (a
    // node chosen for the old nodes would now name another); the search method stays.
    const RunSettings fresh;
    const Setting& method = SettingRegistry::Of(&RunSettings::GraphSearchMethod);
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.storage.kind != Setting::Storage::Memory && &setting != &method)
            setting.Set(Settings, setting.Get(fresh));
    }
    ranges_.Clear();
    KeptRecords.clear();
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
    file.WriteInt32(SettingRegistry::Of(&RunSettings::ModelType).InLayout(Settings));
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
