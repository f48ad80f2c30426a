#!/usr/bin/python3
"""Writes examples/streets.graphml: 6 by 6 junctions of one-way streets, eastwards and southwards,
with random costs, as a graph library would hand it over. Run with the system Python, which has
networkx (Debian's python3-networkx)."""
import os
import random

import networkx as nx

random.seed(7)
g = nx.DiGraph()
for r in range(6):
    for c in range(6):
        if c < 5:
            g.add_edge(f"r{r}c{c}", f"r{r}c{c+1}", weight=random.randint(1, 9))
        if r < 5:
            g.add_edge(f"r{r}c{c}", f"r{r+1}c{c}", weight=random.randint(1, 9))
nx.write_graphml(g, os.path.join(os.path.dirname(os.path.abspath(__file__)), "streets.graphml"))
