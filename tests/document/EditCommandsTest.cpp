#include "EditCommands.h"

#include "DocumentStream.h"
#include "PathloomError.h"
#include "TestGraphs.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// A, B, C and a lone D; A-B simple, B->C and C->A unidirectional (C->A with a learned 0.9),
// settings and one range. With the edit, as a document would hold it (the signature aside).
std::string Bytes(clsLA& engine, const std::function<void(clsLA&)>& edit = nullptr) {
    if (edit) {
        TestGraphs::Build(engine.Graph(), "A B C D", "A-B:1.5:0.25 B>C C>A").Link(3).Probability =
            0.9f;
        engine.Settings.Reward = 0.1f;
        engine.Ranges().AddRange(0, 1, 0.5f);
        edit(engine);
    }
    std::string bytes;
    DocumentWriter writer(
        [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    engine.Save(writer);
    writer.Flush();
    return bytes;
}

TEST(EditCommands, DoUndoRedoGiveTheExpectedDocument) {
    using Make = std::function<DocumentCommand*(GraphDocument&)>;
    const std::tuple<const char*, Make, std::function<void(clsLA&)>> cases[] = {
        {"add node", [](GraphDocument& d) { return new AddNodeCommand(d, 5, 7); },
         [](clsLA& e) { e.Graph().AddNode(5, 7); }},
        {"add link", [](GraphDocument& d) { return new AddLinkCommand(d, 4, 1, 1); },
         [](clsLA& e) { e.Graph().AddLink(4, 1, 1); }},
        {"delete node", [](GraphDocument& d) { return DeleteCommand::Node(d, 2); },
         [](clsLA& e) { e.DeleteNode(2); }},
        {"delete link", [](GraphDocument& d) { return DeleteCommand::Link(d, 3); },
         [](clsLA& e) { e.Graph().DeleteLink(3); }},
        {"move node", // the drag moves the node before its step is made
         [](GraphDocument& d) {
             d.Graph().Node(1).Position.Move(30, 40);
             return new MoveNodeCommand(d, 1, 0, 0);
         },
         [](clsLA& e) { e.Graph().Node(1).Position.Move(30, 40); }},
        {"rename", [](GraphDocument& d) { return new RenameNodeCommand(d, 3, "Hub"); },
         [](clsLA& e) { e.Graph().Node(3).SetLabel("Hub"); }},
        {"link values", [](GraphDocument& d) { return new LinkValuesCommand(d, 1, -2.0f, 0.75f); },
         [](clsLA& e) {
             e.Graph().Link(1).Weight = -2.0f;
             e.Graph().Link(1).SetProbability(0.75f);
         }},
        {"settings and ranges",
         [](GraphDocument& d) { return new SettingsCommand(d, RunSettings(), clsRanges()); },
         [](clsLA& e) {
             e.Settings = RunSettings();
             e.Ranges().Clear();
         }},
        {"run", // what the run learned
         [](GraphDocument& d) {
             auto before = ProbabilitiesCommand::Of(d.Graph());
             d.Graph().Link(2).Probability = 0.125f;
             return new ProbabilitiesCommand(d, "Run", std::move(before));
         },
         [](clsLA& e) { e.Graph().Link(2).Probability = 0.125f; }},
    };
    for (const auto& [name, make, change] : cases) {
        GraphDocument document;
        const std::string before = Bytes(document.Engine(), [](clsLA&) {});
        clsLA expected;
        const std::string after = Bytes(expected, change);
        document.Do(make(document));
        EXPECT_EQ(Bytes(document.Engine()), after) << name;
        document.History().undo();
        EXPECT_EQ(Bytes(document.Engine()), before) << name << " undone";
        document.History().redo();
        EXPECT_EQ(Bytes(document.Engine()), after) << name << " redone";
    }
}

} // namespace
