#!/usr/bin/env bash
# velmara-check -a end to end: the answers beside Hunspell's on the same lines (the kind of each
# answer, the word and its offset must agree), the user's word list, and bad input.
# Usage: ispell_pipe_test.sh BIN_DIR
set -u
bin=$1
check_program=$bin/velmara-check
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/test_lib.sh"

# Each answer as "ok", or "miss WORD OFFSET" for & and #, one a line; the empty line kept.
kinds() {
  tail -n +2 | awk '/^[*+-]/ { print "ok"; next }
                    /^&/ { sub(":", "", $4); print "miss", $2, $4; next }
                    /^#/ { print "miss", $2, $3; next }
                    { print }'
}

db=$work/palabrasbd
make_database "$bin" "$db" 'hola\nmundo\ncamión\ncasa\ndónde\ndonde\nárbol\n' 'estás\ncanta\n' 'madrid\n'
pipe() { "$check_program" -a --db "$db" -p "$work/palabras.txt" "$@"; }

# Beside Hunspell, over the database generated from the same Spanish dictionary.
generated=$bin/palabrasbd
if command -v hunspell >/dev/null && [ -f "$generated/diccionario.log" ] && [ -f /usr/share/hunspell/es_ES.dic ]; then
  cat >"$work/lines.txt" <<'TEXT'
El camion de mi vecino está aparcado en la calle.
^Árbol, canción y corazón: palabras con tilde.
La educacion es importante para el pais.
  Dos espacios al principio y una palabrq mal escrita.
^Ñandú, cigüeña y acción; xyzzyq.
TEXT
  ours=$("$check_program" -a --db "$generated" -p "$work/nada.txt" <"$work/lines.txt" | kinds)
  theirs=$(hunspell -a -d es_ES <"$work/lines.txt" | kinds)
  check "beside hunspell" "$theirs" "$ours"
else
  echo "hunspell or the generated database is absent: the comparison is skipped"
fi
# The first offer of each missing word: the word before it counts (yo actúo), and a word run
# together is offered as two.
if [ -f "$generated/diccionario.log" ]; then
  firsts=$(printf 'Yo actuo, porfavor.\n' | "$check_program" -a --db "$generated" -p "$work/nada.txt" |
    sed -nE 's/^& ([^ ]+) [0-9]+ [0-9]+: ([^,]*).*/\1=\2/p' | tr '\n' '|')
  check "pipe offers" "actuo=actúo|porfavor=por favor|" "$firsts"
fi

# The version line first, then one answer per word and an empty line, flushed line by line: an
# editor reads each answer before it sends the next line.
coproc VELMARA { pipe; }
velmara_pid=$VELMARA_PID  # bash unsets the variable when the process ends
exec {to_pipe}>&"${VELMARA[1]}"
read -r version <&"${VELMARA[0]}"
check "version line" "@(#) International Ispell Version 3.2.06 (but really Velmara" "${version% *}"
printf '^hola camion\n' >&"$to_pipe"
IFS= read -r first <&"${VELMARA[0]}"; IFS= read -r second <&"${VELMARA[0]}"; IFS= read -r empty <&"${VELMARA[0]}"
# Our correction comes first, whatever the suggester adds after it.
check "answers at once" "*|& camion 6: camión|" "$first|$(sed -E 's/ [0-9]+ / /; s/(: [^,]*).*/\1/' <<<"$second")|$empty"
# A word added with * is on disk before the next line is answered.
printf '*Blogueo\n^blogueo\n' >&"$to_pipe"
IFS= read -r first <&"${VELMARA[0]}"
check "added word" "*|Blogueo" "$first|$(cat "$work/palabras.txt")"
exec {to_pipe}>&- {VELMARA[1]}>&-
wait "$velmara_pid"
check "end of input" 0 $?
check "user word in a later check" "*" "$(printf 'blogueo\n' | pipe | sed -n 2p)"

# -l lists what is not accepted; Emacs's flyspell reads it for a large region.
check "list mode" "camion|xyzzy" "$(printf 'hola camion\nxyzzy casa\n' | "$check_program" -l --db "$db" | tr '\n' '|' | sed 's/|$//')"

# Bad input. A line of 1 MB: one answer per word and the empty line.
head -c 1000000 /dev/zero | tr '\0' 'a' | sed 's/aaaa/casa /g' >"$work/long.txt"
echo >>"$work/long.txt"
pipe <"$work/long.txt" >"$work/long.out"
check "long line exit" 0 $?
check "long line answers" "250002 250000" "$(wc -l <"$work/long.out") $(grep -c '^\*$' "$work/long.out")"
# Invalid UTF-8 is read as Windows-1252, a NUL ends a word; the answers are valid UTF-8.
printf '\xe1rbol camion ho\0la\n' | pipe >"$work/bad.out"
check "invalid bytes" "ok|miss camion 6|miss ho 13|miss la 16||" "$(kinds <"$work/bad.out" | tr '\n' '|')"
check "invalid bytes correction" "1" "$(grep -c '^& camion [0-9]* 6: camión' "$work/bad.out")"
check "answers are UTF-8" "ok" "$(iconv -f UTF-8 -t UTF-8 "$work/bad.out" >/dev/null && ! grep -qaP '\x00' "$work/bad.out" && echo ok)"
# A closed or full standard output is an error, never success.
printf 'hola\n' | pipe >&- 2>"$work/err"
check "closed output exit" 2 $?
check "closed output message" 1 "$(grep -c 'cannot write to standard output' "$work/err")"
printf 'hola\n' | pipe >/dev/full 2>/dev/null
check "full output exit" 2 $?
# A user word list that cannot be written: the message goes to standard error, never among the
# answers (nowhere when both are one file), and the word stays accepted for the session.
mkdir -p "$work/dir/Palabras.txt"
out=$(printf '*blogueo\nblogueo\n' | "$check_program" -a --db "$db" -p "$work/dir/Palabras.txt" 2>"$work/err" | tail -n +2)
check "unwritable list" "*|" "$(printf '%s\n' "$out" | tr '\n' '|')"
check "unwritable list message" 1 "$(grep -c "cannot add 'blogueo'" "$work/err")"
out=$(printf '*blogueo\nblogueo\n' | "$check_program" -a --db "$db" -p "$work/dir/Palabras.txt" 2>&1 | tail -n +2)
check "unwritable list, one stream" "*|" "$(printf '%s\n' "$out" | tr '\n' '|')"
# A pipe as the word list is refused, never written to (a writer with no reader waits for ever);
# a word of more than 255 characters is not kept; standard error says so for each.
mkfifo "$work/fifo"
out=$(printf '*blogueo\n*%0300d\nblogueo\n' 0 | timeout 20 "$check_program" -a --db "$db" -p "$work/fifo" 2>"$work/err" | tail -n +2)
check "word list a pipe" "0|*|" "$?|$(printf '%s\n' "$out" | tr '\n' '|')"
check "word list a pipe message" 2 "$(grep -c "not a regular file" "$work/err")"
check "overlong word message" 1 "$(grep -c "more than 255 characters" "$work/err")"
# A stop signal in the middle of the appends leaves every word in the list whole: each word is
# written in one piece, with the stop signals held back while it is.
word=$(printf 'palabra%.0s' $(seq 30))
: >"$work/stopped.txt"
for run in $(seq 12); do
  for i in $(seq 300); do printf '*%s%d\n' "$word" "$i"; done |
    "$check_program" -a --db "$db" -p "$work/stopped.txt" >/dev/null 2>&1 &
  # Stopped once it has begun to append, however long it takes to start.
  size=$(stat -c %s "$work/stopped.txt")
  for _ in $(seq 1000); do
    [ "$(stat -c %s "$work/stopped.txt")" -gt "$size" ] && break
    sleep 0.01
  done
  sleep "0.0$((run % 9 + 1))"
  kill -TERM $! 2>/dev/null
  wait $! 2>/dev/null
done
check "appends stopped midway" "whole" \
  "$([ -s "$work/stopped.txt" ] && ! grep -qvE "^${word}[0-9]+\$" "$work/stopped.txt" && echo whole)"
# Options of the peers never stop the program; a missing database does, before the version line.
check "peer options" "*" "$(printf 'hola\n' | pipe -m -B -C -d es_ES -i utf-8 --lang=es "" 2>/dev/null | sed -n 2p)"
printf 'hola\n' | "$check_program" -a --db "$work/nada" >"$work/out" 2>/dev/null
check "missing database" "2 0" "$? $(wc -c <"$work/out")"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
