import io
import json
import os
import re
import subprocess

import numpy
import pytest

import pathloom

RUNNER = os.environ["PATHLOOM_RUN"]
EXAMPLES = os.environ["PATHLOOM_EXAMPLES"]
NETWORK = os.path.join(EXAMPLES, "network.plm")
S_MODEL = os.path.join(EXAMPLES, "s-model.plm")
S_PATHS = os.path.join(EXAMPLES, "s-model-paths.txt")
ROADS = os.path.join(EXAMPLES, "stochastic-roads.plm")


def runner(*words):
    return subprocess.run([RUNNER, *map(str, words)], capture_output=True, text=True)


def runner_words(options):
    """pathloom-run's words for the module's keywords."""
    return [w for name, value in options.items()
            for w in ["--" + name.replace("_", "-"), str(value)]]


# The same run through the module and through pathloom-run, for each method and model.
RUNS = [
    (NETWORK, dict(method="all", source="S")),
    (NETWORK, dict(method="dest", source="S", dest="D", scheme="LRP", reward=0.2, penalty=0.1)),
    (S_MODEL, dict(method="file", paths=S_PATHS)),
    (NETWORK, dict(method="sample", source="S", dest="D", samples=3000, seed=7, until=0.9)),
    (S_MODEL, dict(method="sample", source="Home", dest="Work", samples=500, seed=3, model="S")),
    (ROADS, dict(method="sample", source="Depot", dest="Port", samples=4000, seed=2, until=0.9,
                 threshold="mean", action_set="variable", reward=0.05)),
    (NETWORK, dict(method="dest", source="S", dest="D", scheme="LRI", reward=0)),
    (NETWORK, dict(method="all", source="S", scheme="pursuit", reward=0.3)),
    (ROADS, dict(method="sample", source="Depot", dest="Port", samples=3000, seed=5, until=0.9,
                 scheme="discretized-pursuit", resolution=20, action_set="variable")),
]


@pytest.mark.parametrize("document,options", RUNS)
def test_a_run_gives_the_runners_figures(document, options):
    words = runner_words(options)
    expected = json.loads(runner(document, *words, "--json").stdout)
    graph = pathloom.open(document)
    result = graph.run(history=True, **options)
    graph.run(**options)  # learns on: the first run's figures stay as they were
    assert result.figures == expected
    assert result.learns_nothing == (options.get("reward") == 0)
    assert result.path_count == len(result.history["n"])
    if result.path_count:
        assert list(result.history["probabilities"][-1]) == list(result.probabilities)
        frame = result.history_frame()
        assert frame.shape == (result.path_count, 5 + len(result.links))
        assert list(frame.iloc[-1, 5:]) == list(result.probabilities)


@pytest.mark.parametrize(
    "options",
    [
        dict(scheme="XYZ"),
        dict(source="nowhere", dest="D"),
        dict(method="all", source="S", samples=5),
        dict(source="S", dest="D", reward="0.1x"),
        dict(source="S", dest="D", jobs=2),
        dict(source="S", dest="D", resolution=5),
        dict(source="S", dest="D", scheme="discretized-pursuit", resolution=0),
        dict(source="S", dest="D", scheme="pursuit", model="S"),
    ],
)
def test_bad_arguments_raise_the_runners_message(options):
    refused = runner(NETWORK, *runner_words({"method": "sample", **options}), "--json")
    with pytest.raises(ValueError) as error:
        pathloom.open(NETWORK).run(**options)
    if "jobs" not in options:
        assert str(error.value) == json.loads(refused.stdout)["message"]


# The P-model's reward and the S-model's best answer.
@pytest.mark.parametrize("model,best", [("P", True), ("S", 0.0)])
def test_a_judge_that_rewards_everything_drives_the_walked_links_to_one(model, best):
    graph = pathloom.open(NETWORK)
    weights = [link[3] for link in graph.links]
    seen = []

    def judge(links, cost):
        seen.append(cost == sum(weights[j] for j in links))
        return best

    result = graph.run(source="S", dest="D", samples=2000, seed=5, scheme="LRI", model=model,
                       judge=judge)
    assert len(seen) == result.path_count and all(seen)
    last = [j for j, (a, b, *_) in enumerate(graph.links) if f"{a}->{b}:" in result.paths[-1]["trace"]]
    assert last and all(result.probabilities[j] > 0.99 for j in last)


@pytest.mark.parametrize(
    "model,judge,message",
    [
        ("P", lambda links, cost: 1 / 0, "ZeroDivisionError: division by zero"),
        ("S", lambda links, cost: 1.5, "the judge answered 1.500000"),
        ("S", lambda links, cost: -0.5, "the judge answered -0.500000"),
    ],
)
def test_a_judge_that_fails_ends_the_run_with_its_message(model, judge, message):
    with pytest.raises(pathloom.Error, match=message) as error:
        pathloom.open(S_MODEL).run(source="Home", dest="Work", samples=50, model=model, judge=judge)
    assert error.value.result.status == "error" and error.value.result.path_count == 1


# A judge's own KeyboardInterrupt or SystemExit is the program's to handle, not a run's error.
@pytest.mark.parametrize("raised", [KeyboardInterrupt("judged"), SystemExit(3)])
def test_what_a_judge_raises_to_end_the_program_passes_through(raised):
    def judge(links, cost):
        raise raised

    graph = pathloom.open(NETWORK)
    for start in (graph.run, lambda **o: next(graph.session(**o))):
        with pytest.raises(type(raised)) as error:
            start(source="S", dest="D", samples=10, judge=judge)
        assert error.value is raised


def test_a_session_learns_what_the_run_learns():
    options = dict(source="S", dest="D", samples=100, seed=2)
    history = pathloom.open(NETWORK).run(history=True, **options).history
    graph = pathloom.open(NETWORK)
    session = graph.session(**options)
    for step, learned in enumerate(session, 1):
        assert learned["number"] == step and learned["sample"] == history["n"][step - 1]
        if step == 4:
            session.stop()
    assert step == 4 and session.state["stopped"]
    assert [link[4] for link in graph.links] == list(history["probabilities"][3])


def test_a_sweep_gives_the_runners_rows(tmp_path):
    pandas = pytest.importorskip("pandas")
    csv = tmp_path / "rows.csv"
    common = dict(method="sample", source="S", dest="D", samples=300)
    runner(NETWORK, *runner_words(common), "--sweep", "reward=0.1,0.3", "--sweep", "seed=1,2",
           "--sweep", "action-set=all,variable", "--csv", csv)
    expected = pandas.read_csv(csv, keep_default_na=False, na_values=[""])
    axes = dict(reward=[0.1, 0.3], seed=range(1, 3), action_set=["all", "variable"])
    for document, written in ((NETWORK, None), (pathloom.open(NETWORK), tmp_path / "mine.csv")):
        rows = pathloom.sweep(document, jobs=2, csv=written, **axes, **common)
        pandas.testing.assert_frame_equal(rows.drop(columns="document"),
                                          expected.drop(columns="document"))
    assert (tmp_path / "mine.csv").read_text().count("\n") == len(expected) + 1
    # Row by row, in any order, as another machine's worker runs them.
    plan = pathloom._sweep_rows(pathloom.open(NETWORK), **axes, **common)
    lines = {i: plan.run(i) for i in reversed(range(*plan.rows()))}
    text = plan.header() + "\n" + "".join(lines[i] for i in sorted(lines))
    rows = pandas.read_csv(io.StringIO(text), keep_default_na=False, na_values=[""])
    pandas.testing.assert_frame_equal(rows.drop(columns="document"),
                                      expected.drop(columns="document"))
    assert pathloom._sweep_rows(NETWORK, part="2/3", **axes, **common).rows() == (2, 5)
    with pytest.raises(ValueError, match="--jobs takes 1 to 1024"):
        pathloom.sweep(NETWORK, jobs=0, **axes, **common)


# What a link cannot hold is refused with the Link Properties dialog's messages (a length with
# the runner's), and nothing is added.
@pytest.mark.parametrize(
    "values,message",
    [
        (dict(weight=float("nan")), "Please enter Weight value correctly."),
        (dict(weight=float("inf")), "Please enter Weight value correctly."),
        (dict(weight=1e39), "Please enter Weight value correctly."),
        (dict(probability=float("nan")), "Please enter Probability value correctly."),
        (dict(probability=-3), "Please enter Probability value correctly."),
        (dict(probability=7), "Please enter Probability value correctly."),
        (dict(length="1e39"), "not a number for length: '1e39'"),
        (dict(length="uniform(3, 1)"), "uniform"),
    ],
)
def test_add_link_refuses_what_a_link_cannot_hold(values, message):
    graph = pathloom.Graph()
    graph.add_node("A")
    graph.add_node("B")
    with pytest.raises(ValueError, match=re.escape(message)):
        graph.add_link("A", "B", **values)
    assert graph.links == []


# A graph that comes from no document runs with settings that learn; a simple link without a
# probability gets its node's share, so README's example converges as written.
def test_a_new_graph_learns_and_says_when_its_settings_cannot():
    g = pathloom.Graph()
    g.add_node("A"); g.add_node("B", x=120); g.add_node("C", x=240)
    g.add_link("A", "B", kind="unidirectional", weight=2)
    g.add_link("B", "C", kind="unidirectional", weight=1)
    g.add_link("A", "C", length="normal(4, 1.5)")
    assert [link[4] for link in g.links] == [0.5, 1.0, 0.5]
    result = g.run(method="sample", source="A", dest="C", threshold="mean", action_set="variable",
                   until=0.9)
    assert result.converged_at and result.preferred_path == "A->B:B->C:"
    assert not result.learns_nothing
    assert g.run(source="A", dest="C", reward=0).learns_nothing

    star = pathloom.Graph()
    for label in "DABC":
        star.add_node(label)
    for end in "ABC":  # D's links share out anew as each comes
        star.add_link("D", end, length="5")
    assert [link[3:] for link in star.links] == [(5.0, float(numpy.float32(1 / 3)), None)] * 3


def test_a_built_graph_saves_opens_and_goes_through_networkx(tmp_path):
    graph = pathloom.Graph()
    for label in "ABC":
        graph.add_node(label, x=10 * ord(label))
    graph.add_link("A", "B", weight=2, probability=0.25)
    graph.add_link("b", "C", kind="unidirectional")
    with pytest.raises(ValueError, match="already are linked"):
        graph.add_link("B", "A")
    with pytest.raises(ValueError, match="kind"):
        graph.add_link("A", "C", kind="loop")
    graph.save(tmp_path / "g.plm")
    assert pathloom.open(tmp_path / "g.plm").links == graph.links
    networkx = pytest.importorskip("networkx")
    again = pathloom.Graph.from_networkx(graph.to_networkx())
    assert again.links == graph.links and again.nodes == graph.nodes
    # Unweighted edges weigh what add_link gives; a message names the user's graph.
    plain = networkx.Graph([("A", "B")], name="roads")
    assert pathloom.Graph.from_networkx(plain).links == [("A", "B", "simple", 1.0, 1.0, None)]
    plain.add_edge("A", "C", kind="loop")
    with pytest.raises(pathloom.Error, match="^'roads' line [0-9]+: kind 'loop'"):
        pathloom.Graph.from_networkx(plain)


# A link's length drawn from a distribution: kept, run as the runner runs the saved document.
def test_a_built_stochastic_link_runs_as_the_runner_runs_it(tmp_path):
    graph = pathloom.Graph()
    for label in "ABC":
        graph.add_node(label)
    graph.add_link("A", "B", length="uniform(1, 3)")
    graph.add_link("B", "C", length="discrete(1:1, 5:3)")
    graph.add_link("A", "C", weight=6)
    assert [(link[3], link[5]) for link in graph.links] == [
        (2.0, "uniform(1, 3)"), (4.0, "discrete(1:1, 5:3)"), (6.0, None)]
    with pytest.raises(ValueError):
        graph.add_link("A", "C", length="uniform(3, 1)")
    graph.save(tmp_path / "g.plm")
    options = dict(method="dest", source="A", dest="C", threshold="mean", seed=9)
    expected = json.loads(runner(tmp_path / "g.plm", *runner_words(options), "--json").stdout)
    assert graph.run(**options).figures == expected
    assert expected["linkDraws"] > 0


# Under a locale whose decimal separator is a comma (compiled here with localedef, as Debian's
# locales package does), a distribution is saved as written and the document opens again.
def test_numbers_keep_their_point_under_a_german_locale(tmp_path, monkeypatch):
    import locale
    import shutil

    if not shutil.which("localedef"):
        pytest.skip("localedef is missing (Debian package locales)")
    subprocess.run(["localedef", "-i", "de_DE", "-f", "UTF-8", tmp_path / "de_DE.UTF-8"],
                   capture_output=True)
    monkeypatch.setenv("LOCPATH", str(tmp_path))
    before = locale.setlocale(locale.LC_ALL)
    try:
        locale.setlocale(locale.LC_ALL, "de_DE.UTF-8")
        assert locale.localeconv()["decimal_point"] == ","
        graph = pathloom.Graph()
        for label in "AB":
            graph.add_node(label)
        graph.add_link("A", "B", length="exponential(1e-1)")
        graph.save(tmp_path / "g.plm")
        assert pathloom.open(tmp_path / "g.plm").links[0][5] == "exponential(0.1)"
    finally:
        locale.setlocale(locale.LC_ALL, before)


# A file larger than this machine's memory can import is refused before it is read (sparse).
def test_an_import_the_memory_cannot_take_is_refused(tmp_path):
    big = tmp_path / "big.graphml"
    with open(big, "wb") as f:
        f.truncate(os.sysconf("SC_PHYS_PAGES") * os.sysconf("SC_PAGE_SIZE") // 16)
    with pytest.raises(pathloom.Error, match="big.graphml' could not be read: it is too large"):
        pathloom.open(big)
