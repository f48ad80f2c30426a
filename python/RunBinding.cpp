#include "RunBinding.h"

#include "Interrupt.h"
#include "Latin1.h"
#include "LinkColumns.h"
#include "PathloomError.h"
#include "RunHistory.h"
#include "RunOptions.h"
#include "RunSession.h"
#include "RunSetup.h"
#include "Runner.h"

#include <cstring>
#include <memory>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <sstream>

namespace py = pybind11;

namespace {

// Hands the values to numpy without copying them again.
template <typename T> py::array ArrayOf(std::vector<T>& values, std::vector<py::ssize_t> shape) {
    auto* held = new std::vector<T>(std::move(values));
    const py::capsule owner(held, [](void* p) { delete static_cast<std::vector<T>*>(p); });
    return py::array_t<T>(shape, held->data(), owner);
}

// What is written, kept in blocks that never move and copied once into a bytes object: the
// listed paths may run to megabytes, and a string grown to hold them copies them again and again.
class TextBuffer : public std::streambuf {
  public:
    TextBuffer() { NewBlock(); }
    py::bytes Bytes() {
        const std::size_t last = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t size = (blocks_.size() - 1) * BlockSize + last;
        py::bytes bytes(nullptr, static_cast<py::ssize_t>(size));
        char* to = PyBytes_AsString(bytes.ptr());
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            const std::size_t n = i + 1 < blocks_.size() ? BlockSize : last;
            std::memcpy(to, blocks_[i].get(), n);
            to += n;
        }
        return bytes;
    }

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        NewBlock();
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }

  private:
    static constexpr std::size_t BlockSize = 1 << 20;
    void NewBlock() {
        blocks_.emplace_back(new char[BlockSize]); // not zeroed: every byte read is written
        setp(blocks_.back().get(), blocks_.back().get() + BlockSize);
    }
    std::vector<std::unique_ptr<char[]>> blocks_;
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

// Raises an exception taken before (PendingInterrupt's, a judge's) as it was.
void Reraise(const py::object& taken) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(taken.ptr())), taken.ptr());
    throw py::error_already_set();
}

RunOptions OptionsOf(const std::vector<std::string>& words) {
    RunOptions options = ParseRunOptions(words);
    if (options.Sweeping())
        throw UsageError("a sweep is pathloom.sweep(...), not a run");
    return options;
}

py::dict Run(Document& document, const std::vector<std::string>& words, const py::object& judge,
             bool history) {
    RunOptions options = OptionsOf(words);
    options.json = true;
    HistoryColumns columns(document.la.Graph().LinkCount());
    py::object raised = py::none();
    RunExtras extras;
    extras.judge = JudgeOf(judge, raised);
    if (history)
        extras.observers.push_back(&columns);
    std::ostringstream out, err;
    TextBuffer pathsText;
    std::ostream paths(&pathsText);
    extras.paths = &paths;
    const int status = [&] {
        const py::gil_scoped_release release;
        return RunOpenDocument(document.la, options, out, err, nullptr, extras);
    }();
    py::dict result;
    result["status"] = status;
    result["json"] = out.str();
    // Bytes, read as JSON only when the paths are asked for: a listing may run to megabytes.
    result["paths"] = pathsText.Bytes();
    result["errors"] = err.str();
    result["judge_error"] = raised;
    result["interrupt"] = PendingInterrupt();
    result["history"] = history ? py::object(columns.Arrays()) : py::none();
    return result;
}

// A run stepped from Python, one learned path at a time; the graph shows the probabilities
// learned so far after each.
class Session : public RunObserver {
  public:
    Session(Document& document, const std::vector<std::string>& words, py::object judge)
        : judge_(std::move(judge)) {
        const std::optional<RunSettings> settings = ApplySettings(document.la, OptionsOf(words));
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

py::object PendingInterrupt() {
    if (PyErr_CheckSignals() == 0)
        return py::none();
    return py::error_already_set().value();
}

void BindRuns(py::module_& module, py::class_<Document>& document) {
    document.def("run", &Run, py::arg("words"), py::arg("judge"), py::arg("history"));
    py::class_<Session>(module, "_Session")
        .def("next", &Session::Next)
        .def("stop", &Session::Stop)
        .def("state", &Session::State);
    document.def(
        "session",
        [](Document& d, const std::vector<std::string>& words, py::object judge) {
            return std::make_unique<Session>(d, words, std::move(judge));
        },
        py::keep_alive<0, 1>());
    document.def("link_columns", [](const Document& d) { return LinkColumns(d.la.Graph()); });
}
