#!/usr/bin/python3
"""A sampled experiment on a graph from networkx: 6 by 6 junctions of one-way streets with random
costs, runs over a few seeds and learning rates, and the convergence figure: how likely
the automata are to take the cheapest route found, sample after sample, one line per rate (the
mean over the seeds).

    PYTHONPATH=build/python python3 examples/python/convergence.py [FOLDER]

writes FOLDER/convergence.png (the current folder by default)."""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import networkx as nx
import numpy as np

import pathloom

# 6 by 6 junctions of one-way streets with random costs, as networkx holds them
# (examples/make_streets.py wrote them).
here = os.path.dirname(os.path.abspath(__file__))
streets = nx.read_graphml(os.path.join(here, "..", "streets.graphml"))
graph = pathloom.Graph.from_networkx(streets)

samples = 4000
grid = np.arange(1, samples + 1)
figure, axes = plt.subplots(figsize=(7, 4))
for reward in (0.02, 0.05, 0.1):
    curves = []
    for seed in (1, 2, 3, 4, 5):
        result = graph.run(method="sample", source="r0c0", dest="r5c5", samples=samples,
                           seed=seed, scheme="LRI", reward=reward, history=True)
        history = result.history
        # Between two learned paths the probability stays as it was.
        at = np.searchsorted(history["n"], grid, side="right") - 1
        curves.append(np.where(at >= 0, history["best_probability"][np.maximum(at, 0)], 0.0))
        print(f"reward {reward} seed {seed}: best {result.best_path} cost {result.best_cost}, "
              f"probability {result.best_path_probability:.3f}")
    axes.plot(grid, np.mean(curves, axis=0), label=f"reward {reward}")
axes.set_xlabel("sample")
axes.set_ylabel("probability of the cheapest route found")
axes.legend()
folder = sys.argv[1] if len(sys.argv) > 1 else "."
os.makedirs(folder, exist_ok=True)
figure.savefig(os.path.join(folder, "convergence.png"), dpi=100)
print("wrote", os.path.join(folder, "convergence.png"))
