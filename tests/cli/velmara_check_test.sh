#!/usr/bin/env bash
# End-to-end test of the terminal programs: a fixture database written by velmara-mkdb, then
# velmara-check in each output format, with files, standard input, and the finder.
# Usage: velmara_check_test.sh BIN_DIR
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

db=$work/palabrasbd
printf 'hola\nmundo\ncamión\ncasa\ndónde\ndonde\nestar\n' >"$work/dic.txt"
printf 'estás\nestar\ncantar\ncanta\n' >"$work/verbs.txt"
printf 'madrid\n' >"$work/names.txt"
"$bin/velmara-mkdb" --out "$db" --dictionary "$work/dic.txt" --verbs "$work/verbs.txt" \
  --proper-names "$work/names.txt" >/dev/null || { echo "FAIL velmara-mkdb"; exit 1; }
printf 'wifi\r\n' >"$db/Falsos Positivos.txt"

# Text: corrected text on standard output, the three result lines on standard error.
out=$(printf 'hola camion, ¿donde estás?' | "$bin/velmara-check" --db "$db" --color=never 2>"$work/err")
check "text exit" 0 $?
check "text output" "Hola camión, ¿Dónde estás?" "$out"
check "text message" "Corregidos 2 es 50,00 %|Faltantes 0 es 0,00 %|Número de palabras 4 es 100,00 %" \
  "$(tr '\n' '|' <"$work/err" | sed 's/|$//')"

# Windows-1252 input is recognised when the bytes are not UTF-8.
out=$(printf 'cami\xf3n' | "$bin/velmara-check" --db "$db" --color=never 2>/dev/null)
check "windows-1252 input" "Camión" "$out"

# Characters Windows-1252 lacks come back as they were and start no sentence, in text and JSON.
out=$(printf 'hola ☕ casa 😀 camion, Ωmega' | "$bin/velmara-check" --db "$db" --color=never 2>/dev/null)
check "kept characters" "Hola ☕ casa 😀 camión, Ωmega" "$out"
out=$(printf 'hola ☕ casa' | "$bin/velmara-check" --db "$db" --format=json 2>/dev/null)
check "kept characters in json" 1 "$(grep -c '{"text":"☕","result":"☕"' <<<"$out")"

# A missing word makes the exit status 1; colours only when asked for.
out=$(printf 'hola zzz' | "$bin/velmara-check" --db "$db" --color=always 2>/dev/null)
check "missing exit" 1 $?
check "coloured output" $'Hola \e[38;2;255;0;0;9mzzz\e[0m' "$out"

# TSV: one line per word.
out=$(printf 'hola canta' | "$bin/velmara-check" --db "$db" --format tsv)
check "tsv" $'1\thola\tHola\tAccepted\n3\tcanta\tcanta\tVerbForm' "$out"

# JSON: one object per run, and the open question passes from one file to the next.
printf '¿vienes' >"$work/one.txt"
printf 'donde' >"$work/two.txt"
out=$("$bin/velmara-check" --db "$db" --format json "$work/one.txt" "$work/two.txt")
check "json runs" 2 "$(printf '%s\n' "$out" | wc -l)"
check "json first open" '"open_question":true}' "$(printf '%s\n' "$out" | head -1 | grep -o '"open_question":[a-z]*}')"
check "json second" '{"tokens":[{"text":"donde","result":"Dónde","verdict":"Corrected"}],"corrected":"Dónde","corrected_count":1,"missing_count":0,"word_count":1,"missing":[],"open_question":false}' \
  "$(printf '%s\n' "$out" | tail -1)"

# Intellisense from the database folder, switched on by the command line.
printf 'zzz|hola\r\n' >"$db/Intellisense.txt"
out=$(printf 'zzz' | "$bin/velmara-check" --db "$db" --intellisense --color=never 2>/dev/null)
check "intellisense" "Hola" "$out"
out=$(printf 'zzz' | "$bin/velmara-check" --db "$db" --no-intellisense --color=never 2>/dev/null)
check "no intellisense" "Zzz" "$out"

# The trace file.
printf 'hola' | "$bin/velmara-check" --db "$db" --trace "$work/trace.txt" >/dev/null 2>&1
check "trace" "hola = Hola" "$(tr -d '\r' <"$work/trace.txt")"

# Errors: no database, unreadable file, bad option.
"$bin/velmara-check" --db "$work/nowhere" </dev/null >/dev/null 2>"$work/err"
check "no database exit" 2 $?
check "no database message" "No puedo cargar bd ..." "$(cat "$work/err")"
"$bin/velmara-check" --db "$db" "$work/absent.txt" >/dev/null 2>"$work/err"
check "unreadable file exit" 2 $?
grep -q "absent.txt" "$work/err"
check "unreadable file named" 0 $?
"$bin/velmara-check" --db "$db" --format xml </dev/null >/dev/null 2>&1
check "bad option" 2 $?

# The finder.
out=$("$bin/velmara-check" --db "$db" --find cas 2>"$work/err")
check "find exit" 0 $?
check "find results" "casa" "$out"
check "find message" "Termine de buscar ...|Encontrados 1 palabras con cas-" "$(tr '\n' '|' <"$work/err" | sed 's/|$//')"
out=$("$bin/velmara-check" --db "$db" --find -ar --mode 2 2>/dev/null)
check "find suffix" $'cantar\nestar' "$out"
"$bin/velmara-check" --db "$db" --find 'ca s' >/dev/null 2>&1
check "find invalid" 2 $?

# Suggestions for missing words in each format; nothing else of the report changes.
text='hola mundoo, ¿donde estás? Madird'
plain=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format tsv 2>/dev/null)
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format tsv --suggest 2>/dev/null)
check "suggest exit" 1 $?
check "suggest tsv column" $'mundo\nMadrid' "$(printf '%s\n' "$out" | awk -F'\t' '$4 == "Missing" {print $5}')"
check "suggest tsv rest" "$plain" "$(printf '%s\n' "$out" | cut -f1-4)"
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format json --suggest 2>/dev/null)
check "suggest json" '{"text":"mundoo","result":"mundoo","verdict":"Missing","suggestions":["mundo"]}' \
  "$(printf '%s' "$out" | grep -o '{"text":"mundoo"[^}]*}')"
check "suggest json only missing" 2 "$(printf '%s' "$out" | grep -o '"suggestions"' | wc -l)"
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --color=never --suggest 2>"$work/err")
check "suggest text output" "Hola mundoo, ¿Dónde estás? Madird" "$out"
check "suggest text list" "mundoo: mundo|Madird: Madrid" "$(tail -n 2 "$work/err" | tr '\n' '|' | sed 's/|$//')"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
