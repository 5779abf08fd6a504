#!/usr/bin/env bash
# Start-up of the terminal checker on one short line beside `hunspell -l`, and the resident
# memory of the server after its start: the median of 7 runs each, the programs alternating in
# the same run. Each program is run once before the count, so both read warm files, and the
# compiled word database has been verified once.
# Usage: bench/startup-bench.sh BIN_DIR [DESKTOP_PROGRAM]
set -euo pipefail

bin=${1:?usage: bench/startup-bench.sh BIN_DIR [DESKTOP_PROGRAM]}
desktop=${2:-}
db=$bin/palabrasbd
runs=7
line='El niño comio una manzana y fue exelente.'
missing_line='exelente'

# "seconds kilobytes" of one run of the command, its input on standard input.
measure() {
  local input=$1
  shift
  local start end kilobytes
  start=$(date +%s%N)
  kilobytes=$({ printf '%s\n' "$input" | /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null || true; } | tail -1)
  end=$(date +%s%N)
  echo "$(((end - start) / 1000)) $kilobytes"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The same database without its compiled file, read as every program did before it existed.
records=$bin/../startup-records-only
rm -rf "$records"
mkdir -p "$records"
for name in diccionario.log verbos.log npropios.log "Falsos Positivos.txt"; do
  cp -l "$db/$name" "$records/" 2>/dev/null || cp "$db/$name" "$records/"
done

declare -A labels commands inputs
order=()
# program NAME LABEL INPUT COMMAND...: one program of the table, in the order given.
program() {
  local name=$1 label=$2 input=$3
  shift 3
  order+=("$name")
  labels[$name]=$label
  inputs[$name]=$input
  commands[$name]="$*"
}
program hunspell "hunspell -l -d es_ES" "$line" hunspell -l -d es_ES
program check "velmara-check" "$line" "$bin/velmara-check" --db "$db"
program suggest "velmara-check --suggest (one missing word)" "$missing_line" "$bin/velmara-check" --suggest --db "$db"
program pipe "velmara-check -a (a line with a misspelling)" "$line" "$bin/velmara-check" -a --db "$db"
# A folder of record files alone is compiled into the cache folder at its first load, and read
# from that copy afterwards.
program before "velmara-check, record files only (cached copy)" "$line" "$bin/velmara-check" --db "$records"
program before_suggest "  the same with --suggest" "$missing_line" "$bin/velmara-check" --suggest --db "$records"

if ! command -v hunspell >/dev/null || [ ! -e /usr/share/hunspell/es_ES.dic ]; then
  order=(check suggest pipe before before_suggest)
fi
declare -A times memories
for name in "${order[@]}"; do
  # shellcheck disable=SC2086
  measure "${inputs[$name]}" ${commands[$name]} >/dev/null
done
for ((run = 0; run < runs; ++run)); do
  for name in "${order[@]}"; do
    # shellcheck disable=SC2086
    read -r micros kilobytes < <(measure "${inputs[$name]}" ${commands[$name]})
    times[$name]+="$micros "
    memories[$name]+="$kilobytes "
  done
done

echo "Start-up on one short line, median of $runs runs:"
printf '%-46s %10s %16s\n' program "time (s)" "peak memory (MB)"
for name in "${order[@]}"; do
  time=$(tr ' ' '\n' <<<"${times[$name]}" | sed '/^$/d' | median)
  memory=$(tr ' ' '\n' <<<"${memories[$name]}" | sed '/^$/d' | median)
  printf '%-46s %10.3f %16.1f\n' "${labels[$name]}" "$(awk -v t="$time" 'BEGIN { print t / 1e6 }')" \
    "$(awk -v k="$memory" 'BEGIN { print k / 1000 }')"
done

# Resident memory of a program some seconds after its start, median of 3.
resident_after_start() {
  local log=$1
  shift
  local values=()
  for _ in 1 2 3; do
    "$@" >/dev/null 2>"$log" &
    local pid=$!
    sleep 3
    values+=("$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  printf '%s\n' "${values[@]}" | median
}

if [ -x "$bin/velmara-server" ]; then
  kilobytes=$(resident_after_start "$bin/../server-start.log" "$bin/velmara-server" --db "$db" --port 0)
  printf '%-46s %27.1f\n' "velmara-server, resident after start (MB)" "$(awk -v k="$kilobytes" 'BEGIN { print k / 1000 }')"
fi
if [ -n "$desktop" ] && [ -x "$desktop" ]; then
  kilobytes=$(resident_after_start "$bin/../desktop-start.log" env QT_QPA_PLATFORM=offscreen "$desktop")
  printf '%-46s %27.1f\n' "desktop program, resident when idle (MB)" "$(awk -v k="$kilobytes" 'BEGIN { print k / 1000 }')"
fi
