#!/usr/bin/env bash
# The Enchant provider through Enchant itself: enchant-2 -a must answer as velmara-check -a does,
# the provider must come first for Spanish by our ordering entry, and the words a program adds
# must reach the user's list. Enchant reads modules from one fixed system folder, so the test
# runs in a private mount namespace where that folder holds the built module beside a copy of
# Hunspell's (nothing of the system changes). Skipped (77) without Enchant or private mounts.
# Usage: enchant_provider_test.sh BIN_DIR MODULE
set -u
bin=$1
module=$2
modules=/usr/lib/x86_64-linux-gnu/enchant-2

if [ -z "${VELMARA_IN_NAMESPACE:-}" ]; then
  command -v enchant-2 >/dev/null && command -v enchant-lsmod-2 >/dev/null ||
    { echo "SKIP: enchant-2 is not installed (scripts/install-deps.sh)"; exit 77; }
  [ -d "$modules" ] || { echo "SKIP: no Enchant module folder $modules"; exit 77; }
  flags=-m
  [ "$(id -u)" -eq 0 ] || flags=-rm
  unshare $flags true 2>/dev/null || { echo "SKIP: private mount namespaces are not allowed here"; exit 77; }
  VELMARA_IN_NAMESPACE=1 exec unshare $flags bash "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../cli/test_lib.sh"

mkdir "$work/modules" "$work/config"
cp "$module" "$work/modules/enchant_velmara.so"
[ -f "$modules/enchant_hunspell.so" ] && cp "$modules/enchant_hunspell.so" "$work/modules/"
mount --bind "$work/modules" "$modules" || { echo "SKIP: cannot mount over $modules"; exit 77; }
cp "$(dirname "$0")/../../enchant/enchant.ordering" "$work/config/"

db=$work/palabrasbd
make_database "$bin" "$db" 'hola\nmundo\ncamión\ncamino\ncasa\nexcelente\nárbol\nel\nla\ny\nfue\n' \
  'estás\ncanta\nllegó\n' 'madrid\n'
export ENCHANT_CONFIG_DIR=$work/config VELMARA_DB=$db HOME=$work XDG_CONFIG_HOME=$work/xdg
enchant_pipe() { enchant-2 -d "$1" -a 2>"$work/err" | tail -n +2; }
answers() { grep -v '^$' | tr '\n' '|'; }  # the answers of each line, on one

check "listed" "es (velmara)|es_ES (velmara)" \
  "$(enchant-lsmod-2 -list-dicts 2>/dev/null | grep velmara | sort | tr '\n' '|' | sed 's/|$//')"
check "first for es" "velmara" "$(enchant-lsmod-2 -lang es 2>/dev/null | sed 's/.*(\(.*\))/\1/')"

# The same lines through Enchant and through our pipe: every answer alike, suggestions included.
cat >"$work/text.txt" <<'TEXT'
El camion llegó y fue exelente.
CAMION Camion árbol Arbol xyzzyq
Hola wifi, estás en Madrid
TEXT
for tag in es es_ES; do
  check "answers like the pipe ($tag)" "$("$bin/velmara-check" -a --db "$db" -p "$work/none.txt" <"$work/text.txt" | tail -n +2)" \
    "$(enchant_pipe "$tag" <"$work/text.txt")"
done
check "quiet" "" "$(cat "$work/err")"
check "correction first" "& camion 2 0: camión, camino|" "$(echo camion | enchant_pipe es | answers)"

# Words the program adds go to the user's list, in UTF-8 with characters Windows-1252 lacks, and
# count at once; a word of the session is accepted and not written.
out=$(printf '*blogueo\n*Łódź\n@tuiteo\nblogueo Łódź tuiteo\n' | enchant_pipe es)
check "added words accepted" "*|*|*|" "$(printf '%s\n' "$out" | answers)"
check "user's list" "blogueo|Łódź|" "$(tr '\n' '|' <"$db/Palabras del usuario.txt")"
rm -rf "$work/xdg/enchant"  # Enchant's own list of the words, so only ours is left
check "the list read at start" "*|*|" "$(echo 'blogueo Łódź' | enchant_pipe es | answers)"

# A list that cannot be written: nothing printed, the check goes on.
rm "$db/Palabras del usuario.txt" && mkdir "$db/Palabras del usuario.txt"
check "unwritable list" "*|" "$(printf '*podcastero\npodcastero\n' | enchant_pipe es | answers)"
check "unwritable list quiet" "" "$(cat "$work/err")"

# No word database: no dictionary, and Enchant goes on with the next provider.
check "no database" "" "$(VELMARA_DB=$work/nada enchant-lsmod-2 -list-dicts 2>/dev/null | grep velmara)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
