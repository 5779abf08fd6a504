#!/usr/bin/env bash
# Runs velmara-bench from a built bench folder: makes the real text it repeats, then measures.
# Usage: bench/run-bench.sh BUILD_DIR [velmara-bench options...]
#
# The text is the Spanish manual pages of section 7 (overviews and conventions) of Debian's
# manpages-es, formatted as plain text without hyphenation or justification; the pages that
# are only character tables are left out.
set -euo pipefail

build=${1:?usage: bench/run-bench.sh BUILD_DIR}
shift
bin=$build/bin
work=$build/bench-data
mkdir -p "$work"

base=$work/manpages-es-man7.txt
if [ ! -s "$base" ]; then
  pages=$(ls /usr/share/man/es/man7/*.7.gz | grep -vE '/(iso|cp|armscii|ascii|koi|charsets|utf|unicode|latin|tis)[^/]*$')
  for page in $pages; do
    MANWIDTH=80 LC_ALL=C.UTF-8 man --no-hyphenation --no-justification -E UTF-8 -l "$page" 2>/dev/null |
      col -bx | sed 's/^ *//'
  done >"$base"
fi

bench/startup-bench.sh "$bin" "${DESKTOP:-}"
echo

echo "Peak resident memory of velmara-check (MB) over copies of the text:"
bench/memory-bench.sh "$bin/velmara-check" "$bin/palabrasbd" "$base" "$work"
echo

"$bin/velmara-bench" --db "$bin/palabrasbd" --text "$base" --dictionary /usr/share/hunspell/es_ES \
  --check "$bin/velmara-check" --large-text "$work/texto-grande.txt" "$@"
echo
"$bin/velmara-bench-hostile" --db "$bin/palabrasbd" --text "$base"

# Suggestions beside the peers, on the held-out part of our misspelling set.
"$bin/velmara-suggest-bench" --db "$bin/palabrasbd" --misspellings "$(dirname "$0")/../tests/data/faltas.tsv" \
  --dictionary /usr/share/hunspell/es_ES --part control

# Accent advice: accents taken out of held-out Debian prose (never used to build the model).
"$bin/velmara-context-bench" --db "$bin/palabrasbd" --text "$(dirname "$0")/data/contexto-prueba.txt" \
  --dictionary /usr/share/hunspell/es_ES
echo

# velmara-server under load: a server of its own on a free loopback port, many clients for a
# fixed time, then the server is stopped.
if [ -x "$bin/velmara-server" ] && [ -x "$bin/velmara-server-load" ]; then
  log=$work/velmara-server.log
  "$bin/velmara-server" --db "$bin/palabrasbd" --port 0 --no-intellisense 2>"$log" &
  server=$!
  trap 'kill $server 2>/dev/null || true' EXIT
  port=
  for _ in $(seq 100); do
    port=$(sed -n 's|.*http://127.0.0.1:\([0-9]*\)/v2.*|\1|p' "$log")
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { echo "velmara-server did not start" >&2; cat "$log" >&2; exit 1; }
  "$bin/velmara-server-load" --port "$port" --pid "$server" --text "$base" --clients 8 --seconds 5
  kill "$server"
  wait "$server" 2>/dev/null || true
  trap - EXIT
fi

# The check through the main window (GUI_BENCH: velmara-gui-bench of a desktop build), offscreen.
if [ -n "${GUI_BENCH:-}" ]; then
  QT_QPA_PLATFORM=offscreen "$GUI_BENCH" "$(dirname "$GUI_BENCH")" "$base" 10000 200004 2>/dev/null
fi
