"""Runs every command and Python example of README.md and docs/ as a reader would, and checks
the output a page shows under it, so that a page that goes stale fails.

A page marks each fenced block: ```sh (run with bash, stopping at the first failing command),
```python (run in one interpreter per page, block after block, as in a notebook) or ```text (not
run: an output, a listing). A ```text block right after a run block is that block's standard
output. In it a line "..." stands for any lines, and "..." within a line for any text. A run
block that starts with the comment "# not run by the doc test: WHY" is left out, and says why where the
reader sees it. Relative links and pictures must lead to files, and anchors to their headings;
README.md stays a short start.

Each page runs in a scratch folder of its own, holding a copy of examples/, the scripts and the
build's programs and module under build/, with the build folder on the PATH.

    doc-test.py SOURCE_DIR BUILD_DIR PYTHON [PAGE...]
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

NOT_RUN = "# not run by the doc test:"
KINDS = ("sh", "python", "text")
# Generous: the slowest block takes a few seconds; a hang must still end the test.
BLOCK_TIMEOUT = 120
# README is the start: what Pathloom is, two commands, a first experiment; the rest is in docs/.
README_LINES = 200


class Block:
    def __init__(self, kind, lines, line):
        self.kind, self.lines, self.line = kind, lines, line
        self.expected = None  # the following text block's lines

    @property
    def text(self):
        return "\n".join(self.lines) + "\n"

    def reason(self):
        """Why the block is not run, from its leading comments; None for a block that runs."""
        for line in self.lines:
            if not line.startswith("#"):
                break
            if line.startswith(NOT_RUN):
                return line[len(NOT_RUN):].strip()
        return None


def read_blocks(page, problems):
    blocks, current, fence = [], None, None
    after_run = None  # the run block a text block may answer, while only blank lines came since
    for number, line in enumerate(page.read_text(encoding="utf-8").split("\n"), 1):
        if current is None:
            # As in Markdown, backticks in the info string make it inline code, not a fence.
            match = re.match(r"^(\s*)(```+)([^`]*)$", line)
            if not match:
                if line.strip():
                    after_run = None
                continue
            fence, kind = match.group(2), match.group(3).strip()
            if kind not in KINDS:
                problems.append(f"{page}:{number}: mark the block as one of {', '.join(KINDS)}")
            current = Block(kind, [], number)
            continue
        if line.strip() == fence:
            if current.kind == "text" and after_run is not None:
                after_run.expected = current.lines
                after_run = None
            else:
                blocks.append(current)
                after_run = current if current.kind in ("sh", "python") else None
            current = None
            continue
        current.lines.append(line)
    if current is not None:
        problems.append(f"{page}:{current.line}: the block is never closed")
    return [b for b in blocks if b.kind in ("sh", "python")]


def matches(expected, actual):
    """Whether the output's lines are the expected ones, with their "..." wildcards."""
    want = [line.rstrip() for line in expected]
    got = [line.rstrip() for line in actual]
    while want and not want[-1]:
        want.pop()
    while got and not got[-1]:
        got.pop()
    patterns = [None if w == "..." else re.compile(".*".join(map(re.escape, w.split("..."))))
                for w in want]

    def match_from(i, j):
        if i == len(patterns):
            return j == len(got)
        if patterns[i] is None:
            return any(match_from(i + 1, k) for k in range(j, len(got) + 1))
        return j < len(got) and patterns[i].fullmatch(got[j]) and match_from(i + 1, j + 1)

    return match_from(0, 0)


def slug(heading):
    text = re.sub(r"[`*_]", "", heading.strip().lower())
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def check_links(page, source, problems):
    text = page.read_text(encoding="utf-8")
    prose = re.sub(r"```.*?```", "", text, flags=re.S)
    for target in re.findall(r"\]\(([^)\s]+)\)", prose):
        if re.match(r"^[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        file = (page.parent / path).resolve() if path else page
        if not file.exists():
            problems.append(f"{page.relative_to(source)}: '{target}' leads to no file")
        elif anchor and file.suffix == ".md":
            headings = re.findall(r"^#+ (.*)$", file.read_text(encoding="utf-8"), flags=re.M)
            if anchor not in {slug(h) for h in headings}:
                problems.append(f"{page.relative_to(source)}: '{target}' names no heading")


def scratch_folder(source, build):
    folder = Path(tempfile.mkdtemp(prefix="pathloom-docs-"))
    shutil.copytree(source / "examples", folder / "examples")
    (folder / "scripts").symlink_to(source / "scripts")
    (folder / "build").symlink_to(build)
    return folder


def missing_module(stderr):
    found = re.search(r"ModuleNotFoundError: No module named '([\w.]+)'", stderr)
    return found.group(1) if found and found.group(1) != "pathloom" else None


def run_shell(block, folder, env):
    done = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", block.text], cwd=folder, env=env,
                          capture_output=True, text=True, timeout=BLOCK_TIMEOUT)
    return done.returncode, done.stdout, done.stderr


# Runs the page's Python blocks in one namespace, each block's output caught on its own, until
# one fails; writes what each printed, and the failure's traceback.
PYTHON_RUNNER = """
import contextlib, io, json, sys, traceback
blocks = json.load(open(sys.argv[1]))
space, results = {"__name__": "__main__"}, []
for name, text in blocks:
    out, status, err = io.StringIO(), 0, ""
    try:
        with contextlib.redirect_stdout(out):
            exec(compile(text, name, "exec"), space)
    except BaseException:
        status, err = 1, traceback.format_exc()
    results.append([status, out.getvalue(), err])
    if status:
        break
json.dump(results, open(sys.argv[2], "w"))
"""


def run_python(blocks, page, folder, env, python):
    listing, answers = folder / ".blocks.json", folder / ".results.json"
    listing.write_text(json.dumps([[f"{page}:{b.line}", b.text] for b in blocks]))
    done = subprocess.run([python, "-c", PYTHON_RUNNER, str(listing), str(answers)], cwd=folder,
                          env=env, capture_output=True, text=True,
                          timeout=BLOCK_TIMEOUT * len(blocks))
    if not answers.exists():
        return [(done.returncode or 1, done.stdout, done.stderr)] + [None] * (len(blocks) - 1)
    results = [tuple(r) for r in json.loads(answers.read_text())]
    return results + [None] * (len(blocks) - len(results))


def check_page(page, source, build, python, problems, notices):
    relative = page.relative_to(source)
    blocks = read_blocks(page, problems)
    check_links(page, source, problems)
    for block in blocks:
        reason = block.reason()
        if reason == "":
            problems.append(f"{relative}:{block.line}: say why the block is not run")
        elif reason:
            notices.append(f"{relative}:{block.line}: not run ({reason})")
    run = [b for b in blocks if b.reason() is None]
    if not run:
        return 0
    folder = scratch_folder(source, build)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MPLBACKEND="Agg",
               PYTHONPATH=str(build / "python"), PATH=f"{build}{os.pathsep}{os.environ['PATH']}")
    try:
        shell = [b for b in run if b.kind == "sh"]
        results = {id(b): run_shell(b, folder, env) for b in shell}
        snakes = [b for b in run if b.kind == "python"]
        if snakes:
            results.update(zip(map(id, snakes), run_python(snakes, relative, folder, env, python)))
        for block in run:
            result = results[id(block)]
            where = f"{relative}:{block.line}"
            if result is None:
                notices.append(f"{where}: not run, as a block before it failed")
                continue
            status, out, err = result
            module = missing_module(err)
            if status and module:
                notices.append(f"{where}: skipped, as Python's {module} is not installed")
            elif status:
                problems.append(f"{where}: the {block.kind} block failed ({status}):\n{err}{out}")
            elif block.expected is not None and not matches(block.expected, out.split("\n")):
                problems.append(f"{where}: the output differs from the page's.\n--- page:\n"
                                + "\n".join(block.expected) + "\n--- now:\n" + out)
        return len(run)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    source, build = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    python = sys.argv[3]
    pages = [Path(p).resolve() for p in sys.argv[4:]] or \
        [source / "README.md"] + sorted((source / "docs").rglob("*.md"))
    problems, notices, count, start = [], [], 0, time.monotonic()
    readme = (source / "README.md").read_text(encoding="utf-8").count("\n")
    if readme > README_LINES:
        problems.append(f"README.md has {readme} lines, more than {README_LINES}: move the rest "
                        "into a page of docs/")
    for page in pages:
        count += check_page(page, source, build, python, problems, notices)
    for notice in notices:
        print("NOTICE:", notice)
    for problem in problems:
        print("FAILED:", problem)
    print(f"doc-test: {count} blocks of {len(pages)} pages run in "
          f"{time.monotonic() - start:.1f} s; {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
