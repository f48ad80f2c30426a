#!/usr/bin/env bash
# Builds one libFuzzer target with clang in fuzz-build/ and runs it for a while on its seeds.
#   scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTIONS...]
#   TARGET: document (any bytes as a .plm document), pathfile (any bytes as a path file, run
#           over a small graph), numeric (any text through the dialogs' numeric rules)
# New inputs that widen coverage collect in fuzz-build/corpus/TARGET; a crash, hang or leak
# leaves its input in fuzz-build/artifacts/ and makes the script fail. Re-run one input with
#   fuzz-build/TARGET_fuzz fuzz-build/artifacts/FILE
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  sed -n '2,9p' "$0" >&2
  exit 2
fi
target="$1"
seconds="$2"
shift 2
case "$target" in
  document) seeds=(tests/data/documents) ;;
  pathfile) seeds=(tests/data/paths) ;;
  numeric) seeds=(tests/data/numbers) ;;
  *) echo "fuzz.sh: unknown target '$target' (document, pathfile or numeric)" >&2; exit 2 ;;
esac

scripts/install-deps.sh clang libclang-rt-14-dev
cmake -S fuzz -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build fuzz-build -j 2 --target "${target}_fuzz"

corpus="fuzz-build/corpus/$target"
mkdir -p "$corpus" fuzz-build/artifacts
dict=()
[ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
# One second is long for any of these inputs: a slower one is a hang worth a look.
exec fuzz-build/"${target}_fuzz" "$corpus" "${seeds[@]}" "${dict[@]}" \
  -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="fuzz-build/artifacts/$target-" "$@"
