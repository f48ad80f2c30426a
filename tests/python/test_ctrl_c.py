# Ctrl+C sent to a child interpreter, as a terminal or a notebook sends it, whatever the engine
# or a judge is doing: KeyboardInterrupt in the caller, `finally` blocks run, what the work kept
# on the exception, and the interpreter alive after a second Ctrl+C.
import os
import queue
import signal
import subprocess
import sys
import textwrap
import threading
import time

import pytest

# Long enough to tell a hang from a slow machine; the figures are in README, not asserted here.
PATIENCE = 30

START = """
import os, threading, time, pathloom
NETWORK = os.path.join(os.environ["PATHLOOM_EXAMPLES"], "network.plm")
# C cannot be reached: every sample dead-ends, and no path ever comes.
dead_end = pathloom.Graph()
for label in "ABC":
    dead_end.add_node(label)
dead_end.add_link("A", "B")
"""

CASES = [
    # A judge that waits hears the first Ctrl+C. Sent once it sleeps: one that comes between the
    # print and the sleep is pending in Python itself, which does not look before sleeping.
    pytest.param("""
def judge(links, cost):
    print("ready", flush=True)
    time.sleep(600)
try:
    try:
        pathloom.open(NETWORK).run(source="S", dest="D", samples=100, judge=judge)
    finally:
        print("finally", flush=True)
except KeyboardInterrupt as e:
    print("KeyboardInterrupt", e.result.path_count, flush=True)  # the path it judged
""", lambda out: "ready" in out, 0.5, 1, ["finally", "KeyboardInterrupt 1"], id="judge waits"),
    # The engine working without the GIL: the run stops as in the runner, a second Ctrl+C kills
    # nothing.
    pytest.param("""
print("ready", flush=True)
try:
    dead_end.run(source="A", dest="C", samples=2000000000)
except KeyboardInterrupt as e:
    print("KeyboardInterrupt", e.result.status, flush=True)
""", lambda out: "ready" in out, 1, 2, ["KeyboardInterrupt stopped"], id="engine works"),
    # A session waiting for a path that never comes lets other threads run, and hears Ctrl+C.
    pytest.param("""
session = dead_end.session(source="A", dest="C", samples=2000000000)
stop = threading.Event()
def beat():
    while not stop.wait(0.05):
        print("beat", flush=True)
print("stepping", flush=True)
beating = threading.Thread(target=beat)
beating.start()
try:
    next(session)
except KeyboardInterrupt:
    print("KeyboardInterrupt", session.state["stopped"], flush=True)
stop.set()
beating.join()
""", lambda out: "stepping" in out and out[out.index("stepping"):].count("beat") >= 5, 0, 1,
     ["KeyboardInterrupt True"], id="session waits"),
    # A sweep keeps the rows finished before Ctrl+C: the first converges at once, the second
    # (reward 0 under LRI) never.
    pytest.param("""
print("ready", flush=True)
try:
    pathloom.sweep(NETWORK, jobs=1, method="sample", source="S", dest="D", samples=2000000000,
                   until=0.9, scheme="LRI", reward=[0.5, 0])
except KeyboardInterrupt as e:
    rows = e.rows.to_dict("records") if hasattr(e.rows, "to_dict") else e.rows
    print("KeyboardInterrupt", [(row["reward"], row["status"]) for row in rows], flush=True)
""", lambda out: "ready" in out, 2, 1, ["KeyboardInterrupt [(0.5, 'ok')]"], id="sweep"),
    # The same with its rows as tasks of threads, heard as they finish.
    pytest.param("""
print("ready", flush=True)
try:
    pathloom.sweep(NETWORK, jobs=1, method="sample", source="S", dest="D", samples=2000000000,
                   until=0.9, scheme="LRI", reward=[0.5, 0], on_row=lambda *row: None)
except KeyboardInterrupt as e:
    rows = e.rows.to_dict("records") if hasattr(e.rows, "to_dict") else e.rows
    print("KeyboardInterrupt", [(row["reward"], row["status"]) for row in rows], flush=True)
""", lambda out: "ready" in out, 2, 1, ["KeyboardInterrupt [(0.5, 'ok')]"], id="sweep as tasks"),
]


def _read(stream, lines):
    for line in stream:
        lines.put(line.rstrip("\n"))
    lines.put(None)


@pytest.mark.parametrize("script,ready,delay,signals,expected", CASES)
def test_ctrl_c_raises_keyboard_interrupt_in_the_caller(script, ready, delay, signals, expected):
    child = subprocess.Popen([sys.executable, "-c", textwrap.dedent(START + script)],
                             stdout=subprocess.PIPE, text=True)
    lines = queue.Queue()
    threading.Thread(target=_read, args=(child.stdout, lines), daemon=True).start()
    out = []

    def take():
        line = lines.get(timeout=PATIENCE)
        if line is not None:
            out.append(line)
        return line

    try:
        while not ready(out):
            assert take() is not None, out
        time.sleep(delay)  # for the work to get under way
        for _ in range(signals):
            os.kill(child.pid, signal.SIGINT)
        while take() is not None:
            pass
        assert child.wait(timeout=PATIENCE) == 0
    except queue.Empty:
        pytest.fail("no answer to Ctrl+C; the child wrote %r" % out)
    finally:
        child.kill()
        child.wait()
    assert [line for line in out if line not in ("ready", "stepping", "beat")] == expected
