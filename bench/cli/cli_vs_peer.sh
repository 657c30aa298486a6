#!/usr/bin/env bash
# Whole-process wall time of Vakuro's command-line GIF output of the standard
# title with fresh settings, beside the peer job (ImageMagick making a
# comparable styled title GIF), in one run: the two alternate, N runs each,
# and the medians and their ratio are printed.
#
#   bench/cli/cli_vs_peer.sh [N] [VAKURO] [PEER]
#
#   N       runs of each (default 10)
#   VAKURO  the program (default build/bin/vakuro of this tree)
#   PEER    the peer script (default ../shared/bench/peer-im-title.sh beside
#           this tree), run as: PEER gif OUTDIR
#
# Every Vakuro run gets a fresh data folder (VAKURO_HOME), temporary folder
# and configuration folder, so nothing is read from an earlier run. The goal
# is at most half the peer's wall time.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
n=${1:-10}
vakuro=${2:-$root/build/bin/vakuro}
peer=${3:-$root/../shared/bench/peer-im-title.sh}
text=文字画像を作ろう
[ -x "$vakuro" ] || { echo "no program at $vakuro (build the target vakuro)" >&2; exit 2; }
[ -x "$peer" ] || { echo "no peer script at $peer" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now() { date +%s%N; }

ms() {  # elapsed milliseconds, three decimals, between two nanosecond stamps
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b - a) / 1e6 }'
}

run_vakuro() {
  local dir=$work/v$1
  mkdir -p "$dir/home" "$dir/tmp" "$dir/config" "$dir/out"
  local t0 t1
  t0=$(now)
  (cd "$dir/out" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VAKURO_HOME="$dir/home" TMPDIR="$dir/tmp" \
      XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/tmp" "$vakuro" /T "$text" /F out.gif 2>"$dir/stderr")
  t1=$(now)
  [ -s "$dir/out/out.gif" ] || { echo "vakuro wrote no file:" >&2; cat "$dir/stderr" >&2; exit 1; }
  ms "$t0" "$t1"
}

run_peer() {
  local dir=$work/p$1
  mkdir -p "$dir"
  local t0 t1
  t0=$(now)
  "$peer" gif "$dir" >/dev/null 2>&1
  t1=$(now)
  [ -s "$dir/peer.gif" ] || { echo "the peer wrote no file" >&2; exit 1; }
  ms "$t0" "$t1"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) printf "%.1f", v[(NR + 1) / 2]; else printf "%.1f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One untimed run of each warms the file cache.
run_vakuro warm >/dev/null
run_peer warm >/dev/null
: >"$work/vakuro.times"
: >"$work/peer.times"
for i in $(seq 1 "$n"); do
  run_vakuro "$i" >>"$work/vakuro.times"; echo >>"$work/vakuro.times"
  run_peer "$i" >>"$work/peer.times"; echo >>"$work/peer.times"
done
v=$(median <"$work/vakuro.times")
p=$(median <"$work/peer.times")
echo "runs:              $n each, alternating"
echo "vakuro /T $text /F out.gif: median $v ms  ($(tr '\n' ' ' <"$work/vakuro.times"))"
echo "peer-im-title.sh gif:       median $p ms  ($(tr '\n' ' ' <"$work/peer.times"))"
awk -v v="$v" -v p="$p" 'BEGIN { printf "ratio vakuro / peer: %.2f (goal: at most 0.50)\n", v / p }'
