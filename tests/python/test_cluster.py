# Sweeps whose rows run as tasks of an executor: threads of this process, and a Dask cluster of 2
# worker processes on this machine, one of them killed mid-sweep. The rows must be the local
# sweep's, byte for byte, each once.
import concurrent.futures
import os
import shutil
import signal

import pytest

import pathloom

EXAMPLES = os.environ["PATHLOOM_EXAMPLES"]
NETWORK = os.path.join(EXAMPLES, "network.plm")

# Invalid rows (an LR(E)P penalty not below the reward) and the experiment's columns too.
AXES = dict(scheme=["LRI", "LREP"], reward=[0.05, 0.1], seed=range(1, 4),
            action_set=["all", "variable"])
COMMON = dict(method="sample", source="S", dest="D", samples=400, penalty=0.08)


def documents(folder):
    # A name the rows must quote, as the runner quotes it; link columns with a quote and a line
    # break in their names.
    quoted = os.path.join(folder, 'a, "b".plm')
    shutil.copy(NETWORK, quoted)
    graph = pathloom.Graph()
    for label in ("S", 'x"y\nz', "D"):
        graph.add_node(label)
    graph.add_link("S", 'x"y\nz')
    graph.add_link('x"y\nz', "D")
    graph.save(os.path.join(folder, "odd.plm"))
    return [NETWORK, quoted, os.path.join(folder, "odd.plm")]


def local_rows(swept, folder, **common):
    written = os.path.join(folder, "local.csv")
    pathloom.sweep(swept, jobs=2, csv=written, **AXES, **common)
    with open(written, "rb") as rows:
        return rows.read()


@pytest.fixture(scope="module")
def dask_client():
    distributed = pytest.importorskip(
        "distributed", reason="Dask distributed is missing (Debian's python3-distributed)"
    )
    # Nothing listens beyond this machine.
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  host="127.0.0.1", dashboard_address="127.0.0.1:0") as cluster:
        with distributed.Client(cluster) as client:
            yield client


# None: threads of this process, as a sweep that is to hear of each row runs them.
@pytest.fixture(params=[None, "an executor", "dask"])
def client(request):
    if request.param == "dask":
        yield request.getfixturevalue("dask_client")
    elif request.param is None:
        yield None
    else:
        with concurrent.futures.ThreadPoolExecutor(2) as executor:
            yield executor


@pytest.mark.parametrize("graph", [False, True], ids=["files", "a Graph"])
def test_the_rows_are_the_local_sweeps(client, graph, tmp_path):
    swept = pathloom.open(NETWORK) if graph else documents(str(tmp_path))
    written = tmp_path / "cluster.csv"
    heard = []
    rows = pathloom.sweep(swept, client=client, csv=written,
                          on_row=lambda *args: heard.append(args), **AXES, **COMMON)
    assert written.read_bytes() == local_rows(swept, str(tmp_path), **COMMON)
    total = len(rows)
    assert total == (24 if graph else 72)
    assert sorted(number for number, _, _, _ in heard) == list(range(total))
    assert [done for _, _, done, _ in heard] == list(range(1, total + 1))
    each = pathloom._dict_rows(written.read_text(encoding="utf-8"))
    for number, row, _, count in heard:
        assert count == total and row == each[number]


def test_a_lost_workers_rows_are_run_again_once(dask_client, tmp_path):
    address, pid = next(iter(dask_client.run(os.getpid).items()))
    held = []

    def kill_one(number, row, done, total):
        if done == 2:
            held.append(len(dask_client.processing()[address]))
            os.kill(pid, signal.SIGKILL)

    written = tmp_path / "cluster.csv"
    pathloom.sweep(documents(str(tmp_path)), client=dask_client, csv=written, on_row=kill_one,
                   **AXES, **COMMON)
    assert held[0] > 0  # rows it had yet to give
    assert pid not in dask_client.run(os.getpid).values()
    assert written.read_bytes() == local_rows(documents(str(tmp_path)), str(tmp_path), **COMMON)


@pytest.mark.parametrize("options,message", [
    (dict(jobs=2), "jobs= does not go with client="),
    (dict(summary=True), "summary= does not go with client="),
    (dict(scheme=["XYZ"]), "unknown value for --sweep scheme: 'XYZ'"),
])
def test_refused_before_any_task(options, message):
    class NoTasks:
        def submit(self, *args):
            raise AssertionError("a task was sent")

    with pytest.raises(ValueError, match=message):
        pathloom.sweep(NETWORK, client=NoTasks(), **dict(COMMON, **options))
