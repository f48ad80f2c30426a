#include "Sweep.h"

#include "Choices.h"
#include "CsvText.h"
#include "DocumentExtension.h"
#include "DocumentFile.h"
#include "Documents.h"
#include "ExperimentSummary.h"
#include "Interrupt.h"
#include "JsonText.h"
#include "Latin1.h"
#include "LinkColumns.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "ProgressLine.h"
#include "Report.h"
#include "RunSession.h"
#include "RunSetup.h"
#include "Runner.h"
#include "SafeFile.h"
#include "SweepSummary.h"
#include "TextTools.h"
#include "clsLA.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using CsvText::AppendField;
using CsvText::AppendNumber;

constexpr std::size_t MaxAxisValues = 1000000;
constexpr int64_t MaxRuns = 100000000;

// ---- Axes ----

std::vector<std::string> SplitList(const std::string& option, const std::string& list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        items.push_back(list.substr(start, comma - start));
        if (items.back().empty())
            throw UsageError("an empty value in " + option);
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

std::vector<double> RealRange(const std::string& option, double from, double to, double step) {
    if (!(step > 0) || !(from <= to))
        throw UsageError(option + ": a range needs FROM <= TO and a STEP above 0");
    // The end counts when it is within rounding of a step; later values stop short of it.
    const double span = (to - from) / step;
    if (span >= double(MaxAxisValues))
        throw UsageError(option + ": more than " + std::to_string(MaxAxisValues) + " values");
    const auto last = static_cast<int64_t>(std::floor(span + 1e-9));
    std::vector<double> values;
    for (int64_t k = 0; k <= last; ++k) {
        double value = from + static_cast<double>(k) * step;
        if (k == last && std::fabs(value - to) <= 1e-9 * std::max(1.0, std::fabs(to)))
            value = to;
        values.push_back(std::min(value, to));
        // Runs take these settings as 32-bit floats: a finer step would run one value twice.
        if (k > 0 &&
            static_cast<float>(values[values.size() - 2]) == static_cast<float>(values.back()))
            throw UsageError(option + ": the STEP " + JsonText::Double(step) +
                             " is below the precision of the values (" +
                             JsonText::Double(values[values.size() - 2]) + " and " +
                             JsonText::Double(values.back()) + " run as one)");
    }
    return values;
}

std::vector<Setting::Value> SeedRange(const std::string& option, uint64_t from, uint64_t to,
                                      uint64_t step) {
    if (step == 0 || from > to)
        throw UsageError(option + ": a range needs FROM <= TO and a STEP above 0");
    if ((to - from) / step >= MaxAxisValues)
        throw UsageError(option + ": more than " + std::to_string(MaxAxisValues) + " values");
    std::vector<Setting::Value> values((to - from) / step + 1);
    for (std::size_t k = 0; k < values.size(); ++k)
        values[k] = from + k * step;
    return values;
}

} // namespace

SweepAxis ParseSweepAxis(const std::string& text) {
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const Setting* setting = SettingRegistry::Find(name);
    if (!setting || setting->sweep == Setting::Sweep::No) {
        std::vector<std::string> swept;
        for (const Setting& known : SettingRegistry::All()) {
            if (known.sweep != Setting::Sweep::No)
                swept.push_back(known.typed);
        }
        throw UsageError("unknown setting to sweep: " + TextTools::Quoted(name) + " (" +
                         SettingRegistry::Listed(swept) + ")");
    }
    const std::string option = "--sweep " + std::string(setting->typed);
    const std::string given = equals == std::string::npos ? "" : text.substr(equals + 1);
    if (given.empty())
        throw UsageError(option + " needs values: NAME=FROM:TO:STEP or NAME=A,B,...");
    SweepAxis axis{setting, {}};
    if (given.find(':') == std::string::npos) {
        for (const std::string& item : SplitList(option, given))
            axis.values.push_back(AsUsage([&] { return setting->Parse(item, option); }));
        return axis;
    }
    const bool whole =
        setting->type == Setting::Type::Seed || setting->type == Setting::Type::Whole;
    if (setting->type != Setting::Type::Real && !whole)
        throw UsageError(option + (setting->choices ? " takes a list of names" : " takes a list"));
    const std::vector<std::string> parts = SplitList(option, [&] {
        std::string commas = given;
        std::replace(commas.begin(), commas.end(), ':', ',');
        return commas;
    }());
    if (parts.size() != 3 || given.find(',') != std::string::npos)
        throw UsageError(option + ": a range is FROM:TO:STEP");
    if (whole) {
        axis.values = SeedRange(option, ParseWhole(option, parts[0]), ParseWhole(option, parts[1]),
                                ParseWhole(option, parts[2]));
        for (Setting::Value& value : axis.values) {
            if (setting->type == Setting::Type::Whole) // as RunSettings holds it
                value = static_cast<int64_t>(std::get<uint64_t>(value));
        }
        return axis;
    }
    // Worked out in 64 bits, then run as 32-bit floats.
    for (const double value :
         RealRange(option, ParseDouble(option, parts[0]), ParseDouble(option, parts[1]),
                   ParseDouble(option, parts[2])))
        axis.values.emplace_back(std::in_place_type<float>, static_cast<float>(value));
    return axis;
}

// ---- The plan: documents, axes, and the combination of a row ----

struct SweepDocument {
    std::string path;
    std::string bytes;
    RunSettings base;
    std::vector<std::size_t> columnOf; // the link columns of its links, in link order
};

struct SweepPlan {
    std::vector<SweepDocument> documents;
    std::vector<SweepAxis> axes;
    std::vector<std::string> linkColumns; // every document's, in the order they first appear
    int64_t perDocument = 1;
    int64_t first = 0, end = 0; // the rows of this part
    // The runs of one combination of the settings other than the seed lie in blocks of
    // seeds x groups consecutive rows: the seed axis, then the axes after it.
    int64_t seeds = 1, groups = 1;
    // A stochastic experiment (a stochastic link, or an experiment's choice of a setting anywhere
    // in the sweep): its rows and summary carry the experiment's columns.
    bool experiment = false;
    // The settings the rows name after the document, as the sweep takes them.
    std::vector<const Setting*> columns;

    // The settings of row i, with its document.
    RunSettings SettingsOf(int64_t i, std::size_t& document) const {
        document = static_cast<std::size_t>(i / perDocument);
        RunSettings s = documents[document].base;
        int64_t rest = i % perDocument;
        for (auto axis = axes.rbegin(); axis != axes.rend(); ++axis) {
            const auto size = static_cast<int64_t>(axis->values.size());
            axis->setting->Set(s, axis->values[static_cast<std::size_t>(rest % size)]);
            rest /= size;
        }
        return s;
    }

    // Whether row i repeats a row before it: a setting that only some parts read (Sweep::WhenRead)
    // swept past its first value where none of the row's parts reads it.
    bool Repeats(int64_t i) const {
        std::size_t document = 0;
        const RunSettings s = SettingsOf(i, document);
        int64_t rest = i % perDocument;
        for (auto axis = axes.rbegin(); axis != axes.rend(); ++axis) {
            const auto size = static_cast<int64_t>(axis->values.size());
            if (rest % size > 0 && axis->setting->sweep == Setting::Sweep::WhenRead &&
                !axis->setting->ReadIn(s))
                return true;
            rest /= size;
        }
        return false;
    }

    // Whether a part of some run of the plan reads the setting: a choice of an axis, or of a
    // document where no axis sweeps it.
    bool Reads(const Setting& setting) const {
        for (const Setting& chooser : SettingRegistry::All()) {
            if (!chooser.choices)
                continue;
            const auto reads = [&](const Setting::Value& value) {
                const Choices::Row* row = chooser.ChoiceOf(value);
                return row && setting.ReadBy(*row);
            };
            const auto axis = std::find_if(axes.begin(), axes.end(), [&](const SweepAxis& a) {
                return a.setting == &chooser;
            });
            if (axis != axes.end()
                    ? std::any_of(axis->values.begin(), axis->values.end(), reads)
                    : std::any_of(documents.begin(), documents.end(), [&](const SweepDocument& d) {
                          return reads(chooser.Get(d.base));
                      }))
                return true;
        }
        return false;
    }
};

namespace {

SweepPlan MakePlan(const RunOptions& options, std::ostream& err, const std::string* held) {
    SweepPlan plan;
    std::map<std::string, std::size_t> columns;
    for (const std::string& path : options.documents) {
        std::vector<std::string> notes;
        SweepDocument document{path, held ? *held : DocumentBytesOf(path, notes), {}, {}};
        for (const std::string& note : notes)
            err << "pathloom-run: " << Report::ForTerminal(note) << '\n';
        clsLA la;
        LoadGraphFromBytes(la, document.bytes, path);
        ApplyLengths(la.Graph(), options);
        if (!options.lengths.empty())
            document.bytes = DocumentBytes(la);
        document.base = RequestedSettings(la, options);
        plan.experiment =
            plan.experiment || DocumentExtension::Needed(la) || document.base.ExperimentChoices();
        for (const std::string& name : LinkColumns(la.Graph())) {
            const auto [at, added] = columns.emplace(name, plan.linkColumns.size());
            if (added)
                plan.linkColumns.push_back(name);
            document.columnOf.push_back(at->second);
        }
        plan.documents.push_back(std::move(document));
    }
    bool afterSeed = false;
    for (const std::string& text : options.sweeps) {
        plan.axes.push_back(ParseSweepAxis(text));
        const Setting& setting = *plan.axes.back().setting;
        for (std::size_t k = 0; k + 1 < plan.axes.size(); ++k) {
            if (plan.axes[k].setting == &setting)
                throw UsageError("a setting swept twice: " + TextTools::Cut(text));
        }
        // A setting the path sources read goes with the methods whose sources read it.
        const Setting& method = SettingRegistry::Of(&RunSettings::GraphSearchMethod);
        if (setting.ReadThrough(method) &&
            !setting.ReadBy(*Choices::SearchMethods.Of(*options.Method())))
            throw UsageError("--sweep " + std::string(setting.typed) + " goes with " +
                             method.Option() + " " + setting.Readers(method));
        const auto size = static_cast<int64_t>(plan.axes.back().values.size());
        plan.perDocument *= size;
        if (plan.perDocument > MaxRuns)
            throw UsageError("a sweep of more than " + std::to_string(MaxRuns) + " runs");
        plan.experiment = plan.experiment || setting.sweep == Setting::Sweep::Experiment;
        const bool seed = setting.sweep == Setting::Sweep::Apart;
        if (seed)
            plan.seeds = size;
        else if (afterSeed)
            plan.groups *= size;
        afterSeed = afterSeed || seed;
    }
    const int64_t total = plan.perDocument * static_cast<int64_t>(plan.documents.size());
    const auto [k, n] = options.part.value_or(std::pair<int64_t, int64_t>{1, 1});
    // total * k / n without the product, which many documents and parts take past 64 bits.
    const auto rowsBefore = [&, n = n](int64_t part) {
        return total / n * part + total % n * part / n;
    };
    plan.first = rowsBefore(k - 1);
    plan.end = rowsBefore(k);
    for (const Setting& setting : SettingRegistry::All()) {
        const bool swept =
            std::any_of(plan.axes.begin(), plan.axes.end(),
                        [&](const SweepAxis& axis) { return axis.setting == &setting; });
        if (setting.sweep == Setting::Sweep::WhenRead && (swept || options.Given(setting)) &&
            !plan.Reads(setting))
            throw UsageError(setting.GoesWith());
        if (setting.sweep == Setting::Sweep::Always ||
            (setting.sweep == Setting::Sweep::Experiment && plan.experiment) ||
            (setting.sweep == Setting::Sweep::WhenRead && plan.Reads(setting)))
            plan.columns.push_back(&setting);
    }
    return plan;
}

// ---- One run ----

struct RunRow {
    std::string csv;
    SummaryRecord record;
    ExperimentRecord experiment;
};

std::string SettingsHeaderOf(const SweepPlan& plan) {
    std::string header = "document";
    for (const Setting* setting : plan.columns)
        header += "," + setting->ColumnName();
    return header;
}

// The fields of SettingsHeaderOf for a run of document `path` with settings s (as normalised).
std::string SettingsFields(const SweepPlan& plan, const std::string& path, const RunSettings& s) {
    std::string out;
    AppendField(out, Utf8::FromBytes(path));
    for (const Setting* setting : plan.columns) {
        out += ',';
        const Setting::Value value = setting->Get(s);
        if (setting->sweep == Setting::Sweep::WhenRead && !setting->ReadIn(s))
            continue; // none of the run's parts reads it
        if (const float* number = std::get_if<float>(&value))
            AppendNumber(out, *number); // nothing for a number that is none
        else
            AppendField(out, setting->Text(value));
    }
    return out;
}

std::string SettingsFields(const SweepPlan& plan, int64_t i) {
    std::size_t d = 0;
    const RunSettings s = plan.SettingsOf(i, d).Normalised();
    return SettingsFields(plan, plan.documents[d].path, s);
}

// The columns ExperimentHeader names, after the best path's.
constexpr const char* ExperimentHeader = ",link draws,preferred path,preferred-path probability,"
                                         "expected shortest path,expected shortest cost,"
                                         "converged on shortest";

void AppendExperiment(std::string& out, const RunSession& session) {
    const MeasuredPath preferred = session.PreferredPath();
    const MeasuredPath& shortest = session.ExpectedShortest();
    out += ',';
    AppendNumber(out, session.LinkDraws());
    out += ',';
    if (preferred.found)
        AppendField(out, Latin1::ToUtf8(session.TraceOf(preferred.links)));
    out += ',';
    if (preferred.found)
        AppendNumber(out, preferred.probability);
    out += ',';
    if (shortest.found)
        AppendField(out, Latin1::ToUtf8(session.TraceOf(shortest.links)));
    else if (shortest.undefined)
        out += "undefined";
    out += ',';
    if (shortest.found)
        AppendNumber(out, shortest.cost);
    out += session.ConvergedOnShortest() ? ",true" : ",false";
}

std::string RowsHeader(const SweepPlan& plan) {
    std::string header = SettingsHeaderOf(plan) +
                         ",seed,status,message,paths,samples,converged at,best cost,"
                         "best-path probability" +
                         (plan.experiment ? ExperimentHeader : "");
    for (const std::string& name : plan.linkColumns) {
        header += ',';
        AppendField(header, name);
    }
    return header;
}

// The row of combination i; nothing when Ctrl+C stopped its run or it repeats another row.
std::optional<RunRow> RunOne(const SweepPlan& plan, int64_t i) {
    if (plan.Repeats(i))
        return std::nullopt;
    std::size_t d = 0;
    const RunSettings asked = plan.SettingsOf(i, d);
    const RunSettings s = asked.Normalised();
    const bool sampled = s.GraphSearchMethod == SearchMethod::Sample;
    const SweepDocument& document = plan.documents[d];

    RunRow row;
    std::string& out = row.csv;
    out = SettingsFields(plan, document.path, s);
    out += ',';
    if (sampled)
        AppendNumber(out, static_cast<int64_t>(s.Seed));
    out += ',';

    clsLA la;
    LoadGraphFromBytes(la, document.bytes, document.path);
    if (const auto refusal = asked.Validate(la.Graph())) {
        out += "invalid,";
        AppendField(out, refusal->message);
        out += ",,,,,";
        if (plan.experiment)
            out += ",,,,,,";
        out.append(plan.linkColumns.size(), ',');
        out += '\n';
        return row;
    }
    RunSession session(la.Graph(), la.Ranges(), s);
    while (session.Step(1 << 16) == RunState::Running) {
        if (StopRequested)
            return std::nullopt;
    }
    const bool failed = session.State() == RunState::Failed;
    out += failed ? "error," : session.NotFound() ? "not-found," : "ok,";
    if (failed)
        AppendField(out, Utf8::FromBytes(session.Message()));
    out += ',';
    AppendNumber(out, static_cast<int64_t>(session.PathCount()));
    out += ',';
    if (sampled)
        AppendNumber(out, session.Samples());
    out += ',';
    if (session.ConvergedAt() > 0)
        AppendNumber(out, session.ConvergedAt());
    const bool found = !session.BestPath().empty();
    out += ',';
    if (found)
        AppendNumber(out, session.BestCost());
    out += ',';
    if (found)
        AppendNumber(out, session.BestProbability());
    if (plan.experiment)
        AppendExperiment(out, session);
    std::vector<std::string> cells(plan.linkColumns.size());
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j)
        AppendNumber(cells[document.columnOf[static_cast<std::size_t>(j - 1)]],
                     la.Graph().Link(j).Probability);
    for (const std::string& cell : cells) {
        out += ',';
        out += cell;
    }
    out += '\n';
    row.record.valid = true;
    row.record.hasBest = found;
    row.record.bestCost = session.BestCost();
    row.record.convergedAt = session.ConvergedAt();
    row.experiment.valid = true;
    row.experiment.converged = session.ConvergedOnShortest();
    row.experiment.undefined = session.ExpectedShortest().undefined;
    row.experiment.samples = session.ConvergedAt() > 0 ? session.ConvergedAt() : session.Samples();
    row.experiment.linkDraws = session.LinkDraws();
    return row;
}

// ---- Threads ----

// The rows finished after a slow one wait for it: up to a megabyte of them, beyond that at most
// a few per job (a row of a large graph holds megabytes of link columns), and the jobs that would
// run further ahead wait too. Small rows never make a job wait for each row handed on.
constexpr int64_t RowsAheadPerJob = 4;
constexpr std::size_t HeldBytes = 1 << 20;

// Runs the plan's rows on `jobs` threads and hands them to `take` in row order, with their
// numbers; rows whose runs Ctrl+C stopped, and rows that repeat another, are left out.
void RunRows(const SweepPlan& plan, int jobs, std::ostream* progress,
             const std::function<void(int64_t, const RunRow&)>& take) {
    using std::chrono::milliseconds;
    std::mutex mutex;
    std::condition_variable changed, room;
    std::map<int64_t, std::optional<RunRow>> finished;
    std::atomic<int64_t> next{plan.first};
    int64_t written = plan.first;
    std::size_t heldBytes = 0; // of the finished rows
    int running = jobs;
    std::string failure; // an error no row can hold (out of memory): the sweep stops with it
    const auto work = [&] {
        for (int64_t i; (i = next++) < plan.end && !StopRequested;) {
            {
                // Ctrl+C cannot notify: look again now and then.
                std::unique_lock<std::mutex> lock(mutex);
                while (i >= written + RowsAheadPerJob * jobs && heldBytes >= HeldBytes &&
                       !StopRequested)
                    room.wait_for(lock, milliseconds(100));
            }
            std::optional<RunRow> row;
            try {
                if (!StopRequested)
                    row = RunOne(plan, i);
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> lock(mutex);
                failure = e.what();
                StopRequested = true;
            }
            std::lock_guard<std::mutex> lock(mutex);
            heldBytes += row ? row->csv.size() : 0;
            finished.emplace(i, std::move(row));
            changed.notify_all();
        }
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        changed.notify_all();
    };
    std::vector<std::thread> threads;
    for (int j = 0; j < jobs; ++j)
        threads.emplace_back(work);

    ProgressLine line(progress);
    const int64_t total = plan.end - plan.first;
    std::unique_lock<std::mutex> lock(mutex);
    while (written < plan.end) {
        changed.wait_for(lock, milliseconds(500),
                         [&] { return finished.count(written) > 0 || running == 0; });
        line.Show([done = written - plan.first, total](double seconds) {
            const double left = done > 0 ? seconds * double(total - done) / double(done) : 0;
            return std::to_string(done) + "/" + std::to_string(total) + " runs, " +
                   NumberText::Fixed(left, 0) + " s left";
        });
        const auto row = finished.find(written);
        if (row == finished.end()) {
            if (running == 0)
                ++written; // never run or stopped: left out
            continue;
        }
        std::optional<RunRow> taken = std::move(row->second);
        finished.erase(row);
        heldBytes -= taken ? taken->csv.size() : 0;
        const int64_t number = written++;
        room.notify_all();
        if (taken) {
            lock.unlock();
            take(number, *taken);
            lock.lock();
        }
    }
    lock.unlock();
    for (std::thread& thread : threads)
        thread.join();
    if (!failure.empty())
        throw std::runtime_error(failure);
}

} // namespace

SweepRows::SweepRows(const RunOptions& options, std::ostream& err, const std::string* held)
    : plan_(std::make_shared<const SweepPlan>(MakePlan(options, err, held))) {}

int64_t SweepRows::First() const {
    return plan_->first;
}

int64_t SweepRows::End() const {
    return plan_->end;
}

std::string SweepRows::Header() const {
    return RowsHeader(*plan_);
}

std::optional<std::string> SweepRows::Run(int64_t i) const {
    if (i < 0 || i >= plan_->perDocument * static_cast<int64_t>(plan_->documents.size()))
        throw UsageError("no row " + std::to_string(i) + " in this sweep");
    if (plan_->Repeats(i))
        return std::string();
    std::optional<RunRow> row = RunOne(*plan_, i);
    return row ? std::optional<std::string>(std::move(row->csv)) : std::nullopt;
}

int RunSweep(const RunOptions& options, std::ostream& out, std::ostream& err,
             std::ostream* progress, const std::string* held) {
    SweepPlan plan;
    try {
        plan = MakePlan(options, err, held);
    } catch (const UsageError& e) {
        err << "pathloom-run: " << Report::ForTerminal(e.what()) << '\n';
        return ExitStatus::Usage;
    } catch (const PathloomError& e) {
        err << Report::ForTerminal(e.Description()) << '\n';
        return ExitStatus::LoadFailed;
    }
    std::optional<SafeStream> file;
    if (options.csv) {
        try {
            file.emplace(*options.csv);
        } catch (const PathloomError&) {
            err << "pathloom-run: the sweep could not be written to "
                << Report::ForTerminal(*options.csv) << '\n';
            return ExitStatus::OutputFailed;
        }
    }
    std::ostream& csv = file ? file->Stream() : out;

    const int jobs =
        options.jobs.value_or(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    InterruptGuard interrupt;
    try {
        if (options.summary && plan.experiment) {
            ExperimentSummary summary(csv, SettingsHeaderOf(plan), plan.seeds, plan.groups,
                                      [&plan](int64_t i) { return SettingsFields(plan, i); });
            RunRows(plan, jobs, progress,
                    [&](int64_t i, const RunRow& row) { summary.Add(i, row.experiment); });
            summary.Finish();
        } else if (options.summary) {
            SweepSummary summary(csv, SettingsHeaderOf(plan), plan.seeds, plan.groups,
                                 [&plan](int64_t i) { return SettingsFields(plan, i); });
            RunRows(plan, jobs, progress,
                    [&](int64_t i, const RunRow& row) { summary.Add(i, row.record); });
            summary.Finish();
        } else {
            csv << RowsHeader(plan) << '\n';
            RunRows(plan, jobs, progress, [&](int64_t, const RunRow& row) { csv << row.csv; });
        }
    } catch (const std::exception& e) {
        err << "pathloom-run: the sweep stopped: " << e.what() << '\n';
        return ExitStatus::RunError;
    }
    try {
        if (!csv.flush())
            Raise("Sweep", "the sweep could not be written");
        if (file)
            file->Commit();
    } catch (const PathloomError&) {
        err << "pathloom-run: the sweep could not be written\n";
        return ExitStatus::OutputFailed;
    }
    return StopRequested ? ExitStatus::Interrupted : ExitStatus::Ok;
}
