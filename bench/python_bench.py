#!/usr/bin/python3
"""Times the same runs through the Python module and through pathloom-run, and what a history
adds to each; then two runs on two Python threads against one after the other; then a long
sampled run that lists every path it learns.

    python_bench.py RUNNER FOLDER VERSUS.TXT [REPEATS [listed]]

VERSUS.TXT: lines "group|name|document options..." (bench/write_documents). Each time is the best
of REPEATS (3): the runner's from its start to its exit, the module's from pathloom.open to the
Result. With "listed", only the long run that lists its paths."""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import pathloom


def best(repeats, work):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return min(times)


def run(graph, **options):
    """A run through the module; one that fails (the enumerations past 32,767 paths) has done
    its work as the runner's does."""
    try:
        graph.run(**options)
    except pathloom.Error:
        pass


def keywords(words):
    """The runner's options as keywords of run()."""
    options = {}
    i = 0
    while i < len(words):
        name = words[i][2:].replace("-", "_")
        if i + 1 < len(words) and not words[i + 1].startswith("--"):
            options[name] = words[i + 1]
            i += 2
        else:
            options[name] = True
            i += 1
    options.pop("json", None)
    return options


def main():
    runner, folder, versus = sys.argv[1:4]
    repeats = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    if sys.argv[5:] == ["listed"]:
        listed_paths(runner, folder, repeats)
        return
    cases = []
    with open(versus) as lines:
        for line in lines:
            group, name, command = line.rstrip("\n").split("|")
            document, *words = command.split()
            cases.append((group, name, os.path.join(folder, document), words))

    print(f"{'run':40} {'runner s':>9} {'module s':>9} {'ratio':>6}")
    for group, name, document, words in cases:
        runner_time = best(repeats, lambda: subprocess.run(
            [runner, document, *words], stdout=subprocess.DEVNULL, check=False))
        module_time = best(repeats, lambda: run(pathloom.open(document), **keywords(words)))
        print(f"{group + ': ' + name:40.40} {runner_time:9.3f} {module_time:9.3f} "
              f"{module_time / runner_time:6.3f}")

    # The history of a sampled run: every path with every link's probability.
    group, name, document, words = next(c for c in cases if c[1] == "directed grid 32x32")
    with tempfile.TemporaryDirectory() as scratch:
        csv = os.path.join(scratch, "history.csv")
        plain_runner = best(repeats, lambda: subprocess.run(
            [runner, document, *words], stdout=subprocess.DEVNULL, check=False))
        with_runner = best(repeats, lambda: subprocess.run(
            [runner, document, *words, "--history", csv], stdout=subprocess.DEVNULL, check=False))
    graph = pathloom.open(document)
    plain_module = best(repeats, lambda: graph.run(**keywords(words)))
    with_module = best(repeats, lambda: graph.run(history=True, **keywords(words)))
    print(f"\nhistory of {name} ({graph.run(**keywords(words)).path_count} paths, "
          f"{len(graph.links)} links):")
    print(f"  runner --history FILE.csv: {plain_runner:.3f} s -> {with_runner:.3f} s "
          f"(+{with_runner - plain_runner:.3f} s)")
    print(f"  module history=True:       {plain_module:.3f} s -> {with_module:.3f} s "
          f"(+{with_module - plain_module:.3f} s)")

    # Two runs on two threads: the GIL is released while the engine works.
    graphs = [pathloom.open(document), pathloom.open(document)]
    one_after_other = best(repeats, lambda: [run(g, **keywords(words)) for g in graphs])

    def together():
        threads = [threading.Thread(target=run, args=(g,), kwargs=keywords(words)) for g in graphs]
        for t in threads:
            t.start()
        for t in threads:
            t.join()

    print(f"\ntwo runs of {name}: one after the other {one_after_other:.3f} s, "
          f"on two threads {best(repeats, together):.3f} s "
          f"({os.cpu_count()} cores, load average {os.getloadavg()[0]:.1f})")

    # Python goes on beside a run: the main thread counts while another thread runs.
    worker = threading.Thread(target=run, args=(graphs[0],), kwargs=keywords(words))
    start = time.perf_counter()
    worker.start()
    counted = 0
    while worker.is_alive():
        counted += 1
    print(f"the main thread counted to {counted} during a run of "
          f"{time.perf_counter() - start:.3f} s on another thread")

    listed_paths(runner, folder, repeats)


def listed_paths(runner, folder, repeats):
    """A one-way 60 x 60 grid, 100,000 samples under LRI 0.01, every learned path listed, as a
    new user runs it: pathloom-run --json (its output thrown away) against pathloom.open and
    run(), and against the same with every path read as Python objects. The three take turns,
    2 * REPEATS + 1 times; the medians of the wall clock and of the CPU time (user and system,
    which other programs' load disturbs less), and their ratios to the runner's."""
    document = os.path.join(folder, "grid-60.plm")
    options = dict(method="sample", source="#1", dest="#3600", scheme="LRI", reward=0.01,
                   samples=100000)
    words = [document, "--json"]
    for name, value in options.items():
        words += ["--" + name, str(value)]

    def cpu(who):
        usage = resource.getrusage(who)
        return usage.ru_utime + usage.ru_stime

    def runner_run():
        subprocess.run([runner, *words], stdout=subprocess.DEVNULL, check=True)

    def paths_read():
        return pathloom.open(document).run(**options).paths

    cases = [("runner", runner_run, resource.RUSAGE_CHILDREN),
             ("run", lambda: pathloom.open(document).run(**options), resource.RUSAGE_SELF),
             ("run, paths read", paths_read, resource.RUSAGE_SELF)]
    times = {name: ([], []) for name, _, _ in cases}
    for _ in range(2 * repeats + 1):
        for name, work, who in cases:
            start, start_cpu = time.perf_counter(), cpu(who)
            kept = work()
            times[name][0].append(time.perf_counter() - start)
            times[name][1].append(cpu(who) - start_cpu)
            del kept
    print(f"\none-way grid 60x60, 100,000 samples, every path listed (medians of "
          f"{2 * repeats + 1}, load average {os.getloadavg()[0]:.1f}):")
    print(f"  {'':16} {'wall s':>7} {'ratio':>5}  {'CPU s':>7} {'ratio':>5}")
    runner_wall, runner_cpu = map(statistics.median, times["runner"])
    for name, (wall, used) in times.items():
        wall, used = statistics.median(wall), statistics.median(used)
        print(f"  {name:16} {wall:7.3f} {wall / runner_wall:5.2f}  {used:7.3f} "
              f"{used / runner_cpu:5.2f}")


main()
