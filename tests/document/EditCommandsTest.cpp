#include "EditCommands.h"

#include "DocumentStream.h"
#include "PathloomError.h"

#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The document as its file would hold it (the signature aside).
std::string Bytes(clsLA& engine) {
    std::string bytes;
    DocumentWriter writer(
        [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
    engine.Save(writer);
    writer.Flush();
    return bytes;
}

// A, B, C and a lone D; A-B simple, B->C and A->C unidirectional (A->C with a learned 0.9),
// settings and one range.
void Build(clsLA& engine) {
    clsGraph& g = engine.Graph();
    for (int i = 0; i < 4; ++i)
        g.AddNode(i * 60, 0);
    g.AddLink(1, 2, LinkKind::Simple);
    g.AddLink(2, 3, LinkKind::Unidirectional);
    g.AddLink(1, 3, LinkKind::Unidirectional);
    g.Link(1).SetProbability(0.25f);
    g.Link(1).Weight = 1.5f;
    g.Link(3).Probability = 0.9f;
    engine.Settings.Reward = 0.1f;
    engine.Ranges().AddRange(0, 1, 0.5f);
}

struct CommandCase {
    const char* name;
    std::function<DocumentCommand*(GraphDocument&)> make; // the edit as the window makes it
    std::function<void(clsLA&)> expected;                 // the same change made directly
};

// Each command done, undone and redone gives exactly the document its change should.
TEST(EditCommands, DoUndoRedoGiveTheExpectedDocument) {
    const CommandCase cases[] = {
        {"add node", [](GraphDocument& d) { return new AddNodeCommand(d, 5, 7); },
         [](clsLA& e) { e.Graph().AddNode(5, 7); }},
        {"add link", [](GraphDocument& d) { return new AddLinkCommand(d, 4, 1, 1); },
         [](clsLA& e) { e.Graph().AddLink(4, 1, 1); }},
        {"delete node", [](GraphDocument& d) { return DeleteCommand::Node(d, 2); },
         [](clsLA& e) { e.DeleteNode(2); }},
        {"delete link", [](GraphDocument& d) { return DeleteCommand::Link(d, 2); },
         [](clsLA& e) { e.Graph().DeleteLink(2); }},
        {"move node",
         [](GraphDocument& d) {
             d.Graph().Node(1).Position.Move(30, 40); // the drag, before its step is made
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
         [](GraphDocument& d) {
             RunSettings s = d.Engine().Settings;
             s.Model = 1;
             s.ModelType = Scheme::LRI;
             clsRanges r;
             r.AddRange(-1, 1, 0.25f);
             return new SettingsCommand(d, s, r);
         },
         [](clsLA& e) {
             e.Settings.Model = 1;
             e.Settings.ModelType = Scheme::LRI;
             e.Ranges().Clear();
             e.Ranges().AddRange(-1, 1, 0.25f);
         }},
        {"run",
         [](GraphDocument& d) {
             auto before = ProbabilitiesCommand::Of(d.Graph());
             d.Graph().Link(2).Probability = 0.125f; // what the run learned
             return new ProbabilitiesCommand(d, "Run", std::move(before));
         },
         [](clsLA& e) { e.Graph().Link(2).Probability = 0.125f; }},
    };
    for (const CommandCase& c : cases) {
        GraphDocument document;
        Build(document.Engine());
        const std::string before = Bytes(document.Engine());
        clsLA expected;
        Build(expected);
        c.expected(expected);
        const std::string after = Bytes(expected);

        document.Do(c.make(document));
        EXPECT_EQ(Bytes(document.Engine()), after) << c.name;
        document.History().undo();
        EXPECT_EQ(Bytes(document.Engine()), before) << c.name << " undone";
        document.History().redo();
        EXPECT_EQ(Bytes(document.Engine()), after) << c.name << " redone";
    }
}

TEST(EditCommands, RefusedEditsAreNeverMadeAndRunsLeaveTheDocumentUnmodified) {
    GraphDocument document;
    Build(document.Engine());
    EXPECT_THROW(AddLinkCommand(document, 1, 1, 0), PathloomError);
    EXPECT_THROW(AddLinkCommand(document, 3, 1, 0), PathloomError);
    EXPECT_THROW(RenameNodeCommand(document, 1, "a b"), PathloomError);
    int changes = 0;
    QObject::connect(&document, &GraphDocument::Changed, [&changes] { ++changes; });
    document.Do(
        new ProbabilitiesCommand(document, "Reset", ProbabilitiesCommand::Of(document.Graph())));
    EXPECT_FALSE(document.Modified());
    document.Do(new AddNodeCommand(document, 0, 0));
    EXPECT_TRUE(document.Modified());
    document.History().undo();
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(changes, 3); // one signal for each change, undo included
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
