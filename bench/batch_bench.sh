#!/usr/bin/env bash
# xuanshu-cli batch on tmpfs: the CPU time (user + system) and the peak memory
# of 10,000 and of 40,000 births, each the median of five runs into a fresh
# data folder under /dev/shm. The peak memory stays the same for four times
# the lines.
#
#   bench/batch_bench.sh [path/to/xuanshu-cli]
set -euo pipefail
cli=${1:-build/bin/xuanshu-cli}
runs=5
scratch=$(mktemp -d /dev/shm/xuanshu-batch-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# Seeded births: both sexes, both calendars, every hour of the day.
write_births() {
  local count=$1 i y m d h sex calendar
  RANDOM=2024
  for ((i = 0; i < count; i++)); do
    y=$((1901 + RANDOM % 149)) m=$((1 + RANDOM % 12)) d=$((1 + RANDOM % 28))
    h=$((RANDOM % 24))
    sex=男 calendar=公历
    ((RANDOM % 2)) && sex=女
    ((RANDOM % 5 == 0)) && calendar=农历
    printf '命例%d\t%s\t%s\t%04d-%02d-%02d\t%02d:%02d\n' "$i" "$sex" "$calendar" "$y" "$m" "$d" \
      "$h" $((RANDOM % 60))
  done
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for count in 10000 40000; do
  write_births "$count" >"$scratch/births.tsv"
  cpu=() rss=()
  for ((run = 0; run < runs; run++)); do
    rm -rf "$scratch/home"
    mkdir "$scratch/home"
    /usr/bin/time -o "$scratch/time" -f '%U %S %M' \
      "$cli" batch --home "$scratch/home" "$scratch/births.tsv" >/dev/null 2>&1
    cpu+=("$(awk '{ print $1 + $2 }' "$scratch/time")")
    rss+=("$(awk '{ print $3 }' "$scratch/time")")
  done
  echo "batch of $count births: CPU $(printf '%s\n' "${cpu[@]}" | median) s" \
    "(runs: ${cpu[*]}), peak memory $(printf '%s\n' "${rss[@]}" | median) KB"
done
