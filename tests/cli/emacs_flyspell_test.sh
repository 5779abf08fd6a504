#!/usr/bin/env bash
# A real Emacs drives velmara-check: flyspell marks the words we do not accept, ispell offers
# our correction first, and a word added from Emacs is kept in the user's word list.
# Usage: emacs_flyspell_test.sh BIN_DIR. Exit 77 (skipped) without Emacs.
set -u
command -v emacs >/dev/null || { echo "emacs is not installed: skipped"; exit 77; }
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/test_lib.sh"
db=$work/palabrasbd
make_database "$bin" "$db" 'el\ncamión\nde\nmi\nvecino\nestá\nen\nla\ncalle\ncasa\ndónde\ndonde\nárbol\n' 'vive\nestás\n' 'madrid\n'
printf 'El camion de mi vecino está en la calle de Madrid.\n¿Donde vive? Blogueo en la casa con wifi.\nÁrbol xyzzy.\n' \
  >"$work/texto.txt"

out=$(VELMARA_CHECK="$bin/velmara-check" VELMARA_DB="$db" VELMARA_WORDS="$work/palabras.txt" \
  VELMARA_TEXT="$work/texto.txt" HOME="$work" timeout 120 emacs --batch -Q -l "$here/emacs_flyspell.el" 2>"$work/err")
status=$?
check "emacs exit" 0 "$status"
[ "$status" -eq 0 ] || cat "$work/err"
# Word by word, "Donde" stands alone: only the whole line shows it is inside a question.
check "flyspell marks" "marked: camion Blogueo con xyzzy" "$(grep '^marked:' <<<"$out")"
check "ispell offers" "offered: camion camión" "$(grep '^offered:' <<<"$out")"
check "added word" "after adding: t|Blogueo" "$(grep '^after adding:' <<<"$out")|$(cat "$work/palabras.txt" 2>/dev/null)"
check "large region" "large region: camion Donde con xyzzy" "$(grep '^large region:' <<<"$out")"
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
