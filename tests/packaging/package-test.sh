#!/usr/bin/env bash
# The Debian package, made by cpack from the finished build (its preinstall step finds nothing
# to compile) and unpacked into a scratch root with dpkg -x: its programs run from there as the
# built ones do, its Depends name the package of every library they link, lintian finds no
# error, and its manual pages and bash completion follow the runner's usage text, so that an
# option added to the program and not to them fails here. As root, it is also installed and
# purged for real, over a scratch layer on /usr, and leaves nothing behind. Skipped (77) where cpack, dpkg-deb or
# dpkg-shlibdeps is missing.
#   package-test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "NOTICE: $tool is missing; the package is not tested"
    exit 77
  fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "package-test: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$scratch/out") > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$scratch/out/pathloom_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack did not write $(basename "$deb")"
if command -v lintian >/dev/null; then
  lintian -I --fail-on error "$deb" > "$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log"; fail "lintian reports errors"; }
else
  echo "NOTICE: lintian is missing; the package is not checked by it"
fi
root=$scratch/root
dpkg -x "$deb" "$root"
[[ $(zcat "$root/usr/share/doc/pathloom/changelog.gz") == "pathloom ($version) "* ]] ||
  fail "the changelog has no entry for $version on top"

# Each library a program or module of the package needs belongs to a package Depends names.
depends=" $(dpkg-deb -f "$deb" Depends | sed 's/([^)]*)//g; s/[,|]/ /g') "
mapfile -t elf < <(find "$root/usr" -type f \( -path '*/bin/*' -o -name '*.so*' \))
libraries=$(objdump -p "${elf[@]}" | awk '$1 == "NEEDED" { print $2 }' | sort -u)
# Where the loader finds each, asked of dpkg under both names of a merged /usr (a search by
# name alone would take seconds): "package:arch[, package:arch]: /path".
mapfile -t found < <(ldd "${elf[@]}" | awk '$2 == "=>" && $3 ~ /^\// { print $3 }' | sort -u)
owned=$(dpkg -S "${found[@]}" "${found[@]/#//usr}" "${found[@]#/usr}" 2>/dev/null) || true
for library in $libraries; do
  owners=$(grep "/$library\$" <<< "$owned" | sed 's/: \/.*//; s/:[a-z0-9]*//g; s/,/ /g')
  [ -n "$owners" ] || fail "no installed package holds $library"
  named=
  for owner in $owners; do
    [[ $depends == *" $owner "* ]] && named=yes
  done
  [ -n "$named" ] || fail "Depends:$depends names none of $owners ($library)"
done

# The packaged runner works alone, as the built one does.
run=(examples/one-way-grid.plm --method sample --source A1 --dest P16 --until 0.95 --quiet --json)
(cd "$source" && "$root/usr/bin/pathloom-run" "${run[@]}") > "$scratch/packaged.json"
(cd "$source" && "$build/pathloom-run" "${run[@]}") > "$scratch/built.json"
grep -q '"status": "ok"' "$scratch/packaged.json" || fail "the packaged runner failed its run"
cmp "$scratch/built.json" "$scratch/packaged.json"
"$root/usr/bin/pathloom-run" --help > "$scratch/usage"

# Rendered pages: no groff warning, and a tag for every option, word for word as in the usage.
render() {
  local page=$root/usr/share/man/man1/$1.1.gz
  [ -f "$page" ] || fail "no manual page $1(1)"
  LC_ALL=C MANWIDTH=200 man --warnings -l "$page" 2> "$scratch/man.err"
  [ ! -s "$scratch/man.err" ] || fail "$1(1): $(cat "$scratch/man.err")"
}
has_tag() { # PAGE_TEXT TAG: a tag line of the page starts with TAG
  awk -v tag="       $2" 'index($0, tag) == 1 && (length($0) == length(tag) ||
    substr($0, length(tag) + 1, 1) ~ /[ ,]/) { found = 1 } END { exit !found }' "$1"
}
render pathloom-run > "$scratch/pathloom-run.txt"
grep -o '\[--[^]]*\]' "$scratch/usage" | tr -d '[]' > "$scratch/options"
while read -r option; do
  has_tag "$scratch/pathloom-run.txt" "$option" || fail "pathloom-run(1) has no tag '$option'"
done < "$scratch/options"
option_names() { grep -o '^--[a-z-]*' | sort; }
page_options=$(sed -n '/^OPTIONS/,/^[A-Z]/s/^       \(--[a-z-]*\).*/\1/p' "$scratch/pathloom-run.txt")
diff <(option_names < "$scratch/options") <(option_names <<< "$page_options") ||
  fail "pathloom-run(1) has other options"

if [ -x "$build/pathloom" ]; then
  export QT_QPA_PLATFORM=offscreen
  "$root/usr/bin/pathloom" --export "$scratch/triangle.svg" "$source/examples/triangle.plm"
  grep -q '<svg' "$scratch/triangle.svg" || fail "the packaged window drew no SVG"
  render pathloom > "$scratch/pathloom.txt"
  "$root/usr/bin/pathloom" --help 2>/dev/null | grep -o '^  -[^ ]*\( --[a-z-]*\)\?' |
    sed 's/^ *//' | while read -r option; do
    has_tag "$scratch/pathloom.txt" "$option" || fail "pathloom(1) has no tag '$option'"
  done
  for file in applications/pathloom.desktop mime/packages/pathloom.xml \
    icons/hicolor/48x48/apps/pathloom.png \
    icons/hicolor/48x48/mimetypes/application-x-pathloom.png; do
    [ -f "$root/usr/share/$file" ] || fail "the package lacks /usr/share/$file"
  done
fi

# The Python module, where the build made it, is importable from the package alone, under
# Debian's interpreter (the one the package depends on), and runs as the packaged runner does.
if [ -f "$build/python/pathloom/__init__.py" ]; then
  module=$(find "$root/usr/lib" -path '*-packages/pathloom' -print -quit)
  [ -n "$module" ] || fail "the package lacks the Python module"
  (cd "$scratch" && PYTHONPATH=$(dirname "$module") /usr/bin/python3 -c 'import pathloom
print(pathloom.__file__)
print(pathloom.open("'"$source"'/examples/one-way-grid.plm").run(
    source="A1", dest="P16", until=0.95, quiet=True).converged_at)') > "$scratch/module.txt" ||
    fail "the packaged Python module does not import and run"
  [[ $(head -1 "$scratch/module.txt") == "$module/"* ]] || fail "python3 imported another pathloom"
  [ "$(tail -1 "$scratch/module.txt")" = "$(sed -n 's/.*"convergedAt": \([0-9]*\).*/\1/p' "$scratch/packaged.json")" ] ||
    fail "the packaged module converges elsewhere than the packaged runner"
fi

# The module's byte code: made after installing and removed before removing, by Debian's tools,
# and lintian finds no spelling in the module that the programs' overrides do not cover.
if [ -f "$build/python/pathloom/__init__.py" ]; then
  dpkg-deb -I "$deb" postinst | grep -qx $'\tpy3compile -p pathloom' || fail "postinst compiles no byte code"
  dpkg-deb -I "$deb" prerm | grep -qx $'\tpy3clean -p pathloom' || fail "prerm cleans no byte code"
  [ "$(dpkg-deb -f "$deb" Suggests)" = "python3-distributed, python3-tqdm" ] ||
    fail "Suggests: $(dpkg-deb -f "$deb" Suggests)"
  if command -v lintian >/dev/null && grep -q '^[EWI]: .*spelling-error' "$scratch/lintian.log"; then
    fail "lintian: $(grep '^[EWI]: .*spelling-error' "$scratch/lintian.log")"
  fi
  # Installed and purged for real where this runs as root: dpkg with an admin folder of its own
  # installs over a scratch layer on /usr, in a mount namespace of its own, so that the machine
  # is not changed; an import as root between the two writes byte code too.
  if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    mkdir -p "$scratch/admin/updates" "$scratch/admin/info" "$scratch/layer"
    touch "$scratch/admin/status"
    status=0
    env -u PYTHONPATH unshare -m bash -c '
      set -e
      scratch=$1
      mount -t tmpfs tmpfs "$scratch/layer" && mkdir "$scratch/layer/upper" "$scratch/layer/work" &&
        mount -t overlay overlay -o "lowerdir=/usr,upperdir=$scratch/layer/upper,workdir=$scratch/layer/work" /usr ||
        exit 77
      dpkg=(dpkg --admindir="$scratch/admin" --log="$scratch/dpkg.log" --force-depends)
      "${dpkg[@]}" -i "$2" > "$scratch/dpkg.out" 2>&1
      module=$(find /usr/lib -path "*-packages/pathloom" -print -quit)
      [ -n "$(find "$module" -name "*.pyc")" ] || { echo "no byte code after installing"; exit 1; }
      (cd "$scratch" && /usr/bin/python3 -c "import pathloom")
      "${dpkg[@]}" --purge pathloom >> "$scratch/dpkg.out" 2>&1
      [ ! -e "$module" ] || { echo "left after purging:" $(find "$module"); exit 1; }
    ' purge-test "$scratch" "$deb" > "$scratch/purge.log" 2>&1 || status=$?
    if [ "$status" = 77 ]; then
      echo "NOTICE: no overlay mount here; the package is not installed for real"
    elif [ "$status" != 0 ]; then
      cat "$scratch/purge.log" "$scratch/dpkg.out" 2>/dev/null
      fail "installing and purging the package"
    fi
  else
    echo "NOTICE: not root; the package is not installed for real"
  fi
fi

# Bash completion, as bash-completion loads it: every option, each option's choices, the sweep's
# names, and files by what each option reads or writes.
completion=$root/usr/share/bash-completion/completions/pathloom-run
[ -f "$completion" ] || fail "the package lacks the bash completion"
if [ ! -f /usr/share/bash-completion/bash_completion ]; then
  echo "NOTICE: bash-completion is missing; the completion is not tried"
  exit 0
fi
mkdir "$scratch/files" "$scratch/files/folder"
touch "$scratch"/files/{a.plm,b.graphml,c.xml,d.dot,e.gv,f.csv,g.txt,h.png}
choices=$(grep -o '\[--[a-z-]* [A-Za-z]*\(|[A-Za-z]*\)\+\]' "$scratch/usage" | tr -d '[]')
sweep_names=$(sed -n 's/^ *NAME: //p' "$scratch/usage" | sed 's/, */= /g; s/$/=/')
[ -n "$choices" ] || fail "the usage text has no choices to complete"
[ -n "$sweep_names" ] || fail "the usage text names nothing to sweep"
cd "$scratch/files"
# One case a line: what follows pathloom-run on the command line (the last word is completed;
# a trailing space completes an empty one), then what completion offers, in any order.
cases=$(cat <<EOF
--|$(option_names < "$scratch/options" | tr '\n' ' ')
x.plm --sweep |$sweep_names
|a.plm b.graphml c.xml d.dot e.gv f.csv folder
x.plm --paths |g.txt folder
x.plm --history |f.csv folder
x.plm --sweep seed=1:3:1 --csv |f.csv folder
x.plm --export |b.graphml c.xml d.dot e.gv f.csv folder
x.plm --save |a.plm folder
$(while read -r option names; do echo "x.plm $option |${names//|/ }"; done <<< "$choices")
EOF
)
bash -c '
  source /usr/share/bash-completion/bash_completion
  source "$1"
  compopt() { :; } # only a completion the shell runs may change its options
  sorted() { printf "%s\n" "$@" | sort | tr "\n" " "; }
  while IFS="|" read -r words offered; do
    COMP_LINE="pathloom-run $words"
    COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<< "$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _pathloom_run pathloom-run "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    got=$(sorted "${COMPREPLY[@]}")
    read -ra wanted <<< "$offered"
    want=$(sorted "${wanted[@]}")
    if [ "$got" != "$want" ]; then
      echo "completing \"pathloom-run $words\": $got, not $want" >&2
      exit 1
    fi
  done <<< "$2"
' completion-test "$completion" "$cases" || fail "the completion offers something else"
