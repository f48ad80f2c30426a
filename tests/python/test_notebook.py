# What a notebook shows: a graph's SVG (nodes, links and their texts, the best path of its last
# run in red), a result's table, and progress bars that show only when asked or where someone
# looks.
import concurrent.futures
import os
import sys
import time
import xml.etree.ElementTree as ElementTree

import pytest

import pathloom
from pathloom import notebook

EXAMPLES = os.environ["PATHLOOM_EXAMPLES"]
NETWORK = os.path.join(EXAMPLES, "network.plm")
SVG = "{http://www.w3.org/2000/svg}"


def drawn(graph):
    svg = ElementTree.fromstring(graph._repr_svg_())
    texts = [t.text for t in svg.iter(SVG + "text")]
    red = [line for line in svg.iter(SVG + "line") if line.get("stroke") == "#ff0000"]
    return svg, texts, red


# A walk's best path is its cheapest listed path; a sampled run's is its own.
@pytest.mark.parametrize("options", [
    dict(method="dest", source="S", dest="D"),
    dict(method="sample", source="S", dest="D", samples=300, seed=1),
])
def test_a_graph_draws_its_nodes_links_and_last_best_path(options):
    graph = pathloom.open(NETWORK)
    svg, texts, red = drawn(graph)
    assert len(list(svg.iter(SVG + "circle"))) == len(graph.nodes)
    assert len(list(svg.iter(SVG + "line"))) == len(graph.links)
    heads = sum({"unidirectional": 1, "bidirectional": 2}.get(link[2], 0) for link in graph.links)
    assert len(list(svg.iter(SVG + "polygon"))) == heads
    assert [label for label, _, _ in graph.nodes] == texts[len(graph.links):]
    assert red == []

    graph.run(**options)
    svg, texts, red = drawn(graph)
    assert len(red) == 2  # S->A->D, of cost 3
    for link, text in zip(graph.links, texts):
        assert text == "P: %s W: %s" % (notebook._number(link[4]),
                                         notebook._number(link[3]))


@pytest.mark.parametrize("value,shown", [
    (0.5, "0.5"), (1 / 3, "0.333"), (0.0004, "0"), (-0.0001, "0"), (12.5, "12.5"),
    (123456789.0, "1.234568E+08"),
])
def test_link_numbers_are_written_as_the_canvas_writes_them(value, shown):
    assert notebook._number(value) == shown


def test_a_stochastic_link_shows_its_mean_weight():
    graph = pathloom.Graph()
    graph.add_node("A")
    graph.add_node("B", x=200)
    graph.add_link("A", "B", length="uniform(2, 4)")
    assert "P: 1 W: ~3" in drawn(graph)[1]


def test_a_result_shows_its_figures_as_a_table():
    result = pathloom.open(NETWORK).run(source="S", dest="D", samples=300, seed=1)
    table = ElementTree.fromstring(result._repr_html_())
    shown = {row[0].text: row[1].text for row in table}
    assert shown["status"] == "ok" and shown["best_path"] == result.best_path
    assert shown["path_count"] == str(result.path_count) and "links" not in shown


# progress: True always, False never, None only where someone looks (a terminal, a notebook).
@pytest.mark.parametrize("progress,shown", [(True, True), (False, False), (None, False)])
@pytest.mark.parametrize("work,done", [
    (lambda progress: pathloom.open(NETWORK).run(source="S", dest="D", samples=100,
                                                 progress=progress), "100/100"),
    (lambda progress: pathloom.sweep(NETWORK, progress=progress, method="sample", source="S",
                                     dest="D", samples=100, seed=range(1, 5)), "4/4"),
    (lambda progress: pathloom.sweep(NETWORK, client=concurrent.futures.ThreadPoolExecutor(2),
                                     progress=progress, method="sample", source="S", dest="D",
                                     samples=100, seed=range(1, 5)), "4/4"),
], ids=["run", "sweep", "sweep on a client"])
def test_work_shows_its_progress_when_asked(work, done, progress, shown, capsys):
    pytest.importorskip("tqdm", reason="tqdm is missing (Debian's python3-tqdm)")
    work(progress)
    assert (done in capsys.readouterr().err) == shown


# The runner's progress line, as the engine writes it, moves the bar.
@pytest.mark.parametrize("line,n,total", [
    ("12/40 runs, 3 s left", 12, 40),
    ("1234 samples, 56 paths learned, 2.5 s", 1234, 5000),
    ("56 paths found, 2.5 s", 56, None),
])
def test_the_bar_follows_the_runners_line(line, n, total):
    pytest.importorskip("tqdm", reason="tqdm is missing (Debian's python3-tqdm)")

    class Line:
        def text(self):
            return line

    with notebook.Progress(True, "run", 5000 if "samples" in line else None) as shown:
        shown.line = Line()
        while shown._bar.n != n:
            time.sleep(0.05)
        assert shown._bar.total == total


def test_progress_without_tqdm_is_refused_when_asked_for(monkeypatch):
    monkeypatch.setitem(sys.modules, "tqdm", None)
    monkeypatch.setitem(sys.modules, "tqdm.auto", None)
    with pytest.raises(ImportError, match="python3-tqdm"):
        notebook.progress_bar(True, 4, "run")
    assert notebook.progress_bar(None, 4, "run") is None
