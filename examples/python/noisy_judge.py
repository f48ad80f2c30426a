#!/usr/bin/python3
"""An environment of one's own: the costs the automata see are noisy (each path's cost plus
Gaussian noise), and a path is rewarded when its noisy cost is below the mean of the noisy costs
seen so far. The same sampled run with Pathloom's own P-model, for comparison.

    PYTHONPATH=build/python python3 examples/python/noisy_judge.py [EXAMPLES_FOLDER]"""
import os
import random
import sys

import pathloom

folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
graph = pathloom.open(os.path.join(folder, "network.plm"))


class NoisyMean:
    """Rewards a path whose noisy cost is below the running mean."""

    def __init__(self, noise, seed):
        self.random = random.Random(seed)
        self.noise = noise
        self.total = 0.0
        self.count = 0

    def __call__(self, links, cost):
        seen = cost + self.random.gauss(0.0, self.noise)
        rewarded = self.count == 0 or seen < self.total / self.count
        self.total += seen
        self.count += 1
        return rewarded


names = [f"{a}->{b}" for a, b, *_ in graph.links]
for title, judge in (("P-model", None), ("noisy mean, sd 1", NoisyMean(1.0, seed=1)),
                     ("noisy mean, sd 3", NoisyMean(3.0, seed=1))):
    result = graph.run(method="sample", source="S", dest="D", samples=5000, seed=1,
                       scheme="LRI", reward=0.05, judge=judge)
    shown = ", ".join(f"{n} {p:.2f}" for n, p in zip(names, result.probabilities))
    print(f"{title:18} best {result.best_path} (cost {result.best_cost}): {shown}")
