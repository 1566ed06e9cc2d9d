#!/usr/bin/env bash
# Tests the packages scripts/package.sh made, as a user receives them. The .deb is unpacked
# into a scratch root (never installed into this machine's /usr or package database) and its
# programs run from there; the zip is unpacked and its veltrano.exe started under Wine.
# Usage: scripts/test-package.sh [deb|zip]... (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=$(pwd)/build/packages
scratch=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-package.XXXXXX")
failures=0
cleanup_steps=()
cleanup() {
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

pass() { echo "ok: $*"; }
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
# Runs a check given as a command; its output is shown only when it fails.
check() {
  local what=$1 log
  shift
  log=$scratch/check.log
  if "$@" >"$log" 2>&1; then pass "$what"; else fail "$what" && sed 's/^/  /' "$log" >&2; fi
}

only_file() {
  local found=("$@")
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    echo "expected one package, found: ${found[*]} (run scripts/package.sh)" >&2
    return 1
  fi
  echo "${found[0]}"
}

# ---- The Debian package -------------------------------------------------------------------

# Option names a text mentions: --word or -w, not hyphens inside words or paths.
option_names() { grep -oE '(^|[^[:alnum:]-])--?[a-z][a-z-]*' | sed -E 's/^[^-]+//' | sort -u; }

# A manual page man formats without a warning, for a terminal with no UTF-8 as well.
renders_cleanly() {
  local warnings
  # From the manual's root, where a page that is a link (.so man1/...) finds its target.
  warnings=$(cd "$(dirname "$1")/.." && LANG= LC_ALL= man --warnings -l "$1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
}

# The tags of the paragraphs in a section of a manual page: the options or exit statuses it
# documents.
page_tags() {
  zcat "$1" |
    awk -v section="$2" '/^\.SH/ { inside = (substr($0, 5) == section) } inside && tag { print }
                         { tag = /^\.TP/ }' |
    sed -E 's/\\f[BIRP]//g; s/\\-/-/g; s/^\.B +//'
}

# Every option --help names is documented in the page, and the page documents no other; so
# with the exit statuses when --help lists them.
manual_matches_help() {
  local program=$1 page=$2 name
  name=$(basename "$program")
  diff -u --label "$name --help" --label "$(basename "$page")" \
    <("$program" --help | option_names) <(page_tags "$page" OPTIONS | option_names) || return 1
  "$program" --help | grep -q '^Exit status:' || return 0
  diff -u --label "$name --help" --label "$(basename "$page")" \
    <("$program" --help | sed -n '/^Exit status:/,$p' | grep -oE '^ +[0-9]+' | tr -d ' ') \
    <(page_tags "$page" "EXIT STATUS" | grep -oE '^[0-9]+')
}

prints_version() {
  local program=$1 version=$2
  [ "$("$program" --version)" = "$(basename "$program") $version" ]
}

# Every library the programs load directly comes from a package the .deb depends on.
depends_cover_libraries() {
  local deb=$1 programs=$2 depends lib package missing="" multiarch
  multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed -E 's/^ *//; s/[ (:].*//')
  for lib in $(for program in "$programs"/*; do
    objdump -p "$program" 2>/dev/null | awk '$1 == "NEEDED" { print $2 }'
  done | sort -u); do
    package=$(dpkg -S "*/$multiarch/$lib" | head -1 | cut -d: -f1)
    grep -qx "$package" <<<"$depends" || missing+=" $lib ($package)"
  done
  [ -z "$missing" ] || { echo "Depends lacks the packages of:$missing"; return 1; }
}

# The menu entry is valid, runs a program of the package and shows the package's icon.
menu_entry_works() {
  local root=$1 entry command icon
  entry=$root/usr/share/applications/veltrano.desktop
  desktop-file-validate "$entry" || return 1
  command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$root/usr/bin/$command" ] || { echo "Exec=$command is not a program of the package"; return 1; }
  icon=$(sed -n 's/^Icon=//p' "$entry")
  compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.*" || { echo "no icon $icon"; return 1; }
}

host_answers() { "$bin/mbhost" --attach -e '2*2' >/dev/null 2>&1; }

demo_is_ready() {
  [ "$("$bin/mbhost" --attach -e 'SelectionInfo(3)')" = 2 ] &&
    [ -f "$XDG_DATA_HOME/veltrano/demo/data/roads.tab" ]
}

# The menu entry's launcher starts the host with the installed demo, its tables made in the
# user's data folder; the dialog it then opens is closed once it is seen running.
launcher_starts_demo_host() {
  QT_QPA_PLATFORM=offscreen "$bin/veltrano-launch" >"$scratch/launch.log" 2>&1 &
  local launcher=$!
  cleanup_steps+=("kill $launcher 2>/dev/null")
  for _ in $(seq 100); do
    host_answers && break
    sleep 0.1
  done
  cleanup_steps+=("'$bin/mbhost' --attach -x 'End MapInfo' >/dev/null 2>&1")
  demo_is_ready || { cat "$scratch/launch.log" "$XDG_DATA_HOME/veltrano/mbhost.log"; return 1; }
  sleep 1
  kill -0 "$launcher" || { echo "the dialog did not stay open:"; cat "$scratch/launch.log"; return 1; }
  kill "$launcher"
}

placed_rows() { "$bin/mbhost" --attach -e 'TableInfo(placed, 8)'; }

# What a user does with the installed programs against the running demo host, whose tables are
# in $XDG_DATA_HOME/veltrano/demo/data: each command-line mode of veltrano-batch has its step
# here; the file mode reads those tables and writes into $scratch.
installed_program_steps() {
  check "veltrano-batch places points along the demo selection" \
    "$bin/veltrano-batch" --points "1000;5000;20000" --output placed
  check "the placed points are in the demo's output table" test "$(placed_rows)" -gt 0
  check "veltrano-batch's file mode writes a GeoPackage of posts from the demo's roads" \
    "$bin/veltrano-batch" --input "$XDG_DATA_HOME/veltrano/demo/data/roads.tab" --every 10000 \
    --keep name --output "$scratch/posts.gpkg" --picture "$scratch/posts.png" --quiet
  check "the posts file holds points" posts_written "$scratch/posts.gpkg"
}

# The file-mode output read back by GDAL, not by the package's own programs.
posts_written() { ogrinfo -ro -so -al "$1" | grep -E '^Feature Count: [1-9]'; }

test_deb() {
  local deb version root tree_before
  deb=$(only_file "$packages"/veltrano_*.deb) || { fail "the .deb is there"; return; }
  version=$(dpkg-deb -f "$deb" Version)
  version=${version%-*}
  check "its dependencies install on this system (apt-get install -s)" \
    apt-get install -s -q "$deb"
  check "lintian finds no error" lintian --fail-on error "$deb"

  root=$scratch/root
  dpkg -x "$deb" "$root"
  bin=$root/usr/bin
  check "it depends on the packages of every library its programs load" \
    depends_cover_libraries "$deb" "$bin"
  for program in mbhost veltrano-batch; do
    check "$program --version prints the package's version" prints_version "$bin/$program" "$version"
    check "$program --help succeeds" "$bin/$program" --help
    check "the $program manual documents the options (and exit statuses) of --help, no others" \
      manual_matches_help "$bin/$program" "$root/usr/share/man/man1/$program.1.gz"
  done

  for page in "$root"/usr/share/man/man1/*.1.gz; do
    check "$(basename "$page") reads without a warning under an empty LANG" \
      renders_cleanly "$page"
  done
  check "the menu entry runs the launcher and shows the icon" menu_entry_works "$root"
  export XDG_DATA_HOME=$scratch/data MBHOST_SOCKET=$scratch/mbhost.socket
  tree_before=$(find "$root" | sort)
  check "the launcher starts mbhost with the installed demo in XDG_DATA_HOME" \
    launcher_starts_demo_host
  installed_program_steps
  check "nothing is written into the installed tree" test "$(find "$root" | sort)" = "$tree_before"
}

# ---- The Windows zip ------------------------------------------------------------------------

windows_imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p'; }

# Only Windows' own libraries: the C++ and MinGW runtimes are linked in.
linked_statically() {
  local unexpected
  unexpected=$(windows_imports "$1" |
    grep -viE '^(kernel32|user32|gdi32|comctl32|ole32|oleaut32|advapi32|msvcrt|shell32)\.dll$' || true)
  [ -z "$unexpected" ] || { echo "needs beside it:" $unexpected; return 1; }
}

gui_subsystem() { x86_64-w64-mingw32-objdump -p "$1" | grep -E '^Subsystem.*\(Windows GUI\)'; }

has_licences() {
  local texts=("$1"/licenses/*.txt)
  [ ${#texts[@]} -ge 3 ] && for text in "${texts[@]}"; do [ -s "$text" ] || return 1; done
}

# Started with no host running, the dialog opens; WM_CLOSE (what taskkill sends without /f)
# ends it with exit status 0 within 10 s.
closes_on_wm_close() {
  local exe=$1 program status
  export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  cleanup_steps+=("/usr/lib/wine/wineserver -k 2>/dev/null")
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$scratch/display" >/dev/null 2>&1 &
  cleanup_steps+=("kill $!")
  for _ in $(seq 50); do [ -s "$scratch/display" ] && break || sleep 0.1; done
  export DISPLAY=:$(cat "$scratch/display")

  /usr/lib/wine/wine64 "$exe" >/dev/null 2>&1 &
  program=$!
  cleanup_steps+=("kill $program 2>/dev/null")
  timeout 60 xdotool search --sync --onlyvisible --name '^MapInfo utility' >/dev/null ||
    { echo "the dialog did not show within 60 s"; return 1; }
  /usr/lib/wine/wine64 taskkill /im veltrano.exe >/dev/null 2>&1
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program" 2>/dev/null && { echo "still running 10 s after WM_CLOSE"; return 1; }
  status=0
  wait "$program" || status=$?
  [ "$status" -eq 0 ] || { echo "exit status $status"; return 1; }
}

test_zip() {
  local zip top
  zip=$(only_file "$packages"/veltrano-*-windows-x64.zip) || { fail "the zip is there"; return; }
  mkdir -p "$scratch/zip"
  (cd "$scratch/zip" && cmake -E tar xf "$zip")
  top=$(only_file "$scratch"/zip/*/veltrano.exe) || { fail "the zip holds veltrano.exe"; return; }
  top=$(dirname "$top")
  check "veltrano.exe is a GUI program" gui_subsystem "$top/veltrano.exe"
  check "veltrano.exe needs no DLL beside it" linked_statically "$top/veltrano.exe"
  check "the README for Windows users is there" grep -q "MapInfo.Application" "$top/README.txt"
  check "the licence texts are there" has_licences "$top"
  check "veltrano.exe opens without a host and ends on WM_CLOSE with 0" \
    closes_on_wm_close "$top/veltrano.exe"
}

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb zip)
for kind in "${kinds[@]}"; do
  case $kind in
    deb) test_deb ;;
    zip) test_zip ;;
    *) echo "test-package.sh: unknown package kind $kind (deb or zip)" >&2; exit 2 ;;
  esac
done
if [ "$failures" -gt 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "The packages passed every check."
