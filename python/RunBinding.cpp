#include "RunBinding.h"

#include "Interrupt.h"
#include "JsonText.h"
#include "Latin1.h"
#include "LinkColumns.h"
#include "PathloomError.h"
#include "ProgressText.h"
#include "RunHistory.h"
#include "RunOptions.h"
#include "RunResult.h"
#include "RunSession.h"
#include "RunSetup.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

namespace py = pybind11;

namespace {

// A number as json.loads reads the JSON answer's text of it: an int when the text has no point
// and no exponent, else the float nearest to the text; None for null.
py::object JsonNumber(const std::string& text) {
    if (text == "null")
        return py::none();
    if (text.find_first_of(".e") == std::string::npos)
        return py::reinterpret_steal<py::object>(PyLong_FromString(text.c_str(), nullptr, 10));
    double nearest = 0;
    std::from_chars(text.data(), text.data() + text.size(), nearest);
    return py::float_(nearest);
}

// The same for a 32-bit number: a whole one below 100000 is written without a point or an
// exponent, as its fixed text is never the longer (a quick way for the many costs of a listing).
py::object JsonNumber(float value) {
    if (std::fabs(value) < 1e5F && value == std::trunc(value))
        return py::int_(static_cast<long>(value));
    return JsonNumber(JsonText::Float(value));
}

// A figure as json.loads reads what the JSON answer writes of it.
py::object PythonOf(const Figure::Value& value) {
    return std::visit(
        [](const auto& held) -> py::object {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return py::none();
            } else if constexpr (std::is_same_v<Held, float>) {
                return JsonNumber(held);
            } else if constexpr (std::is_same_v<Held, double>) {
                return JsonNumber(JsonText::Double(held));
            } else if constexpr (std::is_same_v<Held, Figures>) {
                py::dict object;
                for (const Figure& figure : held)
                    object[figure.name] = PythonOf(figure.value);
                return std::move(object);
            } else if constexpr (std::is_same_v<Held, std::vector<Figures>>) {
                py::list list;
                for (const Figures& object : held)
                    list.append(PythonOf(object));
                return std::move(list);
            } else {
                return py::cast(held);
            }
        },
        value);
}

// Hands the values to numpy without copying them again.
template <typename T> py::array ArrayOf(std::vector<T>& values, std::vector<py::ssize_t> shape) {
    auto* held = new std::vector<T>(std::move(values));
    const py::capsule owner(held, [](void* p) { delete static_cast<std::vector<T>*>(p); });
    return py::array_t<T>(shape, held->data(), owner);
}

// The listed paths, kept as their numbers, costs and links until Python asks for them: then
// each becomes the dict of the JSON answer, its trace made of its links' parts, each part made
// once.
class PathListing : public RunObserver {
  public:
    // The graph's owner (the Python object of its document) is kept while the listing lives.
    PathListing(const clsGraph& graph, py::object owner, bool quiet)
        : graph_(graph), owner_(std::move(owner)), quiet_(quiet) {}

    void PathLearned(const LearnedPath& path) override {
        if (quiet_)
            return;
        numbers_.push_back(path.number);
        costs_.push_back(path.answer.cost);
        const PathView links = path.LinkPositions();
        links_.insert(links_.end(), links.begin(), links.end());
        sizes_.push_back(links.length);
    }

    // Once: each path's links are let go as its trace is made, so that the traces take the
    // memory back rather than new memory (a listing may run to a hundred megabytes).
    py::list Take() {
        namespace Names = Report::Names;
        const py::str number(Names::Number), trace(Names::Trace), cost(Names::Cost);
        parts_.resize(static_cast<std::size_t>(graph_.LinkCount()));
        py::list paths(numbers_.size());
        for (std::size_t i = 0; i < numbers_.size(); ++i) {
            py::dict path;
            path[number] = py::int_(numbers_[i]);
            path[trace] = TraceOf(static_cast<std::size_t>(sizes_[i]));
            path[cost] = JsonNumber(costs_[i]);
            paths[i] = std::move(path);
        }
        numbers_ = {};
        costs_ = {};
        sizes_ = {};
        return paths;
    }

  private:
    // The trace of the first `size` links, which are let go; its Latin-1 text is the Python
    // string's own one-byte form.
    py::str TraceOf(std::size_t size) {
        const auto end = links_.begin() + static_cast<std::ptrdiff_t>(size);
        std::size_t length = 0;
        Py_UCS4 widest = 0;
        for (auto link = links_.begin(); link != end; ++link) {
            const Part& part = PartOf(*link);
            length += part.text.size();
            widest = std::max(widest, part.widest);
        }
        PyObject* text = PyUnicode_New(static_cast<Py_ssize_t>(length), widest);
        if (!text)
            throw py::error_already_set();
        auto* at = static_cast<char*>(PyUnicode_DATA(text));
        for (auto link = links_.begin(); link != end; ++link) {
            const std::string& part = parts_[static_cast<std::size_t>(*link)].text;
            std::memcpy(at, part.data(), part.size());
            at += part.size();
        }
        links_.erase(links_.begin(), end);
        return py::reinterpret_steal<py::str>(text);
    }

    // A link's part of a trace ("A->B:"), in Latin-1, with its widest character.
    struct Part {
        std::string text;
        Py_UCS4 widest = 0;
    };

    const Part& PartOf(int32_t link) {
        Part& part = parts_[static_cast<std::size_t>(link)];
        if (part.text.empty()) {
            clsPathStack one;
            one.Push(&graph_.Link(link + 1));
            part.text = one.Trace();
            for (const char c : part.text)
                part.widest = std::max<Py_UCS4>(part.widest, static_cast<unsigned char>(c));
        }
        return part;
    }

    const clsGraph& graph_;
    py::object owner_;
    bool quiet_;
    std::vector<int32_t> numbers_;
    std::vector<float> costs_;
    std::vector<int32_t> sizes_; // each path's number of links
    std::deque<int32_t> links_;  // every path's, one after the other, never moved
    std::vector<Part> parts_;    // by link position, made when first met
};

// The links as the run left them, made the JSON answer's dicts when Python asks for them: a
// graph's links may be many, and a later run changes them.
struct LinkListing {
    LinkListing(const clsGraph& graph, py::object owner) : graph(graph), owner(std::move(owner)) {
        for (int32_t i = 1; i <= graph.LinkCount(); ++i) {
            weights.push_back(graph.Link(i).Weight);
            probabilities.push_back(graph.Link(i).Probability);
        }
    }

    py::list Take() const {
        py::list links;
        for (std::size_t i = 0; i < weights.size(); ++i)
            links.append(PythonOf(Report::LinkFigures(graph, static_cast<int32_t>(i + 1),
                                                      weights[i], probabilities[i])));
        return links;
    }

    const clsGraph& graph; // links are only ever added: the first ones stay as they were
    py::object owner;      // of the graph
    std::vector<float> weights, probabilities;
};

// Every learned path as a row of columns, each link's probability included.
class HistoryColumns : public RunObserver {
  public:
    explicit HistoryColumns(int32_t links) : links_(links) {}

    void PathLearned(const LearnedPath& path) override {
        const RunHistory::Point point = RunHistory::PointOf(path);
        n_.push_back(point.x);
        cost_.push_back(point.cost);
        answer_.push_back(point.answer);
        bestCost_.push_back(point.bestCost);
        bestProbability_.push_back(point.bestProbability);
        const float* all = path.Probabilities();
        probabilities_.insert(probabilities_.end(), all, all + links_);
    }

    py::dict Arrays() {
        const auto rows = static_cast<py::ssize_t>(n_.size());
        py::dict arrays;
        arrays["n"] = ArrayOf(n_, {rows});
        arrays["cost"] = ArrayOf(cost_, {rows});
        arrays["answer"] = ArrayOf(answer_, {rows});
        arrays["best_cost"] = ArrayOf(bestCost_, {rows});
        arrays["best_probability"] = ArrayOf(bestProbability_, {rows});
        arrays["probabilities"] = ArrayOf(probabilities_, {rows, links_});
        return arrays;
    }

  private:
    py::ssize_t links_;
    std::vector<int64_t> n_;
    std::vector<float> cost_;
    std::vector<double> answer_;
    std::vector<float> bestCost_;
    std::vector<double> bestProbability_;
    std::vector<float> probabilities_;
};

// A Python judge, called with the GIL held: its links' positions and its cost in, its answer
// out. What it raises ends the run with its message and is kept in `raised` for the caller.
UserJudge::Function JudgeOf(const py::object& judge, py::object& raised) {
    if (judge.is_none())
        return {};
    return [&judge, &raised](PathView path, float cost) -> double {
        const py::gil_scoped_acquire acquire;
        try {
            py::list links(static_cast<std::size_t>(path.length));
            for (int32_t i = 0; i < path.length; ++i)
                links[static_cast<std::size_t>(i)] = py::int_(path.links[i]);
            return py::float_(judge(links, cost));
        } catch (py::error_already_set& e) {
            raised = e.value();
            Raise("Judge", py::str(e.type().attr("__name__")).cast<std::string>() + ": " +
                               py::str(e.value()).cast<std::string>());
        }
    };
}

// The options of a run, not a sweep.
RunOptions RunOptionsOf(const py::dict& keywords) {
    RunOptions options = OptionsOf(keywords, {"(graph)"});
    if (options.Sweeping())
        throw UsageError("a sweep is pathloom.sweep(...), not a run");
    return options;
}

py::dict Run(const py::object& document, const py::dict& keywords, const py::object& judge,
             bool history, ProgressText* progress) {
    const RunOptions options = RunOptionsOf(keywords);
    clsLA& la = document.cast<Document&>().la;
    ApplyLengths(la.Graph(), options);
    const std::optional<RunSettings> settings = ApplySettings(la, options);
    HistoryColumns columns(la.Graph().LinkCount());
    auto listing = std::make_unique<PathListing>(la.Graph(), document, options.quiet);
    py::object raised = py::none();
    RunExtras extras{{listing.get()}, JudgeOf(judge, raised)};
    if (history)
        extras.observers.push_back(&columns);
    const RunResult result = [&] {
        std::optional<InterruptGuard> interrupt;
        const py::gil_scoped_release release;
        std::unique_ptr<RunSession> session;
        if (settings) {
            interrupt.emplace();
            session = RunToEnd(la, *settings, extras, progress ? &progress->Stream() : nullptr);
        }
        return ResultOf(la, session.get(), options);
    }();
    py::dict figures;
    if (result.ran)
        figures[Report::Names::Paths] = py::none(); // the listing's, when asked for
    for (const Figures& line : result.Lines()) {
        for (const Figure& figure : line)
            figures[figure.name] = PythonOf(figure.value);
    }
    figures[Report::Names::Links] = py::none(); // LinkListing's, when asked for
    auto links = std::make_unique<LinkListing>(la.Graph(), document);
    std::vector<float> probabilities = links->probabilities;
    py::dict answer;
    answer["figures"] = figures;
    answer["paths"] = result.ran ? py::cast(std::move(listing)) : py::object(py::none());
    answer["links"] = py::cast(std::move(links));
    answer["probabilities"] = ArrayOf(probabilities, {la.Graph().LinkCount()});
    answer["judge_error"] = raised;
    answer["interrupt"] = PendingInterrupt();
    answer["history"] = history ? py::object(columns.Arrays()) : py::none();
    return answer;
}

// A run stepped from Python, one learned path at a time; the graph shows the probabilities
// learned so far after each.
class Session : public RunObserver {
  public:
    Session(Document& document, const py::dict& keywords, py::object judge)
        : judge_(std::move(judge)) {
        const RunOptions options = RunOptionsOf(keywords);
        ApplyLengths(document.la.Graph(), options);
        const std::optional<RunSettings> settings = ApplySettings(document.la, options);
        if (!settings)
            throw UsageError("a session needs --method");
        session_ = std::make_unique<RunSession>(document.la.Graph(), document.la.Ranges(),
                                                *settings, JudgeOf(judge_, raised_));
        session_->AddObserver(*this);
    }

    void PathLearned(const LearnedPath& path) override {
        const py::gil_scoped_acquire acquire; // Next steps without it
        py::dict learned;
        learned["number"] = path.number;
        learned["sample"] = path.sample;
        learned["trace"] = Latin1::ToUtf8(path.Links().Trace());
        learned["cost"] = path.answer.cost;
        learned["answer"] = path.answer.beta;
        learned["rewarded"] = path.answer.favourable;
        learned["changed"] = path.ChangedLinks();
        learned["best_probability"] = path.BestProbability();
        learned_ = learned;
        found_ = true;
    }

    // The next learned path, or None once the run has ended. Steps without the GIL, as a walk
    // may go on long without a path; Ctrl+C stops the run as it stops run(), and raises what
    // Python's handler makes of it.
    py::object Next() {
        learned_ = py::none();
        found_ = false;
        {
            const InterruptGuard interrupt;
            const py::gil_scoped_release release;
            while (!found_ && !StopRequested && session_->Step(1) == RunState::Running) {
            }
            if (StopRequested)
                session_->Stop();
            session_->ShowPath();
        }
        if (const py::object interrupt = PendingInterrupt(); !interrupt.is_none())
            Reraise(interrupt);
        // What a judge raised to end the program (KeyboardInterrupt, SystemExit) goes on at
        // once, not after the path it failed on.
        if (!raised_.is_none() && !py::isinstance(raised_, py::handle(PyExc_Exception)))
            Reraise(raised_);
        return learned_;
    }

    void Stop() { session_->Stop(); }

    py::dict State() const {
        static const char* const names[] = {"running", "paused", "finished", "failed"};
        py::dict state;
        state["state"] = names[static_cast<int>(session_->State())];
        state["message"] = session_->Message();
        state["path_count"] = session_->PathCount();
        state["stopped"] = session_->Stopped();
        state["not_found"] = session_->NotFound();
        state["judge_error"] = raised_;
        return state;
    }

  private:
    py::object judge_;
    py::object raised_ = py::none();
    std::unique_ptr<RunSession> session_;
    py::object learned_ = py::none();
    bool found_ = false; // a path was learned in this Next
};

} // namespace

void Reraise(const py::object& taken) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(taken.ptr())), taken.ptr());
    throw py::error_already_set();
}

py::object PendingInterrupt() {
    if (PyErr_CheckSignals() == 0)
        return py::none();
    return py::error_already_set().value();
}

RunOptions OptionsOf(const py::dict& keywords, const std::vector<std::string>& documents) {
    RunOptions options;
    options.documents = documents;
    for (const auto& [key, value] : keywords) {
        const bool flag = py::isinstance<py::bool_>(value);
        if (value.is_none() || (flag && !value.cast<bool>()))
            continue;
        const std::string name = py::str(key);
        if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value) ||
            PyRange_Check(value.ptr()) || py::isinstance<py::array>(value)) {
            std::string values; // none of a setting that sweeps take holds a comma
            for (const py::handle item : value)
                values += (values.empty() ? "" : ",") + py::str(item).cast<std::string>();
            TakeOption(options, "--sweep", [&] { return name + "=" + values; });
            continue;
        }
        std::string option = "--" + name;
        std::replace(option.begin() + 2, option.end(), '_', '-');
        TakeOption(options, option, [&, flag]() -> std::string {
            if (flag)
                throw UsageError("missing value after " + option);
            return py::str(value);
        });
    }
    CheckRunOptions(options);
    return options;
}

void BindRuns(py::module_& module, py::class_<Document>& document) {
    document.def("run", &Run, py::arg("keywords"), py::arg("judge"), py::arg("history"),
                 py::arg("progress") = nullptr);
    py::class_<PathListing>(module, "_PathListing").def("take", &PathListing::Take);
    py::class_<LinkListing>(module, "_LinkListing").def("take", &LinkListing::Take);
    py::class_<Session>(module, "_Session")
        .def("next", &Session::Next)
        .def("stop", &Session::Stop)
        .def("state", &Session::State);
    document.def(
        "session",
        [](Document& d, const py::dict& keywords, py::object judge) {
            return std::make_unique<Session>(d, keywords, std::move(judge));
        },
        py::keep_alive<0, 1>());
    document.def("link_columns", [](const Document& d) { return LinkColumns(d.la.Graph()); });
}
