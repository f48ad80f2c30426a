#include "EditCommands.h"

#include "DocumentFile.h"
#include "GraphClipboard.h"
#include "RunSession.h"
#include "TestGraphs.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

class EditCommandsTest : public ::testing::Test {
  protected:
    // A, B, C and a lone D; A-B simple, B->C and C->A unidirectional (C->A with a learned 0.9),
    // settings, one range, and a run from C to B. With the edit, as a document would hold it.
    std::string Expected(const std::function<void(clsLA&)>& edit) {
        clsLA engine;
        TestGraphs::Build(engine.Graph(), "A B C D", "A-B:1.5:0.25 B>C C>A").Link(3).Probability =
            0.9f;
        engine.Settings.Reward = 0.1f;
        engine.Settings.sourceNode = 3;
        engine.Settings.DestNode = 2;
        engine.Ranges().AddRange(0, 1, 0.5f);
        edit(engine);
        SaveGraph(engine, file);
        return State(engine.Graph(), engine.Settings);
    }
    // The same document opened: its file, what a run learned, the run's nodes.
    void Open(GraphDocument& document) {
        Expected([](clsLA&) {});
        document.Load(QString::fromStdString(file));
        std::vector<float> learned = ProbabilitiesCommand::Of(document.Graph());
        learned[2] = 0.9f;
        document.Do(new ProbabilitiesCommand(document, "Run",
                                             ProbabilitiesCommand::Of(document.Graph()), learned));
        RunSettings run = document.Settings();
        run.sourceNode = 3;
        run.DestNode = 2;
        document.Do(new SettingsCommand(document, run, std::nullopt));
    }
    std::string Held(GraphDocument& document) {
        document.Save(QString::fromStdString(file));
        return State(document.Graph(), document.Settings());
    }
    // The file's bytes, then what the file does not keep: the probabilities that Reset and runs
    // start from, and the run's nodes.
    std::string State(const clsGraph& graph, const RunSettings& settings) const {
        QFile saved(QString::fromStdString(file));
        std::string state = saved.open(QIODevice::ReadOnly) ? saved.readAll().toStdString() : "";
        for (int32_t j = 1; j <= graph.LinkCount(); ++j) {
            if (graph.Link(j).LinkType != LinkKind::Unidirectional)
                state += " " + std::to_string(graph.Link(j).InitialProbability);
        }
        return state + " " + std::to_string(settings.sourceNode) + " " +
               std::to_string(settings.DestNode);
    }

    QTemporaryDir folder;
    const std::string file = folder.filePath("document.plm").toStdString();
};

// Undo puts back what Reset and runs start from too, and the nodes a deleted node moved.
TEST_F(EditCommandsTest, DoUndoRedoGiveTheExpectedDocument) {
    using Make = std::function<DocumentCommand*(GraphDocument&)>;
    const std::tuple<const char*, Make, std::function<void(clsLA&)>> cases[] = {
        {"add node", [](GraphDocument& d) { return new AddNodeCommand(d, 5, 7); },
         [](clsLA& e) { e.Graph().AddNode(5, 7); }},
        {"add link", [](GraphDocument& d) { return new AddLinkCommand(d, 4, 1, 1); },
         [](clsLA& e) { e.Graph().AddLink(4, 1, 1); }},
        {"delete node", [](GraphDocument& d) { return DeleteCommand::Node(d, 2); },
         [](clsLA& e) { e.DeleteNode(2); }},
        {"delete link", [](GraphDocument& d) { return DeleteCommand::Link(d, 1); },
         [](clsLA& e) { e.Graph().DeleteLink(1); }},
        {"delete a selection", // the run's destination goes, its source moves
         [](GraphDocument& d) {
             return DeleteCommand::Many(d, {2, 1}, {3}, "Delete Selection");
         },
         [](clsLA& e) {
             e.Graph().DeleteLink(3);
             e.DeleteNode(2);
             e.DeleteNode(1);
         }},
        {"move node",
         [](GraphDocument& d) {
             return new MoveNodesCommand(d, {{1, {30, 40}}});
         },
         [](clsLA& e) {
             e.Graph().Node(1).Position = {30, 40};
         }},
        {"rename", [](GraphDocument& d) { return new RenameNodeCommand(d, 3, "Hub"); },
         [](clsLA& e) { e.Graph().Node(3).SetLabel("Hub"); }},
        {"link values", [](GraphDocument& d) { return new LinkValuesCommand(d, 1, -2.0f, 0.75f); },
         [](clsLA& e) {
             e.Graph().Link(1).Weight = -2.0f;
             e.Graph().Link(1).SetProbability(0.75f);
         }},
        {"links' length", // a distribution: each weight becomes its mean; a unidirectional
                          // link's probability stays
         [](GraphDocument& d) {
             return new LinkValuesCommand(
                 d, std::vector<int32_t>{1, 3}, 0.0f, 0.75f,
                 std::make_shared<const LinkLength>(LinkLength::Parse("uniform(1, 3)")));
         },
         [](clsLA& e) {
             for (const int32_t j : {1, 3})
                 e.Graph().Link(j).SetLength(
                     std::make_shared<const LinkLength>(LinkLength::Parse("uniform(1, 3)")));
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
             std::vector<float> learned = ProbabilitiesCommand::Of(d.Graph());
             learned[1] = 0.125f;
             return new ProbabilitiesCommand(d, "Run", ProbabilitiesCommand::Of(d.Graph()),
                                             learned);
         },
         [](clsLA& e) { e.Graph().Link(2).Probability = 0.125f; }},
    };
    for (const auto& [name, make, change] : cases) {
        GraphDocument document;
        Open(document);
        const std::string before = Held(document);
        const std::string after = Expected(change);
        document.Do(make(document));
        EXPECT_EQ(Held(document), after) << name;
        document.Undo();
        EXPECT_EQ(Held(document), before) << name << " undone";
        document.Redo();
        EXPECT_EQ(Held(document), after) << name << " redone";
    }
}

// A pasted label that would repeat one already there, in any letter case, gets the first free
// number; an empty label stays empty.
TEST_F(EditCommandsTest, APasteMakesItsLabelsUnique) {
    GraphDocument document;
    clsGraph piece;
    const std::string numbered = "C_" + std::string(20, '9');
    for (const char* label : {"A", "B_", numbered.c_str(), "", "Z", "D_123456789"}) {
        document.Do(new AddNodeCommand(document, 0, 0));
        document.Do(new RenameNodeCommand(document, document.Graph().NodeCount(), label));
    }
    document.Do(new RenameNodeCommand(document, 5, "A_2"));
    for (const char* label : {"A", "a", "A_2", "B_", numbered.c_str(), "", "D_123456789"}) {
        piece.AddNode(0, 0);
        piece.Node(piece.NodeCount()).SetLabel(label);
    }
    document.Do(new PasteCommand(document, piece));
    std::string labels;
    for (int32_t i = 7; i <= document.Graph().NodeCount(); ++i)
        labels += document.Graph().Node(i).Label() + " ";
    EXPECT_EQ(labels, "A_3 a_4 A_5 B__2 " + numbered.substr(0, 29) + "_2  D_123456790 ");
    EXPECT_EQ(document.Graph().Node(7).Position.x, 20); // beside the nodes already there
}

TEST_F(EditCommandsTest, TheMovesOfOneDragAreOneStepAndNoneWhenItEndsWhereItBegan) {
    GraphDocument document;
    Open(document);
    const int steps = document.History().count();
    const auto drag = [&](std::initializer_list<int> xs) {
        const int gesture = document.NewGesture();
        for (const int x : xs)
            document.Do(new MoveNodesCommand(document, {{1, {x, 0}}}, gesture));
    };
    const auto at = [&] { return document.Graph().Node(1).Position.x; };
    drag({10, 20});
    drag({30, 20}); // back where it began
    drag({40});
    EXPECT_EQ(document.History().count(), steps + 2);
    document.Undo();
    EXPECT_EQ(at(), 20);
    document.Undo();
    EXPECT_EQ(at(), 0);
}

TEST_F(EditCommandsTest, WhatARunLearnsNeverMarksTheDocumentModified) {
    GraphDocument document;
    Open(document);
    RunSettings settings = document.Settings();
    settings.GraphSearchMethod = SearchMethod::SourceToDestination;
    const auto run = [&] {
        const std::unique_ptr<clsLA> copy = document.BeginRun(settings);
        RunSession session(copy->Graph(), copy->Ranges(), copy->Settings);
        while (session.Step(1000) == RunState::Running) {
        }
        document.ShowRun(ProbabilitiesCommand::Of(copy->Graph()),
                         std::vector<bool>(static_cast<std::size_t>(copy->Graph().LinkCount())));
        document.EndRun();
    };
    run();
    document.Save();
    document.Undo();
    run(); // in place of the run undone, which the saved state followed
    document.Do(new ResetCommand(document));
    EXPECT_FALSE(document.Modified());
    // Confirming the options dialog does, even with the same values.
    document.Do(new SettingsCommand(document, document.Settings(), std::nullopt));
    EXPECT_TRUE(document.Modified());
}

// A stochastic link copied keeps its distribution, in Pathloom's own data and in the GraphML.
TEST(GraphClipboard, AStochasticLinkKeepsItsDistribution) {
    clsGraph graph;
    TestGraphs::Build(graph, "A B", "A>B");
    graph.Link(1).SetLength(std::make_shared<const LinkLength>(LinkLength::Parse("normal(4, 1)")));
    const std::unique_ptr<QMimeData> copied = GraphClipboard::Copy(graph, {1, 2});
    QMimeData graphML;
    graphML.setData(GraphClipboard::GraphMLType, copied->data(GraphClipboard::GraphMLType));
    for (const QMimeData* data : {copied.get(), &graphML}) {
        const std::unique_ptr<clsLA> read = GraphClipboard::Read(*data);
        ASSERT_TRUE(read && read->Graph().LinkCount() == 1);
        ASSERT_TRUE(read->Graph().Link(1).Length);
        EXPECT_EQ(read->Graph().Link(1).Length->Text(), "normal(4, 1)");
    }
}

} // namespace
