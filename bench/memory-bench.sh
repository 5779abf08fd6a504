#!/usr/bin/env bash
# Peak resident memory of velmara-check over 1, 16, 256 and 1,000 copies of a sample (the first
# 50 kB of a text, to its last whole line; 1,000 copies are 50 MB), in each output format: the check reads and writes piece by piece, so the figure stays flat however
# long the input (JSON keeps the corrected text its one document ends with).
# Usage: bench/memory-bench.sh VELMARA_CHECK DATABASE_DIR TEXT WORK_DIR
set -euo pipefail

check=${1:?usage: bench/memory-bench.sh VELMARA_CHECK DATABASE_DIR TEXT WORK_DIR}
db=$2
text=$3
work=$4
mkdir -p "$work"
sample=$work/memory-sample.txt
head -c 50000 "$text" | sed '$d' >"$sample"

printf '%-10s %10s %12s %12s %12s %12s\n' copies "input MB" "text MB" "colour MB" "tsv MB" "json MB"
for copies in 1 16 256 1000; do
  input=$work/memory-$copies.txt
  if [ ! -s "$input" ] || [ "$sample" -nt "$input" ]; then
    for ((i = 0; i < copies; ++i)); do cat "$sample"; done >"$input"
  fi
  row=$(printf '%-10s %10.2f' "$copies" "$(awk -v b="$(stat -c %s "$input")" 'BEGIN { print b / 1e6 }')")
  for format in "--color=never" "--color=always" "--format tsv" "--format json"; do
    # shellcheck disable=SC2086
    # The exit status says whether a word was missing; only the figure matters here.
    kilobytes=$({ /usr/bin/time -f '%M' "$check" --db "$db" $format "$input" 2>&1 >/dev/null || true; } | tail -1)
    row+=$(printf ' %12.1f' "$(awk -v k="$kilobytes" 'BEGIN { print k / 1000 }')")
  done
  echo "$row"
done
