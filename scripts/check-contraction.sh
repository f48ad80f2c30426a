#!/usr/bin/env bash
# Fails, naming them, when a headless source (io, model, engine, formats, cli, python) would compile
# to a fused multiply-add on a processor that has one: its results would then differ between
# machines. Each source is compiled to assembly with its own build command plus -mfma (x86-64);
# sources listed with pathloom_no_contraction in CMake are built with -ffp-contract=off and pass.
#   scripts/check-contraction.sh [BUILD_DIR]   (default build; any configured build folder)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: configure that build first (cmake -S . -B $build)" >&2
  exit 2
fi

python3 - "$build/compile_commands.json" <<'EOF'
import json, platform, re, shlex, subprocess, sys

fused = re.compile(r"\b(vfn?m(add|sub)[0-9a-z]*|fn?m(add|sub)|fml[as])\b")
extra = ["-mfma"] if platform.machine() == "x86_64" else []
found = []
for entry in json.load(open(sys.argv[1])):
    source = entry["file"]
    if not re.search(r"/(io|model|engine|formats|cli|python)/[^/]+\.cpp$", source) or "/tests/" in source:
        continue
    args = shlex.split(entry["command"])
    while "ccache" in args[0]:
        args = args[1:]
    command, skip = [], False
    for a in args:
        if skip:
            skip = False
        elif a == "-o":
            skip = True
        elif a != "-c":
            command.append(a)
    out = subprocess.run(command + extra + ["-S", "-o", "-"], cwd=entry["directory"],
                         capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"cannot compile {source}:\n{out.stderr}")
    if fused.search(out.stdout):
        found.append(source)
for source in found:
    print(f"fuses a multiply and an add: {source} (add it to pathloom_no_contraction)")
sys.exit(1 if found else 0)
EOF
