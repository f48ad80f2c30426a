"""Pathloom from Python: learning automata on graphs, with the engine of pathloom-run.

    import pathloom
    graph = pathloom.open("network.plm")        # or .graphml, .dot, .csv
    result = graph.run(method="sample", source="A", dest="D", samples=10000, seed=1)
    result.best_path, result.probabilities      # the figures of pathloom-run --json

Keyword arguments of run(), session() and sweep() are pathloom-run's options with "_" for "-"
(the run's settings are listed in help(pathloom.Graph.run)); a bad one raises ValueError with the
runner's message. Errors of the engine (a file that cannot be read, a run that fails) raise
pathloom.Error. Ctrl+C raises KeyboardInterrupt, whatever the engine or a judge is doing, with
what the work kept: a run's Result as its `result`, a sweep's finished rows as its `rows`.

A graph built here or imported from GraphML, DOT or CSV starts with settings under which a run
learns: the P-model under LRI with reward 0.1 (penalty 0.01 and learning factor 0.1 where the
scheme or the S-model reads them); a link without a weight weighs 1, and a simple or
bidirectional one without a probability gets 1 / out-degree of its start node, the share a
unidirectional link gets. A Pathloom document keeps its own.
"""

import concurrent.futures
import io
import os

import numpy

from . import _pathloom

Error = _pathloom.Error

__all__ = ["Error", "Graph", "Result", "Session", "open", "sweep"]


def _snake(name):
    return "".join("_" + c.lower() if c.isupper() else c for c in name)


class Result:
    """What a run gave: every figure of `pathloom-run --json`, named in snake_case.

    status           "ok", "not-found", "stopped" or "error"
    message          the error's message, or None
    path_count       the paths learned
    paths            each learned path: {"n", "trace", "cost"}
    links            each link after the run: {"from", "to", "probability", ...}
    probabilities    the links' final probabilities, a numpy float32 array in link order
    learns_nothing   True when the run's settings cannot change any probability (reward 0
                     under LRI, ...): the runner's output then says why
    samples, dead_ends, best_cost, best_path, best_path_probability, converged_at
                     in sampled runs
    history          with run(history=True): numpy arrays "n" (the path's number; in sampled
                     runs the sample's), "cost", "answer", "best_cost", "best_probability",
                     and "probabilities" (a row per path, a column per link)
    figures          the JSON answer itself, as a dict
    """

    def __init__(self, answer, document):
        self._figures = answer["figures"]
        # Made Python objects when first asked for: a run may list a hundred thousand paths.
        self._listings = {"paths": answer["paths"], "links": answer["links"]}
        for key, value in self._figures.items():
            if key not in self._listings:
                setattr(self, _snake(key), value)
        self.probabilities = answer["probabilities"]
        self.history = answer["history"]
        self._document = document  # for the history's column names, made when asked for

    def _listed(self, key):
        listing = self._listings.pop(key, None)
        if listing is not None:
            self._figures[key] = listing.take()
        return self._figures[key]

    paths = property(lambda self: self._listed("paths"))
    links = property(lambda self: self._listed("links"))

    @property
    def figures(self):
        self.paths, self.links
        return self._figures

    def history_frame(self):
        """The history as a pandas DataFrame: the columns of `history`, then one per link named
        as in pathloom-run --history ("A->B")."""
        import pandas

        if self.history is None:
            raise ValueError("run with history=True to have a history")
        columns = {name: values for name, values in self.history.items() if values.ndim == 1}
        links = self.history["probabilities"].shape[1]  # the links of the run, if more came since
        for j, name in enumerate(self._document.link_columns()[:links]):
            columns[name] = self.history["probabilities"][:, j]
        return pandas.DataFrame(columns)

    def __repr__(self):
        return "<pathloom.Result status=%r paths=%d>" % (self.status, self.path_count)

    def _repr_html_(self):
        from . import notebook

        return notebook.result_html(self)


def _raise_run_error(message, judge_error, result=None):
    # A judge's KeyboardInterrupt or SystemExit is the program's own to handle, as raised.
    if judge_error is not None and not isinstance(judge_error, Exception):
        judge_error.result = result
        raise judge_error
    error = Error(message)
    error.result = result
    if judge_error is not None:
        raise error from judge_error
    raise error


class Session:
    """A run stepped from Python: iterate it for each learned path, a dict with "number",
    "sample", "trace", "cost", "answer", "rewarded", "changed" (the positions of the links the
    learning step wrote) and "best_probability". Stop at any time (stop() or leave the loop); the
    graph's links show the probabilities learned so far."""

    def __init__(self, session):
        self._session = session

    def __iter__(self):
        return self

    def __next__(self):
        learned = self._session.next()
        if learned is None:
            state = self._session.state()
            if state["state"] == "failed":
                _raise_run_error(state["message"], state["judge_error"])
            raise StopIteration
        return learned

    def stop(self):
        """Ends the run after the path learned last."""
        self._session.stop()

    @property
    def state(self):
        """"running", "finished" or "failed", with the message, path count, stopped, not
        found."""
        return self._session.state()


class Graph:
    """A Pathloom document: a graph with its stored run settings.

    Graph() is empty; pathloom.open(path) opens a document or imports a graph file. Nodes are
    named by their labels (letter case ignored, the first match)."""

    def __init__(self, document=None):
        self._document = document if document is not None else _pathloom._Document()
        self.notes = []  # what an import left out or changed
        self._last_run = None  # its best path is drawn in red

    def add_node(self, label, x=0, y=0):
        """Adds a node with this label at the canvas position (x, y) in pixels."""
        self._document.add_node(label, x, y)

    def add_link(self, a, b, kind="simple", weight=None, probability=None, length=None):
        """Links node a to node b. kind: "simple", "unidirectional" (from a to b only) or
        "bidirectional", the names the CSV format uses. weight: 1 when left out.
        probability: from 0 to 1, for simple and bidirectional links; left out, the link gets
        1 / out-degree of node a, as unidirectional links always do. length: a number (the
        weight) or a distribution the link's length is drawn from after each path, written as
        everywhere else ("discrete(4:0.5, 9:0.5)", "uniform(a, b)", "normal(mean, sd)",
        "exponential(mean)"); its mean becomes the weight. A weight or a probability that a
        link cannot hold raises ValueError with the Link Properties dialog's message."""
        self._document.add_link(a, b, kind, weight, probability, length)

    @property
    def nodes(self):
        """Each node as (label, x, y)."""
        return self._document.nodes()

    @property
    def links(self):
        """Each link as (from, to, kind, weight, probability, length), in link order; length is
        the distribution's text, or None for a fixed weight."""
        return self._document.links()

    def save(self, path):
        """Writes the graph as a Pathloom document (.plm)."""
        self._document.save(os.fspath(path))

    def export(self, path):
        """Writes the graph as GraphML, DOT or CSV, by the file's extension."""
        self._document.export(os.fspath(path))

    def run(self, method="sample", judge=None, history=False, progress=None, **options):
        """Runs the learning automata on the graph, as pathloom-run does, and gives a Result.

        Keywords are pathloom-run's options, "_" for "-": the run's settings listed below, and
        any other the runner takes. Left out, a setting is the document's own.
        judge: a function(links, cost) given each path's link positions (in graph.links) and
        cost; it takes the place of the model's environment: for the P-model True rewards the
        path, for the S-model it answers a number from 0 (the best) to 1.
        history: keep every path's figures and link probabilities (Result.history).
        progress: a tqdm bar of the samples (or paths) once the run has taken a second: None
        where the output is a terminal or a notebook, True always, False never.
        The graph keeps the learned probabilities and the settings of the run, as a document
        saved by pathloom-run --save does. Raises pathloom.Error when the run fails (a judge's
        exception included), with the Result as the error's `result`. Ctrl+C stops the run and
        raises KeyboardInterrupt, with the Result so far (status "stopped") as its `result`; a
        judge's own KeyboardInterrupt or SystemExit passes through as it was raised."""
        from . import notebook

        sampled = method == "sample"
        total = options.get("samples") if sampled else None
        with notebook.Progress(progress, "sample" if sampled else "path", total) as shown:
            answer = self._document.run(dict(method=method, **options), judge, history, shown.line)
            result = Result(answer, self._document)
            shown.finish(getattr(result, "samples", None) or result.path_count)
        self._last_run = result
        if answer["interrupt"] is not None:
            answer["interrupt"].result = result
            raise answer["interrupt"]
        if result.status == "error":
            _raise_run_error(result.message, answer["judge_error"], result)
        return result

    def session(self, method="sample", judge=None, **options):
        """A run to step path by path (see Session), with run()'s keywords. The engine steps
        without the GIL; Ctrl+C stops the run and raises KeyboardInterrupt."""
        return Session(self._document.session(dict(method=method, **options), judge))

    def to_networkx(self):
        """The graph as a networkx DiGraph, read from its GraphML export."""
        import networkx

        return networkx.parse_graphml(self._document.graphml())

    @classmethod
    def from_networkx(cls, graph):
        """A graph made from a networkx graph, imported as its GraphML would be: attributes
        label, x, y on nodes; weight (or cost), probability, kind and length (a number, or a
        distribution's text) on edges. Messages name the graph by its name ("networkx graph"
        when it has none)."""
        import networkx

        made = cls()
        made.notes = made._document.import_graphml(
            "\n".join(networkx.generate_graphml(graph)), graph.name or "networkx graph"
        )
        return made

    def __repr__(self):
        return "<pathloom.Graph nodes=%d links=%d>" % (len(self.nodes), len(self.links))

    def _repr_svg_(self):
        """The graph as the window draws it, the best path of its last run in red."""
        from . import notebook

        return notebook.graph_svg(self, notebook.best_links(self, self._last_run))


def open(path):
    """Opens a Pathloom document, or imports a GraphML, DOT or CSV graph by its extension."""
    document, notes = _pathloom.open(os.fspath(path))
    graph = Graph(document)
    graph.notes = notes
    return graph


def sweep(graph_or_path, jobs=None, client=None, on_row=None, progress=None, **axes):
    """Runs a sweep on `jobs` threads (every core by default) and gives its rows, those of
    pathloom-run --sweep: a pandas DataFrame when pandas is present, else a list of dicts.

    A keyword whose value is a list, tuple, range or array is swept (reward=[0.1, 0.2],
    seed=range(1, 11), scheme=["LRP", "LRI"]): a setting sweeps take (listed below); any other
    is an option of every run
    (method="sample", samples=1000). graph_or_path: a Graph, a file's path, or a list of paths.
    With csv=FILE the rows are written to FILE too. Ctrl+C stops the runs under way and raises
    KeyboardInterrupt with the rows finished before them as its `rows`. progress: a tqdm bar
    of the runs, as run() shows one.

    client: a dask.distributed Client (or any executor with submit) whose workers run the rows,
    a few to a task; the rows are those of the sweep run here, in the same order. on_row(number,
    row, done, total) hears of each row (a dict) as it finishes, in the order they finish."""
    rows_of = _row_reader()  # before the runs: Ctrl+C is not to wait for pandas to load
    if jobs is None and client is None:
        jobs = os.cpu_count() or 1
    if client is not None or on_row is not None:
        from . import cluster

        try:
            if client is not None:
                text = cluster.sweep(client, graph_or_path, jobs, on_row, progress, axes)
            else:  # rows heard as they finish: each a task of a thread here
                with concurrent.futures.ThreadPoolExecutor(jobs) as threads:
                    text = cluster.sweep(threads, graph_or_path, None, on_row, progress, axes)
        except KeyboardInterrupt as interrupt:
            interrupt.rows = rows_of(interrupt.rows)
            raise
        return rows_of(text)
    from . import notebook

    documents, keywords = _sweep_documents(graph_or_path), dict(jobs=jobs, **axes)
    with notebook.Progress(progress, "run") as shown:
        if shown.line is not None:  # the bar's total, when one shows
            first, end = _sweep_rows(graph_or_path, **keywords).rows()
            shown.expect(end - first)
        status, rows, errors, interrupt = _pathloom.sweep(documents, keywords, shown.line)
        if status == 0:
            shown.finish()
    message = errors.strip().split("\n")[0].replace("pathloom-run: ", "", 1)
    if status == 2:
        raise ValueError(message)
    if status not in (0, _INTERRUPTED):
        raise Error(message)
    if axes.get("csv") is not None:
        with io.open(axes["csv"], encoding="utf-8") as written:
            rows = written.read()
    if status == _INTERRUPTED or interrupt is not None:
        interrupt = interrupt if interrupt is not None else KeyboardInterrupt()
        interrupt.rows = rows_of(rows)
        raise interrupt
    return rows_of(rows)


_INTERRUPTED = 130  # pathloom-run's status after Ctrl+C


def _sweep_documents(graph_or_path):
    """A Graph's document, or the paths of files."""
    if isinstance(graph_or_path, Graph):
        return graph_or_path._document
    if isinstance(graph_or_path, (list, tuple)):
        return [os.fspath(p) for p in graph_or_path]
    return [os.fspath(graph_or_path)]


def _sweep_rows(graph_or_path, **keywords):
    """The rows of a sweep with sweep()'s arguments, to run one at a time wherever the caller
    likes: header() is the CSV header, rows() the (first, end) numbers of the rows (of the part
    that part="K/N" asks for), run(i) the CSV line of row i, what sweep() gives for it."""
    return _pathloom._SweepRows(_sweep_documents(graph_or_path), keywords)


def _row_reader():
    """What reads a sweep's CSV rows: pandas when it is present, else a list of dicts."""
    try:
        import pandas
    except ImportError:
        return _dict_rows
    return lambda text: pandas.read_csv(io.StringIO(text), keep_default_na=False, na_values=[""])


def _dict_rows(text):
    import csv

    return [{k: _number(v) for k, v in row.items()} for row in csv.DictReader(io.StringIO(text))]


def _number(text):
    for kind in (int, float):
        try:
            return kind(text)
        except ValueError:
            pass
    return text


def _settings_text(indent, swept_only=False):
    """The run's settings as the engine declares them, for the docstrings."""
    lines = []
    for name, help_text, choices, swept in _pathloom.settings():
        if swept or not swept_only:
            named = "%s (%s)" % (name, ", ".join(choices)) if choices else name
            lines.append("%s%s: %s" % (indent, named, help_text))
    return "\n".join(lines)


Graph.run.__doc__ += "\n\n        The run's settings:\n" + _settings_text(" " * 8)
sweep.__doc__ += "\n\n    The settings sweeps take:\n" + _settings_text(" " * 4, swept_only=True)
