"""What a notebook shows: a graph drawn as the window draws it, a result's figures as a table, and
the progress of long work through tqdm (in a terminal too)."""

import html
import math
import re
import sys
import threading

import pathloom

from . import _pathloom

# The window's colours and sizes: a node is a 41-pixel circle whose square's top-left corner is
# its position; links run between the centres, cut short by the rim; an arrowhead is 10 pixels
# long and 10 wide; link texts sit on white at the link's middle.
_NODE_SIZE, _CENTRE, _RIM = 41, 20, 21
_NODE_FILL, _LINK, _FLAGGED = "#ffff96", "#000000", "#ff0000"
_MARGIN = 8


def _number(value):
    """A link's number as the canvas writes it: rounded to 3 decimals, 7 significant digits."""
    return ("%.7g" % (round(value * 1000) / 1000 + 0.0)).upper()  # + 0.0: no "-0"


def _link_text(probability, weight, stochastic):
    # A stochastic link's weight is its mean.
    return "P: %s W: %s%s" % (_number(probability), "~" if stochastic else "", _number(weight))


def path_links(links, trace):
    """The positions of the links a trace ("S->A:A->D:") names, each link as from->to."""
    positions, at = [], 0
    while at < len(trace):
        for j, link in enumerate(links):
            part = "%s->%s:" % (link[0], link[1])
            if j not in positions and trace.startswith(part, at):
                positions.append(j)
                at += len(part)
                break
        else:
            return positions  # a trace of another graph: what matched so far
    return positions


def best_links(graph, result):
    """The links of the result's best path: a sampled run's, else the cheapest path it listed."""
    if result is None or result.status != "ok":
        return []
    trace = getattr(result, "best_path", None)
    if trace is None and result.paths:
        trace = min(result.paths, key=lambda path: path["cost"])["trace"]
    return path_links(graph.links, trace or "")


def _arrowhead(x1, y1, x2, y2):
    """The triangle at (x2, y2) of a link from (x1, y1)."""
    angle, side, spread = math.atan2(y2 - y1, x2 - x1), math.hypot(10, 5), math.atan2(5, 10)
    back = [
        (x2 - side * math.cos(angle + s * spread), y2 - side * math.sin(angle + s * spread))
        for s in (1, -1)
    ]
    return "%.1f,%.1f %.1f,%.1f %.1f,%.1f" % (x2, y2, *back[0], *back[1])


def graph_svg(graph, flagged):
    """The graph as SVG: nodes, links with their probabilities and weights, the flagged links
    (positions in graph.links) in red."""
    nodes, links, flagged = graph.nodes, graph.links, set(flagged)
    if not nodes:
        return '<svg xmlns="http://www.w3.org/2000/svg" width="0" height="0"></svg>'
    left = min(x for _, x, _ in nodes) - _MARGIN
    top = min(y for _, _, y in nodes) - _MARGIN
    width = max(x for _, x, _ in nodes) + _NODE_SIZE + _MARGIN - left
    height = max(y for _, _, y in nodes) + _NODE_SIZE + _MARGIN - top
    box = (width, height, left, top, width, height)
    # Crisp 1-pixel lines and outlines, as the window draws them; its texts are smoothed.
    out = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="%d %d %d %d"'
        ' font-family="Arial, Liberation Sans, sans-serif" shape-rendering="crispEdges">' % box,
        '<rect x="%d" y="%d" width="%d" height="%d" fill="#ffffff"/>' % box[2:],
    ]
    texts = []  # over every line
    for j, (link, (a, b)) in enumerate(zip(links, graph._document.link_ends())):
        x1, y1 = nodes[a][1] + _CENTRE, nodes[a][2] + _CENTRE
        x2, y2 = nodes[b][1] + _CENTRE, nodes[b][2] + _CENTRE
        span = math.hypot(x2 - x1, y2 - y1) or 1
        dx, dy = (x2 - x1) / span * _RIM, (y2 - y1) / span * _RIM
        x1, y1, x2, y2 = x1 + dx, y1 + dy, x2 - dx, y2 - dy
        colour = _FLAGGED if j in flagged else _LINK
        out.append(
            '<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s"/>' % (x1, y1, x2, y2, colour)
        )
        heads = {"unidirectional": 1, "bidirectional": 2}.get(link[2], 0)
        for head in [(x1, y1, x2, y2), (x2, y2, x1, y1)][:heads]:
            out.append('<polygon points="%s" fill="%s"/>' % (_arrowhead(*head), colour))
        text = html.escape(_link_text(link[4], link[3], link[5] is not None))
        # The canvas's opaque text: a white box, about 5.6 pixels a character of the 10-pixel font.
        x, y = (x1 + x2) / 2, (y1 + y2) / 2
        texts.append(
            '<rect x="%.1f" y="%.1f" width="%.1f" height="12" fill="#ffffff"/>'
            '<text x="%.1f" y="%.1f" font-size="10" text-anchor="middle">%s</text>'
            % (x - 2.8 * len(text) - 3, y - 6, 5.6 * len(text) + 6, x, y + 3.5, text)
        )
    out += texts
    for label, x, y in nodes:
        out.append(
            '<circle cx="%.1f" cy="%.1f" r="20" fill="%s" stroke="#000000"/>'
            '<text x="%d" y="%d" font-size="11" text-anchor="middle">%s</text>'
            % (x + 20.5, y + 20.5, _NODE_FILL, x + _CENTRE, y + _CENTRE + 4, html.escape(label))
        )
    out.append("</svg>")
    return "\n".join(out)


def result_html(result):
    """The result's figures, each a row of a small table; paths and links are left to the
    attributes."""
    rows = "".join(
        "<tr><th style='text-align:left'>%s</th><td style='text-align:left'>%s</td></tr>"
        % (html.escape(pathloom._snake(name)), html.escape("" if value is None else str(value)))
        for name, value in result._figures.items()
        if name not in ("paths", "links")
    )
    return "<table>%s</table>" % rows


def progress_bar(progress, total, unit):
    """A tqdm bar for work of `total` units (None: unknown), or None. progress: True shows one
    (tqdm must be installed), False none; None shows one where tqdm is installed and the output
    is a terminal or a notebook, and only once the work has taken a second."""
    if progress is False or (progress is None and not (_in_notebook() or sys.stderr.isatty())):
        return None
    try:
        from tqdm.auto import tqdm
    except ImportError:
        if progress:
            raise ImportError("progress=True needs tqdm (Debian's python3-tqdm)")
        return None
    return tqdm(total=total, unit=unit, delay=0 if progress else 1)


def _in_notebook():
    shell = sys.modules.get("IPython")
    ip = shell.get_ipython() if shell is not None else None
    return ip is not None and type(ip).__name__ == "ZMQInteractiveShell"


class Progress:
    """A bar that follows the runner's progress line while the engine works without the GIL: a
    thread reads the line a few times a second. `line` goes to the engine (None: no bar)."""

    def __init__(self, progress, unit, total=None):
        self._bar = progress_bar(progress, total, unit)
        self.line = None if self._bar is None else _pathloom._Progress()
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._follow, daemon=True)

    def __enter__(self):
        if self._bar is not None:
            self._thread.start()
        return self

    def __exit__(self, *raised):
        if self._bar is not None:
            self._stop.set()
            self._thread.join()
            self._bar.close()

    def expect(self, total):
        """The units of work to come, where the caller learns them late."""
        if self._bar is not None:
            self._bar.total = total

    def finish(self, done=None):
        """The work is done: `done` units of it (None: the units expected)."""
        if self._bar is not None:
            self._stop.set()
            self._thread.join()
            done = self._bar.total if done is None else done
            self._bar.total = self._bar.total or done
            self._bar.update(done - self._bar.n)

    def _follow(self):
        while not self._stop.wait(0.25):
            # "12/40 runs, 3 s left", "1234 samples, 56 paths learned, 2.5 s", "56 paths found"
            numbers = re.match(r"(\d+)(?:/(\d+))?", self.line.text())
            if numbers:
                if numbers.group(2):
                    self._bar.total = int(numbers.group(2))
                self._bar.update(int(numbers.group(1)) - self._bar.n)
