#!/usr/bin/python3
"""Writes the networkx-made import fixtures (nx-*.graphml, nx-*.csv) beside this script.

Run with the system Python, which has networkx: /usr/bin/python3 make_fixtures.py
The files are committed; run it again only to change them.
"""
import csv
import os

import networkx as nx

HERE = os.path.dirname(os.path.abspath(__file__))


def path(name):
    return os.path.join(HERE, name)


def write_edge_csv(graph, name, header, row):
    with open(path(name), "w", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(header)
        for u, v, data in graph.edges(data=True):
            out.writerow(row(u, v, data))


# One-way roads with costs, a cycle among them.
directed = nx.DiGraph()
directed.add_weighted_edges_from(
    [("a", "b", 1.5), ("b", "c", 2.0), ("c", "a", 0.25), ("a", "d", 4.0), ("d", "c", 1.0)]
)
nx.write_graphml(directed, path("nx-directed.graphml"))
write_edge_csv(directed, "nx-directed.csv", ["source", "target", "weight"],
               lambda u, v, d: [u, v, d["weight"]])

# Two-way streets with costs and probabilities; one is bidirectional.
undirected = nx.Graph()
for u, v, w, p in [("s", "t", 3.0, 0.5), ("t", "u", 1.25, 0.5), ("u", "v", 2.0, 1.0),
                   ("v", "s", 0.5, 0.125), ("s", "u", 7.0, 0.75), ("v", "w", 1.0, 0.0)]:
    undirected.add_edge(u, v, weight=w, probability=p)
undirected.edges["v", "w"]["kind"] = "bidirectional"
nx.write_graphml(undirected, path("nx-undirected.graphml"))
# Column names in another letter case and order, as spreadsheets write them.
write_edge_csv(undirected, "nx-undirected.csv", ["Target", "Source", "Cost", "Probability", "Kind"],
               lambda u, v, d: [v, u, d["weight"], d["probability"], d.get("kind", "simple")])

# A small map: labelled places at screen positions (centres, y down).
places = nx.Graph()
for node, label, x, y in [(1, "Harbour", 60, 40), (2, "Mill", 220, 40), (3, "Old Town", 140, 180)]:
    places.add_node(node, label=label, x=x, y=y)
places.add_edge(1, 2, length=160.0)
places.add_edge(2, 3, length=161.25)
places.add_edge(3, 1, length=161.25)
nx.write_graphml(places, path("nx-positions.graphml"))
write_edge_csv(places, "nx-positions.csv", ["source", "target", "length"],
               lambda u, v, d: [u, v, d["length"]])
with open(path("nx-positions.nodes.csv"), "w", newline="") as f:
    out = csv.writer(f, lineterminator="\n")
    out.writerow(["id", "label", "x", "y"])
    for node, data in places.nodes(data=True):
        out.writerow([node, data["label"], data["x"], data["y"]])
