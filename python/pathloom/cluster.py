"""Sweeps spread over a Dask cluster, or over any executor with submit().

Each task runs a few consecutive rows of the sweep, by their numbers, on the documents' bytes,
sent with it: so a row, its seed and its place come from the sweep, never from the worker
that runs it, and a worker needs no file of the client's. A worker reads a sweep's documents
once, for all the rows it runs. A task whose worker is lost is run again by the scheduler; its
rows are kept once, by their numbers.
"""

import os
import queue
import tempfile
import uuid

import pathloom

from . import _pathloom, notebook


def sweep(client, graph_or_path, jobs, on_row, progress, keywords):
    """pathloom.sweep(graph_or_path, client=client, **keywords): the CSV text of the sweep's
    rows (of its part, with part="K/N"), in row order."""
    if jobs is not None:
        raise ValueError("jobs= does not go with client=: its workers run the rows")
    if keywords.get("summary"):
        raise ValueError("summary= does not go with client=: summarise the rows")
    keywords = dict(keywords)
    csv = keywords.pop("csv", None)
    # A bad sweep is refused here, before any task is sent.
    rows = pathloom._sweep_rows(graph_or_path, **keywords)
    header = rows.header() + "\n"
    first, end = rows.rows()
    bar = notebook.progress_bar(progress, end - first, "run")

    def heard(number, row, done):
        if bar is not None:
            bar.update(1)
        if on_row is not None:
            on_row(number, pathloom._dict_rows(header + row)[0], done, end - first)

    sent = (uuid.uuid4().hex, _documents(graph_or_path), keywords)
    try:
        text = header + "".join(_run_rows(client, sent, first, end, heard))
    except KeyboardInterrupt as interrupt:
        interrupt.rows = header + "".join(interrupt.rows)
        raise
    finally:
        if bar is not None:
            bar.close()
    if csv is not None:
        _write(os.fspath(csv), text)
    return text


def _documents(graph_or_path):
    """What a worker needs of the documents: (name, bytes) of each file, or (None, bytes) of a
    Graph's document."""
    if isinstance(graph_or_path, pathloom.Graph):
        with tempfile.TemporaryDirectory() as folder:
            graph_or_path.save(os.path.join(folder, "graph.plm"))
            return [(None, _read(os.path.join(folder, "graph.plm")))]
    names = graph_or_path if isinstance(graph_or_path, (list, tuple)) else [graph_or_path]
    return [(os.fspath(name), _read(name)) for name in names]


def _read(path):
    with open(path, "rb") as file:
        return file.read()


# The sweeps this process has read, by their tokens: the latest few, for the rows still to come.
_read_sweeps = {}


def run_rows(sent, first, end):
    """The CSV lines of rows first to end, where the task runs. sent: the sweep's token,
    documents and keywords. Each line names its document as the client named it."""
    token, documents, keywords = sent
    read = _read_sweeps.get(token)
    if read is None:
        read = _read_sweep(documents, keywords)
        while len(_read_sweeps) >= 4:
            _read_sweeps.pop(next(iter(_read_sweeps)))
        _read_sweeps[token] = read
    rows, renamed = read
    lines = []
    for number in range(first, end):
        line = rows.run(number)
        for written, name in renamed:
            if line.startswith(written):
                line = name + line[len(written) :]
                break
        lines.append(line)
    return lines


def _read_sweep(documents, keywords):
    """The sweep's rows made from the documents' bytes, and what the rows' first fields say in
    place of the client's names."""
    with tempfile.TemporaryDirectory(prefix="pathloom-") as folder:
        paths = []
        for k, (name, data) in enumerate(documents):
            # The extension says how a file is read; a Graph's document is a Pathloom document.
            paths.append(os.path.join(folder, "%d%s" % (k, os.path.splitext(name or ".plm")[1])))
            with open(paths[-1], "wb") as file:
                file.write(data)
        if documents[0][0] is None:
            return _pathloom._SweepRows(_pathloom.open(paths[0])[0], keywords), []
        renamed = [
            (_pathloom.csv_field(path) + ",", _pathloom.csv_field(name) + ",")
            for path, (name, _) in zip(paths, documents)
        ]
        return _pathloom._SweepRows(paths, keywords), renamed


def _run_rows(client, sent, first, end, heard):
    """The rows from first to end, in row order, run as tasks of the client, a few consecutive
    rows each; heard(number, row, done) as each finishes. Ctrl+C cancels the tasks and raises
    KeyboardInterrupt with the rows finished so far, in row order, as its `rows`."""
    workers = os.cpu_count() or 1
    if hasattr(client, "scatter"):  # Dask: the documents go to each worker once, not per task
        sent = client.scatter([sent], broadcast=True)[0]
        workers = max(1, len(client.scheduler_info()["workers"]))
    # Some 16 tasks a worker: few enough that a task's own cost stays small beside short rows,
    # many enough to share out rows of unequal lengths.
    step = max(1, (end - first) // (16 * workers))
    finished = queue.Queue()
    futures, rows = [], {}
    try:
        for start in range(first, end, step):
            future = client.submit(run_rows, sent, start, min(start + step, end))
            future.add_done_callback(lambda f, n=start: finished.put((n, f)))
            futures.append(future)
        while len(rows) < end - first:
            start, future = finished.get()
            for number, row in enumerate(future.result(), start):
                rows[number] = row
                heard(number, row, len(rows))
    except KeyboardInterrupt as interrupt:
        interrupt.rows = [rows[n] for n in sorted(rows)]
        raise
    finally:
        for future in futures:
            future.cancel()
    return [rows[n] for n in range(first, end)]


def _write(path, text):
    """Writes the rows under the file's name only once they are all written, as the runner
    does."""
    written = "%s.%d.tmp" % (path, os.getpid())
    with open(written, "x", encoding="utf-8", newline="") as file:
        file.write(text)
    os.replace(written, path)
