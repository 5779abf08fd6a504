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

echo "Peak resident memory of velmara-check (MB) over copies of the text:"
bench/memory-bench.sh "$bin/velmara-check" "$bin/palabrasbd" "$base" "$work"
echo

exec "$bin/velmara-bench" --db "$bin/palabrasbd" --text "$base" --dictionary /usr/share/hunspell/es_ES \
  --check "$bin/velmara-check" --large-text "$work/texto-grande.txt" "$@"
