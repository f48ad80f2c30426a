// The extension module `_pathloom` under the package `pathloom`: documents to build, open, save
// and export, their runs (RunBinding), sweeps, and the CSV field of a row run apart. Errors of the
// engine are pathloom.Error; a refused option is ValueError with the runner's message.

#include "CsvText.h"
#include "DocumentFile.h"
#include "GraphDefaults.h"
#include "GraphDescription.h"
#include "GraphFormats.h"
#include "Interrupt.h"
#include "Latin1.h"
#include "LinkLength.h"
#include "PathloomError.h"
#include "ProgressText.h"
#include "RunBinding.h"
#include "RunOptions.h"
#include "Sweep.h"
#include "TextTools.h"

#include <cmath>
#include <limits>
#include <pybind11/stl.h>
#include <sstream>
#include <unordered_map>

namespace py = pybind11;

namespace {

std::string Latin1Of(const std::string& text) {
    if (const auto latin1 = Latin1::FromUtf8(text))
        return *latin1;
    throw py::value_error(TextTools::Quoted(text) + " has a character outside Latin-1");
}

int32_t NodeLabelled(const clsGraph& graph, const std::string& label) {
    const std::string latin1 = Latin1Of(label);
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        if (Latin1::EqualNoCase(graph.Node(i).Label(), latin1))
            return i;
    }
    throw py::value_error("no node labelled " + TextTools::Quoted(label));
}

int32_t KindNamed(const std::string& name) {
    for (const int32_t kind :
         {LinkKind::Simple, LinkKind::Unidirectional, LinkKind::Bidirectional}) {
        if (name == KindName(kind))
            return kind;
    }
    throw py::value_error("a link's kind is simple, unidirectional or bidirectional, not " +
                          TextTools::Quoted(name));
}

// A check of the model that refuses what a caller asked for: a bad argument.
template <typename Check> void Refused(Check check) {
    try {
        check();
    } catch (const PathloomError& e) {
        throw py::value_error(e.Description());
    }
}

void AddNode(Document& d, const std::string& label, int32_t x, int32_t y) {
    const std::string latin1 = Latin1Of(label);
    Refused([&] { clsNode::CheckLabel(latin1); });
    clsGraph& graph = d.la.Graph();
    graph.AddNode(x, y);
    graph.Node(graph.NodeCount()).SetLabel(latin1);
}

// A number the link stores as a 32-bit float, refused with the Link Properties dialog's message.
float Single(double value, bool probability) {
    const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
    if (!fits || (probability && !(value >= 0.0 && value <= 1.0)))
        throw py::value_error(probability ? "Please enter Probability value correctly."
                                          : "Please enter Weight value correctly.");
    return static_cast<float>(value);
}

void AddLink(Document& d, const std::string& from, const std::string& to, const std::string& kind,
             std::optional<double> weight, std::optional<double> probability,
             std::optional<std::string> length) {
    float value = weight ? Single(*weight, false) : GraphDefaults::Weight;
    std::optional<float> given;
    if (probability)
        given = Single(*probability, true);
    // A number or a distribution, as --length takes it.
    std::shared_ptr<const LinkLength> drawn;
    if (length && LinkLength::LooksLikeDistribution(*length))
        Refused([&] { drawn = std::make_shared<const LinkLength>(LinkLength::Parse(*length)); });
    else if (length)
        value = ParseNumber("length", *length);
    clsGraph& graph = d.la.Graph();
    const int32_t a = NodeLabelled(graph, from), b = NodeLabelled(graph, to);
    const int32_t k = KindNamed(kind);
    Refused([&] { graph.CheckNewLink(a, b); });
    graph.AddLink(a, b, k);
    clsLink& link = graph.Link(graph.LinkCount());
    link.Weight = value;
    link.SetLength(drawn); // its mean the weight
    if (given)
        link.SetProbability(*given);
    else
        d.sharedOut.push_back(graph.LinkCount());
    GraphDefaults::ShareOut(graph, d.sharedOut); // the node's share changes with each link
}

py::list Nodes(const Document& d) {
    py::list nodes;
    const clsGraph& graph = d.la.Graph();
    for (int32_t i = 1; i <= graph.NodeCount(); ++i) {
        const clsNode& node = graph.Node(i);
        nodes.append(
            py::make_tuple(Latin1::ToUtf8(node.Label()), node.Position.x, node.Position.y));
    }
    return nodes;
}

// Each link's nodes as positions in Nodes: labels may repeat.
std::vector<std::pair<int32_t, int32_t>> LinkEnds(const Document& d) {
    const clsGraph& graph = d.la.Graph();
    std::unordered_map<const clsNode*, int32_t> position;
    for (int32_t i = 1; i <= graph.NodeCount(); ++i)
        position.emplace(&graph.Node(i), i - 1);
    std::vector<std::pair<int32_t, int32_t>> ends;
    for (int32_t i = 1; i <= graph.LinkCount(); ++i)
        ends.emplace_back(position.at(graph.Link(i).FromNode), position.at(graph.Link(i).ToNode));
    return ends;
}

py::list Links(const Document& d) {
    py::list links;
    const clsGraph& graph = d.la.Graph();
    for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
        const clsLink& link = graph.Link(i);
        links.append(py::make_tuple(
            Latin1::ToUtf8(link.FromNode->Label()), Latin1::ToUtf8(link.ToNode->Label()),
            KindName(link.LinkType), link.Weight, link.Probability,
            link.Length ? py::object(py::str(link.Length->Text())) : py::object(py::none())));
    }
    return links;
}

// What a sweep's keywords and documents ask for: a Graph's document (held, its bytes given
// here, as the GIL guards it) or the names of files.
struct SweepRequest {
    std::optional<std::string> held;
    RunOptions options;

    SweepRequest(const py::object& documents, const py::dict& keywords) {
        if (py::isinstance<Document>(documents))
            held = DocumentBytes(documents.cast<Document&>().la);
        options = OptionsOf(keywords, held ? std::vector<std::string>{"(graph)"}
                                           : documents.cast<std::vector<std::string>>());
        if (!options.Sweeping())
            throw UsageError("a sweep needs --jobs or --sweep");
    }
    const std::string* Held() const { return held ? &*held : nullptr; }
};

// The sweep on threads: its exit status, its rows as CSV, its messages and what Ctrl+C raised
// (PendingInterrupt). Its progress line goes to `progress`, when given.
py::tuple Sweep(const py::object& documents, const py::dict& keywords, ProgressText* progress) {
    const SweepRequest request(documents, keywords);
    std::ostringstream out, err;
    const int status = [&] {
        const py::gil_scoped_release release;
        return RunSweep(request.options, out, err, progress ? &progress->Stream() : nullptr,
                        request.Held());
    }();
    return py::make_tuple(status, out.str(), err.str(), PendingInterrupt());
}

// A sweep's rows to run one by one, where the caller likes.
std::unique_ptr<SweepRows> RowsOf(const py::object& documents, const py::dict& keywords) {
    const SweepRequest request(documents, keywords);
    std::ostringstream notes; // an import's, which run() and sweep() do not show either
    const py::gil_scoped_release release;
    return std::make_unique<SweepRows>(request.options, notes, request.Held());
}

// Row i's CSV line; Ctrl+C stops its run and raises what Python's handler makes of it.
std::string RunRow(const SweepRows& rows, int64_t i) {
    std::optional<std::string> row;
    {
        const InterruptGuard interrupt;
        const py::gil_scoped_release release;
        row = rows.Run(i);
    }
    if (const py::object interrupt = PendingInterrupt(); !interrupt.is_none())
        Reraise(interrupt);
    if (!row) { // stopped by another thread's Ctrl+C
        PyErr_SetNone(PyExc_KeyboardInterrupt);
        throw py::error_already_set();
    }
    return *row;
}

} // namespace

PYBIND11_MODULE(_pathloom, m) {
    m.doc() = "The engine of Pathloom; use the package pathloom.";
    static py::exception<PathloomError> error(m, "Error");
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const UsageError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const PathloomError& e) {
            error(e.Description().c_str());
        }
    });

    py::class_<Document> document(m, "_Document");
    // Graph(): a graph that comes from no document.
    document
        .def(py::init([] {
            auto d = std::make_unique<Document>();
            GraphDefaults::SetLearning(d->la.Settings);
            return d;
        }))
        .def("add_node", &AddNode)
        .def("add_link", &AddLink)
        .def("import_graphml",
             [](Document& d, const std::string& text, const std::string& name) {
                 return GraphFormats::ImportText(text, name, GraphFormats::Format::GraphML,
                                                 d.la.Graph())
                     .Notes();
             })
        .def("graphml",
             [](const Document& d) {
                 return GraphFormats::ExportText(d.la.Graph(), GraphFormats::Format::GraphML);
             })
        .def("nodes", &Nodes)
        .def("links", &Links)
        .def("link_ends", &LinkEnds)
        .def("save", [](Document& d, const std::string& path) { SaveGraph(d.la, path); })
        .def("export", [](const Document& d, const std::string& path) {
            if (!GraphFormats::ExportByName(d.la.Graph(), path))
                throw py::value_error("export writes .graphml, .xml, .dot, .gv or .csv: '" + path +
                                      "'");
        });
    m.def("open", [](const std::string& path) {
        auto d = std::make_unique<Document>();
        const std::vector<std::string> notes = GraphFormats::OpenByName(d->la, path);
        return py::make_tuple(std::move(d), notes);
    });
    m.def("sweep", &Sweep, py::arg("documents"), py::arg("keywords"),
          py::arg("progress") = nullptr);
    py::class_<ProgressText>(m, "_Progress").def(py::init<>()).def("text", &ProgressText::Text);
    m.def("csv_field", [](const std::string& text) {
        std::string field;
        CsvText::AppendField(field, text);
        return field;
    });
    // The run's settings as their registry declares them: Python's name, help, choices (or
    // None) and whether sweeps take it, for the package's docstrings.
    m.def("settings", [] {
        py::list settings;
        for (const Setting& setting : SettingRegistry::All()) {
            py::object choices = py::none();
            if (setting.choices) {
                py::list names;
                for (const Choices::Row& choice : *setting.choices)
                    names.append(choice.typed);
                choices = names;
            }
            settings.append(py::make_tuple(setting.PythonName(), setting.help, choices,
                                           setting.sweep != Setting::Sweep::No));
        }
        return settings;
    });
    py::class_<SweepRows>(m, "_SweepRows")
        .def(py::init(&RowsOf))
        .def("header", &SweepRows::Header)
        .def("rows", [](const SweepRows& r) { return py::make_tuple(r.First(), r.End()); })
        .def("run", &RunRow);
    BindRuns(m, document);
}
