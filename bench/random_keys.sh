# Sourced by the whole-process benchmarks: the keys of a game played for
# SECONDS with a key every 150 ms, into the array `keys`. Arrows and the
# rotation mostly, now and then a drop or a new game (F2).
random_keys() {  # random_keys SECONDS
  keys=()
  for _ in $(seq $(($1 * 1000 / 150))); do
    case $((RANDOM % 10)) in
      0|1|2) keys+=(Left) ;; 3|4|5) keys+=(Right) ;; 6|7) keys+=(space) ;; 8) keys+=(Down) ;; 9) keys+=(F2) ;;
    esac
  done
}
