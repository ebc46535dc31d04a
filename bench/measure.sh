# Sourced by the whole-process benchmarks: how they read a running game's
# CPU and memory, and the game they play.

# CPU time of every thread of a process in nanoseconds, from the scheduler's
# own accounting (finer than the 10 ms ticks of /proc/PID/stat).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{n += $1} END {print n}'; }

# Runs a command and prints the CPU that process PID used meanwhile, as a
# share of one core in percent.
cpu_percent_during() {  # cpu_percent_during PID COMMAND...
  local pid=$1 t0 t1 s0 s1
  shift
  t0=$(cpu_ns "$pid"); s0=$(date +%s.%N)
  "$@"
  t1=$(cpu_ns "$pid"); s1=$(date +%s.%N)
  awk -v t0="$t0" -v t1="$t1" -v s0="$s0" -v s1="$s1" 'BEGIN {print (t1 - t0) / 1e9 / (s1 - s0) * 100}'
}

peak_mb() { awk '/VmHWM/ {print $2 / 1024}' "/proc/$1/status"; }

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2)}'; }

# Plays a game in window WIN of process PID for SECONDS with a key every
# 150 ms: arrows and the rotation mostly, now and then a drop or a new game
# (F2); from SEED's keys if given. Prints the CPU it used meanwhile, in
# percent of one core.
play_game() {  # play_game PID WIN SECONDS [SEED]
  [[ -n ${4:-} ]] && RANDOM=$4
  local keys=()
  for _ in $(seq $(($3 * 1000 / 150))); do
    case $((RANDOM % 10)) in
      0|1|2) keys+=(Left) ;; 3|4|5) keys+=(Right) ;; 6|7) keys+=(space) ;; 8) keys+=(Down) ;; 9) keys+=(F2) ;;
    esac
  done
  xdotool windowfocus --sync "$2" 2>/dev/null
  xdotool key F2
  cpu_percent_during "$1" xdotool key --delay 150 "${keys[@]}" 2>/dev/null
}
