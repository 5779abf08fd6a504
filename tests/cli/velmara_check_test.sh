#!/usr/bin/env bash
# End-to-end test of the terminal programs: a fixture database written by velmara-mkdb, then
# velmara-check in each output format, with files, standard input, and the finder.
# Usage: velmara_check_test.sh BIN_DIR
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=tests/cli/test_lib.sh
. "$(dirname "$0")/test_lib.sh"

db=$work/palabrasbd
make_database "$bin" "$db" 'hola\nmundo\ncamión\ncasa\ndónde\ndonde\nestar\n' 'estás\nestar\ncantar\ncanta\n' 'madrid\n'

# Text: corrected text on standard output, the three result lines on standard error.
out=$(printf 'hola camion, ¿donde estás?' | "$bin/velmara-check" --db "$db" --color=never 2>"$work/err")
check "text exit" 0 $?
check "text output" "Hola camión, ¿dónde estás?" "$out"
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
check "tsv" $'1\thola\tHola\tAccepted\t\n3\tcanta\tcanta\tVerbForm\t' "$out"

# Accent advice from the words around: listed after the counts, a last TSV column, a JSON object;
# never applied, and left out with --no-context.
adb=$work/consejos
make_database "$bin" "$adb" 'el\nél\nes\npara\n' 'canta\n' 'madrid\n'
out=$(printf 'el canta, es para el' | "$bin/velmara-check" --db "$adb" --color=never 2>"$work/err")
check "advice text" "El canta, es para el" "$out"
check "advice list" "el (palabra 1): él|el (palabra 5): él" "$(tail -n 2 "$work/err" | tr '\n' '|' | sed 's/|$//')"
out=$(printf 'el canta' | "$bin/velmara-check" --db "$adb" --format tsv)
check "advice tsv" $'1\tel\tEl\tAccepted\tél\n3\tcanta\tcanta\tVerbForm\t' "$out"
out=$(printf 'el canta' | "$bin/velmara-check" --db "$adb" --format tsv --no-context)
check "advice off" $'1\tel\tEl\tAccepted\n3\tcanta\tcanta\tVerbForm' "$out"
out=$(printf 'el canta' | "$bin/velmara-check" --db "$adb" --format json)
check "advice json" '{"text":"el","result":"El","verdict":"Accepted","advice":{"replacement":"él","message":"¿Quiso decir «él»?","confidence":0.95}}' \
  "$(grep -o '{"text":"el"[^]]*}}' <<<"$out")"

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

# Command-line conventions of every program: --help lists every option and exits 0, --version
# names the program; option values as getopt reads them.
for case in "velmara-check|--db --format --color --suggest --find --mode --personal --encoding" \
            "velmara-mkdb|--out --dictionary --verbs --proper-names" \
            "velmara-server|--listen --port --db --threads --queue --max-text"; do
  program=${case%%|*}
  [ -x "$bin/$program" ] || continue
  help=$("$bin/$program" --help)
  check "$program --help exit" 0 $?
  missing=""
  for option in --help --version ${case#*|}; do grep -q -- "$option" <<<"$help" || missing+=" $option"; done
  check "$program --help options" "" "$missing"
  check "$program --version" "$program (Detector Velmara)" "$("$bin/$program" --version | sed 's/ [0-9.]*$//')"
  "$bin/$program" --no-such-option >/dev/null 2>&1
  check "$program unknown option" 2 $?
done
out=$("$bin/velmara-check" --db "$db" --find -a --mode=3 2>/dev/null)
check "find -a is a search" $'casa\nhola' "$out"
check "--find=TEXT" "casa" "$("$bin/velmara-check" --db="$db" --find=cas 2>/dev/null)"
printf 'camion' >"$work/-a"
check "-- ends the options" "Camión" "$(program=$(cd "$bin" && pwd)/velmara-check; cd "$work" && "$program" --db "$db" --color=never -- -a 2>/dev/null)"
if [ -x "$bin/velmara-server" ]; then
  # Address and port together; the port 0 asks for a free one, and the server says which.
  "$bin/velmara-server" --db "$db" --listen 127.0.0.1:0 2>"$work/server.err" &
  server=$!
  for _ in $(seq 100); do grep -q listening "$work/server.err" && break; sleep 0.1; done
  kill "$server"; wait "$server" 2>/dev/null
  check "--listen ADDR:PORT" 1 "$(grep -c '^velmara-server: listening on http://127\.0\.0\.1:[1-9][0-9]*/v2$' "$work/server.err")"
  "$bin/velmara-server" --db "$db" --listen 127.0.0.1:54281:8081 2>"$work/server.err"
  check "--listen refused" "2 1" "$? $(grep -c 'takes an address' "$work/server.err")"
fi

# Suggestions for missing words in each format; nothing else of the report changes.
text='hola mundoo, ¿donde estás? Madird'
plain=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format tsv --no-context 2>/dev/null)
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format tsv --suggest 2>/dev/null)
check "suggest exit" 1 $?
check "suggest tsv column" $'mundo\nMadrid' "$(printf '%s\n' "$out" | awk -F'\t' '$4 == "Missing" {print $5}')"
check "suggest tsv rest" "$plain" "$(printf '%s\n' "$out" | cut -f1-4)"
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --format json --suggest 2>/dev/null)
check "suggest json" '{"text":"mundoo","result":"mundoo","verdict":"Missing","suggestions":["mundo"]}' \
  "$(printf '%s' "$out" | grep -o '{"text":"mundoo"[^}]*}')"
check "suggest json only missing" 2 "$(printf '%s' "$out" | grep -o '"suggestions"' | wc -l)"
out=$(printf '%s' "$text" | "$bin/velmara-check" --db "$db" --color=never --suggest 2>"$work/err")
check "suggest text output" "Hola mundoo, ¿dónde estás? Madird" "$out"
check "suggest text list" "mundoo: mundo|Madird: Madrid" "$(tail -n 2 "$work/err" | tr '\n' '|' | sed 's/|$//')"
# Pieces: a text read a few bytes at a time gives, in every format, what it gives read whole
# (questions, sentences and long words across the piece ends, CR LF line ends, UTF-8 letters,
# accents written after their letters, addresses).
{
  printf '¿donde estás? hola zzz. el camio\xcc\x81n www.gnu.org\r\n¡que '
  head -c 300 /dev/zero | tr '\0' q
  printf ' casa.\r\n\r\nperro canta,¿qué donde\nmundo wifi. no\n'
} >"$work/long.txt"
for format in "--format text --color=never" "--format text --color=always" "--format tsv" "--format json"; do
  # shellcheck disable=SC2086
  whole=$("$bin/velmara-check" --db "$db" $format --trace "$work/trace-whole" "$work/long.txt" "$work/one.txt" 2>&1)
  whole_status=$?
  for size in 1 2 5; do
    # shellcheck disable=SC2086
    pieces=$("$bin/velmara-check" --db "$db" $format --piece-size $size --trace "$work/trace-pieces" \
      "$work/long.txt" "$work/one.txt" 2>&1)
    check "pieces of $size, $format" "$whole/$whole_status" "$pieces/$?"
    cmp -s "$work/trace-whole" "$work/trace-pieces"
    check "trace in pieces of $size, $format" 0 $?
  done
done
printf '%s\n' "$whole" | head -c 2000 | grep -q "qqqqqqqqqq"
check "long word kept" 0 $?
out=$("$bin/velmara-check" --db "$db" --format tsv "$work/long.txt" | grep -c "$(head -c 300 /dev/zero | tr '\0' q)")
check "long word whole in tsv" 1 "$out"

# Mixed encodings: the UTF-8 letters stay, the stray byte is read as Windows-1252, and it is said once.
out=$(printf 'camión \xf1u camión\n' | "$bin/velmara-check" --db "$db" --color=never 2>"$work/err")
check "mixed encodings" "Camión ñu camión" "$out"
check "mixed encodings said" 1 "$(grep -c 'mixes UTF-8 and Windows-1252' "$work/err")"

# Characters Windows-1252 lacks come back where they stood, also when the text is read in pieces
# that end between them, and the suggestions of a run in pieces are listed once each.
printf 'el ☕ y el 😀 camion, Ωmega zzz 中文 zzz\n' >"$work/unheld.txt"
for format in "--color=never" "--color=always" "--format json"; do
  # shellcheck disable=SC2086
  whole=$("$bin/velmara-check" --db "$db" $format --suggest "$work/unheld.txt" 2>&1)
  # shellcheck disable=SC2086
  pieces=$("$bin/velmara-check" --db "$db" $format --suggest --piece-size 1 "$work/unheld.txt" 2>&1)
  check "unheld characters in pieces, $format" "$whole" "$pieces"
done
check "unheld characters kept" "El ☕ y el 😀 camión, Ωmega zzz 中文 zzz" \
  "$("$bin/velmara-check" --db "$db" --color=never --piece-size 2 "$work/unheld.txt" 2>/dev/null)"

# Read errors: a message naming the input and exit 2, never an abort.
mkdir "$work/folder"
for input in "<&-" "0>$work/write-only" "<$work/folder" "$work/folder" "/proc/self/mem"; do
  case $input in
    "<&-") "$bin/velmara-check" --db "$db" <&- >/dev/null 2>"$work/err"; status=$?; name="standard input" ;;
    "0>$work/write-only") "$bin/velmara-check" --db "$db" 0>"$work/write-only" >/dev/null 2>"$work/err"; status=$?; name="standard input" ;;
    "<$work/folder") "$bin/velmara-check" --db "$db" <"$work/folder" >/dev/null 2>"$work/err"; status=$?; name="standard input" ;;
    *) "$bin/velmara-check" --db "$db" "$input" </dev/null >/dev/null 2>"$work/err"; status=$?; name=$input ;;
  esac
  check "read error $input" "2/1" "$status/$(grep -c "cannot read '$name'" "$work/err")"
done
"$bin/velmara-mkdb" --out "$work/db2" --dictionary /proc/self/mem >/dev/null 2>"$work/err"
check "mkdb read error" "1/1" "$?/$(grep -c "cannot read '/proc/self/mem'" "$work/err")"

# Write errors: standard output full or closed, in every format and with the finder.
for args in "--format text" "--format tsv" "--format json" "--find cas"; do
  # shellcheck disable=SC2086
  printf 'hola' | "$bin/velmara-check" --db "$db" $args >/dev/full 2>"$work/err"
  check "full output, $args" "2/1" "$?/$(grep -c 'cannot write standard output' "$work/err")"
  # shellcheck disable=SC2086
  printf 'hola' | "$bin/velmara-check" --db "$db" $args >&- 2>"$work/err"
  check "closed output, $args" "2/1" "$?/$(grep -c 'cannot write standard output' "$work/err")"
done

# Out of memory: a clear message and exit 2, never an abort (a line of 60 MB to the ispell pipe,
# which answers a line whole, in 128 MB). AddressSanitizer reserves more address space than any
# such limit, so a sanitized build skips it.
if ! ldd "$bin/velmara-check" 2>/dev/null | grep -q libasan; then
  status=$( (ulimit -v 131072; head -c 62914560 /dev/zero | tr '\0' a | "$bin/velmara-check" -a --db "$db" >/dev/null 2>"$work/err"; echo $?) )
  check "out of memory" "2/1" "$status/$(grep -c 'out of memory' "$work/err")"
fi

# A damaged word list: the format message and the output as before, then exit 2; --keep-going
# checks on with that list empty.
cp -r "$db" "$work/damaged"
printf 'x' >>"$work/damaged/verbos.log"
out=$(printf 'hola' | "$bin/velmara-check" --db "$work/damaged" --color=never 2>"$work/err")
check "damaged list" "2/Hola" "$?/$out"
grep -q "Fichero con formato Erroneo" "$work/err"
check "damaged list message" 0 $?
printf 'hola' | "$bin/velmara-check" --db "$work/damaged" --keep-going >/dev/null 2>&1
check "damaged list, keep going" 0 $?
rm "$work/damaged/verbos.log" && mkdir "$work/damaged/verbos.log"
printf 'hola' | "$bin/velmara-check" --db "$work/damaged" >/dev/null 2>&1
check "word list a folder" 2 $?

# Hostile input and hostile neighbours on this machine.
# A link planted where velmara-mkdb once put its temporary files: never followed.
mkdir -p "$work/db3"
printf 'kept' >"$work/victim"
for list in diccionario verbos npropios; do ln -s "$work/victim" "$work/db3/.$list.log.tmp"; done
printf 'hola\n' >"$work/one.txt"
"$bin/velmara-mkdb" --out "$work/db3" --dictionary "$work/one.txt" >/dev/null 2>&1
check "mkdb planted link" "0/kept/0" "$?/$(cat "$work/victim")/$(find "$work/db3" -type f -name '.*.tmp' | wc -l)"
# A message that cannot be written to standard error is an error.
printf 'hola perrro' | "$bin/velmara-check" --db "$db" --color=never >/dev/null 2>/dev/full
check "full standard error" 2 $?
# One run of letters longer than a megabyte is checked a megabyte at a time, never held whole
# (in 1 GB of address space; AddressSanitizer's reservation needs more, so there without a limit).
limit="ulimit -v 1048576"
if ldd "$bin/velmara-check" 2>/dev/null | grep -q libasan; then limit=true; fi
status=$( ($limit; head -c 3145728 /dev/zero | tr '\0' a | "$bin/velmara-check" --db "$db" --format tsv 2>/dev/null | wc -l; exit "${PIPESTATUS[2]}") ; echo "/$?")
check "overlong word" "3/1" "$(tr -d '\n ' <<<"$status")"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
