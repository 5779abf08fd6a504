# Shared by the shell tests of velmara-check: a result counter and a fixture word database.
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

# make_database BIN_DIR FOLDER DICTIONARY VERBS PROPER_NAMES: the lists as printf formats, one
# word a line; "wifi" is the one false positive.
make_database() {
  local work
  work=$(dirname "$2")
  printf "$3" >"$work/dic.txt"
  printf "$4" >"$work/verbs.txt"
  printf "$5" >"$work/names.txt"
  "$1/velmara-mkdb" --out "$2" --dictionary "$work/dic.txt" --verbs "$work/verbs.txt" \
    --proper-names "$work/names.txt" >/dev/null || { echo "FAIL velmara-mkdb"; exit 1; }
  printf 'wifi\r\n' >"$2/Falsos Positivos.txt"
}
