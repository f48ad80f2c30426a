"""Times the same sweeps through pathloom-run with 1 and 2 jobs and through pathloom.sweep on a
Dask LocalCluster of 1 and 2 worker processes (one thread each), and checks that all four write
the same CSV bytes.
    dask_bench.py PATHLOOM_RUN DOCUMENTS REPEATS
A cluster is started before its sweeps are timed (its start is shown apart); each figure is the
wall time of the whole sweep, the runner's from its start to its exit."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

from dask.distributed import Client, LocalCluster

import pathloom


def sweeps(documents):
    rewards = [round(0.01 * k, 2) for k in range(1, 21)]
    return [
        (
            "40 enumerations on random 150/400 (LRP, LRI; 20 rewards)",
            os.path.join(documents, "dest-random-150-400.plm"),
            dict(method="dest", source="#1", dest="#150", scheme=["LRP", "LRI"], reward=rewards),
        ),
        (
            "200 short sampled runs on directed grid 10x10 (2,000 samples; 200 seeds)",
            os.path.join(documents, "grid-10.plm"),
            dict(method="sample", source="#1", dest="#100", samples=2000, seed=range(1, 201)),
        ),
    ]


def runner_words(document, axes, csv):
    words = [document]
    for name, value in axes.items():
        if isinstance(value, (list, range)):
            words += ["--sweep", "%s=%s" % (name, ",".join(str(v) for v in value))]
        else:
            words += ["--" + name, str(value)]
    return words + ["--csv", csv]


def timed(work, repeats):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return times


def main():
    run, documents, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
    folder = tempfile.mkdtemp()
    print("load average before: %.1f %.1f %.1f" % os.getloadavg())
    clusters = {}
    for workers in (1, 2):
        start = time.perf_counter()
        cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                               host="127.0.0.1", dashboard_address="127.0.0.1:0")
        clusters[workers] = (cluster, Client(cluster))
        started = time.perf_counter() - start
        print("a cluster of %d worker(s) started in %.2f s" % (workers, started))
    for title, document, axes in sweeps(documents):
        print("\n" + title)
        print("%-22s %8s %8s" % ("", "best s", "median s"))
        outputs = []
        for jobs in (1, 2):
            csv = os.path.join(folder, "jobs-%d.csv" % jobs)
            words = [run] + runner_words(document, axes, csv) + ["--jobs", str(jobs)]
            times = timed(lambda: subprocess.run(words, check=True), repeats)
            print("%-22s %8.3f %8.3f" % ("pathloom-run --jobs %d" % jobs, min(times),
                                         statistics.median(times)))
            outputs.append(csv)
        for workers, (_, client) in clusters.items():
            csv = os.path.join(folder, "dask-%d.csv" % workers)
            times = timed(lambda: pathloom.sweep(document, client=client, csv=csv, progress=False,
                                                 **axes), repeats)
            print("%-22s %8.3f %8.3f" % ("Dask, %d worker(s)" % workers, min(times),
                                         statistics.median(times)))
            outputs.append(csv)
        texts = set()
        for csv in outputs:
            with open(csv, "rb") as rows:
                texts.add(rows.read())
        print("the same rows all four ways" if len(texts) == 1 else "ROWS DIFFER")
    for cluster, client in clusters.values():
        client.close()
        cluster.close()
    print("\nload average after: %.1f %.1f %.1f" % os.getloadavg())


if __name__ == "__main__":
    main()
