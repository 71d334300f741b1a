#!/usr/bin/env bash
# Where a software frame's time goes, stage by stage: samples `perf record`
# (the cpu-clock event, which needs no hardware counters) takes of
# raster_bench drawing frames into memory, summed by the stage each function
# belongs to. Prints a Markdown table, one column per configuration.
#   scripts/where-time-goes.sh [BUILD_DIR]      (default: build)
set -euo pipefail
build=${1:-build}
bench=$build/bench/raster_bench
[ -x "$bench" ] || { echo "$bench is missing: build first." >&2; exit 1; }
command -v perf >/dev/null || { echo "perf is missing (linux-perf)." >&2; exit 1; }

# column title | benchmark filter
configs=(
  "1920 x 1080 filling, 1 thread|BM_Threads/width:1920/height:1080/threads:1/"
  "1920 x 1080 filling, 2 threads|BM_Threads/width:1920/height:1080/threads:2/"
  "480 x 480 start-up view, 2 threads|BM_BandHeight/width:480/height:480/view:1/rows:8/"
)
# stage | extended regular expression over symbol names, first match wins
stages=(
  "shading: place, bump, light, sample|ShadeBatch|shadeBatch|pow|log|placeFragment|bumpNormal|lightFragment|sample"
  "span stepping|StepSpan|stepSpan"
  "depth test and plotting|PlotBatch|plotBatch|plotPixel"
  "clearing|clearColors|clearDepth|clearRows"
  "span set-up|fillSpan|padToWidestLanes"
  "edges and polygons|ActiveEdgeList|EdgeTable|scanPolygon|Edge::|drawObject|clip|Clip|fromClipSpace|toClipSpace"
  "threads: hand-off and waiting|tbb|BandWorkers|BandRenderer|futex|sched|pthread"
  "kernel, other|\\[k\\]"
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
header="| Stage |"
rule="|---|"
declare -A share
for c in "${!configs[@]}"; do
  IFS='|' read -r title filter <<<"${configs[$c]}"
  header+=" $title |"
  rule+="---:|"
  perf record -q -e cpu-clock -o "$scratch/perf.data" "$bench" --benchmark_filter="$filter" \
    --benchmark_min_time=2 >/dev/null 2>&1
  perf report -i "$scratch/perf.data" --no-children --sort symbol --stdio -g none 2>/dev/null |
    grep -E '^ +[0-9.]+%' >"$scratch/symbols.txt"
  left=100
  for s in "${!stages[@]}"; do
    pattern=${stages[$s]#*|}
    sum=$(awk -v pattern="$pattern" '{ percent = $1; sub(/%/, "", percent); $1 = ""
            if ($0 ~ pattern && !seen[$0]++) total += percent } END { printf "%.1f", total }' "$scratch/symbols.txt")
    # Each symbol counts once, for the first stage it matches.
    awk -v pattern="$pattern" '{ line = $0; $1 = ""; if ($0 !~ pattern) print line }' "$scratch/symbols.txt" \
      >"$scratch/rest.txt"
    mv "$scratch/rest.txt" "$scratch/symbols.txt"
    share[$s,$c]=$sum
    left=$(awk -v a="$left" -v b="$sum" 'BEGIN { printf "%.1f", a - b }')
  done
  share[rest,$c]=$left
done

echo "Share of the samples, %, $(grep -m 1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(nproc) cores:"
echo
echo "$header"
echo "$rule"
for s in "${!stages[@]}"; do
  line="| ${stages[$s]%%|*} |"
  for c in "${!configs[@]}"; do line+=" ${share[$s,$c]} |"; done
  echo "$line"
done
line="| the rest |"
for c in "${!configs[@]}"; do line+=" ${share[rest,$c]} |"; done
echo "$line"
