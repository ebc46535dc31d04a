#!/usr/bin/env bash
# Every performance figure with its goal, in one table.
#   release build: the core benchmarks, start-up, CPU and memory, and the
#   idle cost of a gamepad plugged in
#   timing build (release + NUBBO_TIMING): fall steps and key latency
#   the web edition (build/web) in headless Chromium: its download, load,
#   main-thread and key-to-frame budgets
set -euo pipefail
cd "$(dirname "$0")/.."
echo "| figure | measured | goal |"
echo "|---|---|---|"
build/release/bench/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null |
  awk -F, '$1 ~ /_median"$/ {
    name = $1; gsub(/"|_median/, "", name)
    goal = name == "BM_SettleLandingNoRun" ? "<= 1 us" : name == "BM_SettleLandingThreePassChain" ? "<= 10 us" : "-"
    printf "| %s (median of 5) | %.3f us | %s |\n", name, $4 / 1000, goal }'
bench/process_bench.sh build/release | tail -n +3
# Desktop start-up beside a bare Qt window (bench/bare_window), same run.
echo
bench/startup_bench.sh build/release
echo
# Gamepads: the window at rest with no pad, with a virtual pad, without again.
QT_QPA_PLATFORM=offscreen build/release/bench/pad_idle "${PAD_SECONDS:-10}" "${RUNS:-5}"
bench/timing_bench.sh build/timing
node bench/web_bench.mjs | tail -n +3
# First visits, the game's page beside the 2048 page (../shared/yardsticks)
# and an empty page, each served by web/serve.mjs in the same run: medians of
# 21 alternating loads from about:blank, then with the renderer warmed first
# (medians of 7 moved by more than the margins they are read against).
RUNS=${FIRST_VISITS:-21} node bench/web_first_visit.mjs | tail -n +3
RUNS=${FIRST_VISITS:-21} node bench/web_first_visit.mjs warm | tail -n +3
