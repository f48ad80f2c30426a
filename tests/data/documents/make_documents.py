#!/usr/bin/env python3
"""Writes the golden and the broken documents of the engine tests, byte by byte from the format's
tables, independently of the C++ writer. Run it from this folder; the outputs are committed."""
import struct

SIGNATURE = b"WOVEN-GRAPHS\0\0"


def settings(model=0, model_type=0, reward=0.0, penalty=0.0, factor=0.0):
    return struct.pack("<iifff", model, model_type, reward, penalty, factor)


def label(text):
    raw = text.encode("latin-1")
    return (raw + b"\0").ljust(32, b" ")


def node(node_id, text, x, y):
    return struct.pack("<i", node_id) + label(text) + struct.pack("<ii", x, y)


def link(from_id, to_id, kind, weight, probability):
    return struct.pack("<iiiff", from_id, to_id, kind, weight, probability)


def document(nodes, links, ranges=(), head=None):
    body = head if head is not None else settings()
    body += struct.pack("<i", len(nodes)) + b"".join(nodes)
    body += struct.pack("<i", len(links)) + b"".join(links)
    body += struct.pack("<i", len(ranges)) + b"".join(struct.pack("<fff", *r) for r in ranges)
    return SIGNATURE + body


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


empty = document([], [])
assert len(empty) == 46
write("empty.plm", empty)

two_nodes = document([node(0, "0", 10, 20), node(1, "1", 100, 20)], [link(0, 1, 1, 2.5, 1.0)])
assert len(two_nodes) == 154
write("two-nodes.plm", two_nodes)

# Settings, three kinds of link and two ranges; the unidirectional probability is stale on purpose.
write("settings-and-ranges.plm", document(
    [node(0, "A", 0, 0), node(1, "B", 60, 0), node(2, "C", 120, 0)],
    [link(0, 1, 0, 1.5, 0.25), link(1, 2, 2, 2.0, 0.75), link(0, 2, 1, 3.0, 0.9)],
    [(0.0, 10.0, 0.2), (10.0, 20.0, 0.8)],
    head=settings(1, 2, 0.5, 0.0, 0.125)))

# Two nodes share ID 5: a link to 5 resolves to the first of them.
write("duplicate-ids.plm", document(
    [node(5, "first", 0, 0), node(5, "second", 60, 0), node(9, "third", 120, 0)],
    [link(9, 5, 1, 1.0, 0.0)]))

# Broken documents, each refused as a whole.
write("bad-signature.plm", two_nodes[:13] + b"\x01" + two_nodes[14:])
write("link-to-node-7.plm", document(
    [node(0, "0", 0, 0), node(1, "1", 60, 0), node(2, "2", 120, 0)],
    [link(0, 1, 0, 1.0, 0.5), link(2, 7, 0, 1.0, 0.5)]))
write("truncated.plm", two_nodes[:120])
write("huge-node-count.plm", SIGNATURE + settings() + struct.pack("<i", 2_000_000_000) + b"\0" * 64)
write("huge-link-count.plm", SIGNATURE + settings() + struct.pack("<i", 1) + node(0, "0", 0, 0)
      + struct.pack("<i", 2_000_000_000) + b"\0" * 64)
write("negative-count.plm", SIGNATURE + settings() + struct.pack("<i", -1) + struct.pack("<ii", 0, 0))
# A link of kind 3 would be drawn without its line yet walked both ways.
write("unknown-kind.plm", document([node(0, "0", 0, 0), node(1, "1", 60, 0)], [link(0, 1, 3, 1.0, 0.5)]))

# Labels with control characters (tab, escape, a C1 control), as only a damaged or foreign
# document can hold them.
write("control-characters.plm", document([node(0, "A\t\x1bc\x9b", 0, 0), node(1, "B", 60, 0)],
                                         [link(0, 1, 0, 1.0, 0.5)]))
