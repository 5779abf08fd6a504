#!/usr/bin/env bash
# Unpacks the Debian package into a scratch root and runs the installed programs as an ordinary
# user who may not write there: the word lists come from share/velmara/palabrasbd, the settings
# and the Intellisense list from that user's XDG folders.
# Usage: installed_package_test.sh PACKAGE.deb
set -euo pipefail

deb=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: running the programs as another user needs root"
  exit 77
fi

# lintian, as a Debian maintainer runs it: no errors (its warnings are printed, and each one left is
# explained in the closing note of the change that left it).
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error --allow-root "$deb" || fail "lintian reports errors"
else
  echo "SKIP lintian: not installed (scripts/install-deps.sh package)"
fi

scratch=$(mktemp -d)
server_pid=
trap '[ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
dpkg -x "$deb" "$root"

for file in usr/bin/velmara usr/bin/velmara-check usr/bin/velmara-mkdb usr/bin/velmara-autostart usr/bin/velmara-server \
            usr/share/velmara/palabrasbd/palabras.vdb "usr/share/velmara/palabrasbd/Falsos Positivos.txt" \
            usr/share/velmara/velmara-autostart.desktop usr/share/applications/velmara.desktop \
            usr/share/icons/hicolor/48x48/apps/velmara.png usr/share/man/man1/velmara.1.gz \
            usr/share/velmara/palabrasbd/pais.txt usr/share/doc/velmara/copyright \
            usr/share/doc/velmara/changelog.Debian.gz; do
  [ -e "$root/$file" ] || fail "$file is not in the package"
done
for page in velmara velmara-check velmara-server velmara-mkdb velmara-autostart; do
  for folder in man1 es/man1; do
    [ -e "$root/usr/share/man/$folder/$page.1.gz" ] || fail "no manual page $folder/$page.1.gz"
  done
done
[ ! -e "$root/usr/share/velmara/palabrasbd/Intellisense.txt" ] || fail "a user's Intellisense list was packaged"
# The compiled database alone: the record files it was made from would double the installed size.
for file in diccionario.log verbos.log npropios.log; do
  [ ! -e "$root/usr/share/velmara/palabrasbd/$file" ] || fail "the record file $file was packaged"
done
# Every country but the base, as its differences from the base.
countries=(es_AR es_BO es_CL es_CO es_CR es_CU es_DO es_EC es_GT es_HN es_MX es_NI es_PA es_PE es_PR es_PY
           es_SV es_US es_UY es_VE)
for country in "${countries[@]}"; do
  for file in diccionario.dif verbos.dif npropios.dif "Falsos Positivos.txt"; do
    [ -s "$root/usr/share/velmara/paises/$country/$file" ] || fail "$country lacks $file"
  done
done
# Once the package is gone, a login start left in a user's folder is ignored by the desktop.
grep -qx 'TryExec=velmara' "$root/usr/share/velmara/velmara-autostart.desktop" || fail "the autostart entry has no TryExec"
# One version: the package's and the programs'.
version=$(dpkg-deb -f "$deb" Version)
[[ $("$root/usr/bin/velmara-check" -v) == *"Velmara ${version%-*})"* ]] || fail "velmara-check -v is not version ${version%-*}"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# The user's own folders, with a setting and a substitution that only they hold.
home=$scratch/home
mkdir -p "$home/.config/velmara" "$home/datos/velmara/palabrasbd"
printf '[Config]\r\nInteligente=1\r\n' >"$home/.config/velmara/Configuracion.ini"
printf 'qwertz|teclado\r\n' >"$home/datos/velmara/palabrasbd/Intellisense.txt"
chown -R nobody:nogroup "$home"
as_user() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$home" XDG_DATA_HOME="$home/datos" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}

output=$(echo 'hola qwertz' | as_user "$root/usr/bin/velmara-check" 2>/dev/null) || fail "velmara-check failed: $output"
[ "$output" = "Hola teclado" ] || fail "velmara-check printed '$output', not 'Hola teclado'"

# Words only some countries accept, through the terminal checker (--country), the pipe
# (VELMARA_COUNTRY) and the server (the language of the request); the user's substitution works
# with every country.
words='computadora celular tenés güey fríjoles platicar ordenador habláis'
declare -A rejected=([es_ES]='fríjoles' [es_MX]='tenés habláis' [es_AR]='güey')
for country in es_ES es_MX es_AR; do
  listed=$(echo "$words" | as_user "$root/usr/bin/velmara-check" -l --country "$country" | tr '\n' ' ')
  [ "$listed" = "${rejected[$country]} " ] || fail "$country: velmara-check -l rejected '$listed', not '${rejected[$country]}'"
  piped=$(echo "$words" | as_user env VELMARA_COUNTRY="$country" "$root/usr/bin/velmara-check" -a |
          sed -n 's/^[&#] \([^ ]*\) .*/\1/p' | tr '\n' ' ')
  [ "$piped" = "${rejected[$country]} " ] || fail "$country: the pipe rejected '$piped', not '${rejected[$country]}'"
  output=$(echo 'hola qwertz' | as_user "$root/usr/bin/velmara-check" --country "$country" 2>/dev/null)
  [ "$output" = "Hola teclado" ] || fail "$country: the user's Intellisense list was not applied: '$output'"
done
status=0
echo hola | as_user "$root/usr/bin/velmara-check" --country es_XX >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "an unknown country ended with status $status, not 2"

# Started without a subshell in between, so its process id is the server's.
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -i HOME="$home" XDG_DATA_HOME="$home/datos" PATH=/usr/bin:/bin LANG=C.UTF-8 \
  "$root/usr/bin/velmara-server" --port 0 2>"$scratch/server.log" &
server_pid=$!
for _ in $(seq 600); do grep -q listening "$scratch/server.log" && break; sleep 0.1; done
url=$(sed -n 's/.*listening on \(http[^ ]*\)/\1/p' "$scratch/server.log")
[ -n "$url" ] || fail "velmara-server did not start: $(cat "$scratch/server.log")"
python3 - "$url" <<'PYTHON' || fail "velmara-server did not follow the language of each request"
import json, sys, urllib.parse, urllib.request
url = sys.argv[1]
languages = {entry["longCode"] for entry in json.load(urllib.request.urlopen(url + "/languages"))}
assert {"es-ES", "es-MX", "es-AR", "es-CO", "es-VE"} <= languages, languages
for language, expected in (("es-ES", ["fríjoles"]), ("es-MX", ["tenés", "habláis"]), ("es-AR", ["güey"])):
    body = urllib.parse.urlencode({"language": language, "text": "tenés güey fríjoles habláis"}).encode()
    matches = json.load(urllib.request.urlopen(url + "/check", body))["matches"]
    found = [match["context"]["text"][match["context"]["offset"]:][:match["length"]] for match in matches]
    assert found == expected, (language, found)
PYTHON
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
server_pid=
as_user sh -c "[ ! -w '$root/usr/bin' ]" || fail "the user may write the program folder"

# The desktop program, offscreen, until it has started: it prepares the user's folders.
status=0
as_user env QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/velmara" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "velmara ended with status $status before it was stopped"
for folder in .config/velmara datos/velmara/palabrasbd .cache/velmara; do
  [ -d "$home/$folder" ] || fail "velmara did not prepare $folder"
done
[ "$(find "$root" -newer "$deb" -type f | wc -l)" -eq 0 ] || fail "something was written inside the installed tree"

# Start at login: on and off in the user's autostart folder.
as_user "$root/usr/bin/velmara-autostart" on >/dev/null
[ -f "$home/.config/autostart/velmara.desktop" ] || fail "velmara-autostart on wrote no entry"
as_user "$root/usr/bin/velmara-autostart" off >/dev/null
[ ! -e "$home/.config/autostart/velmara.desktop" ] || fail "velmara-autostart off left the entry"
echo "PASS: installed package"
