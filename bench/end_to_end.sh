#!/usr/bin/env bash
# Times karvelo-plot end to end (process start to PNG written, 1920 x 1080) on synthetic
# dipole-dipole surveys of 10k, 100k and 1M data, and reports peak memory. With
# --anchors it times the matplotlib and GMT scripts that users would otherwise run, on
# the same files, side by side.
#
#   bench/end_to_end.sh [--anchors] [--sizes "10000 100000 1000000"] [--runs N]
#
# Needs: hyperfine, time, python3-numpy (the survey generator); with --anchors also
# python3-scipy python3-matplotlib gmt ghostscript. Uses the Release build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
anchors=0
sizes="10000 100000 1000000"
runs=10
while [ $# -gt 0 ]; do
  case "$1" in
    --anchors) anchors=1 ;;
    --sizes) sizes="$2"; shift ;;
    --runs) runs="$2"; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

plot=${KARVELO_PLOT:-build/src/cli/karvelo-plot}
[ -x "$plot" ] || { echo "build first (./test or ./run)" >&2; exit 2; }
anchor_dir=../shared/anchors
work=build/bench-e2e
mkdir -p "$work"

# Start-up alone: the same command on a file that does not exist ends right after the
# Qt application is up. Subtracting it from a drawing's time gives the drawing itself
# (read, grid, paint, text, PNG written), the figure to hold against the anchors'
# compiled floor.
hyperfine -N -i --warmup 2 --runs "$runs" -n start-up "$plot $work/missing.dat -o $work/missing.png" \
  2>/dev/null | grep -E 'Time' | sed 's/^/start-up: /'

for n in $sizes; do
  dat="$work/dd$n.dat"
  [ -f "$dat" ] || /usr/bin/python3 "$anchor_dir/gen_survey.py" "$n" "$dat" >/dev/null
  # Warm the settings files once so every timed run is the same repeat drawing.
  "$plot" "$dat" -o "$work/dd$n.png" --width 1920 --height 1080 2>/dev/null
  peak=$(/usr/bin/time -f '%M' "$plot" "$dat" -o "$work/dd$n.png" --width 1920 --height 1080 2>&1 >/dev/null | tail -1)
  echo "== $n data: peak memory $((peak / 1024)) MiB"
  cmds=("$plot $dat -o $work/dd$n.png --width 1920 --height 1080")
  names=("karvelo-plot")
  if [ "$anchors" = 1 ]; then
    runs_anchor=$(( n >= 1000000 ? 1 : 3 ))
    cmds+=("/usr/bin/python3 $anchor_dir/mpl_pseudo.py $dat $work/mpl$n.png 1920 1080"
           "bash $anchor_dir/gmt_pseudo.sh $dat $work/gmt$n.png 1920 1080")
    names+=("matplotlib" "GMT")
    for i in 0 1 2; do
      hyperfine -N --warmup 1 --runs $([ $i = 0 ] && echo "$runs" || echo "$runs_anchor") \
        -n "${names[$i]}" "${cmds[$i]}" 2>/dev/null | grep -E 'Time|±' | head -1 | sed "s/^/  ${names[$i]}: /"
    done
  else
    hyperfine -N --warmup 2 --runs "$runs" -n karvelo-plot "${cmds[0]}" 2>/dev/null | grep -E 'Time' | sed 's/^/  /'
  fi
done
