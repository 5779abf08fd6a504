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

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
dpkg -x "$deb" "$root"

for file in usr/bin/velmara usr/bin/velmara-check usr/bin/velmara-mkdb usr/bin/velmara-autostart \
            usr/share/velmara/palabrasbd/diccionario.log usr/share/velmara/palabrasbd/verbos.log \
            usr/share/velmara/palabrasbd/npropios.log "usr/share/velmara/palabrasbd/Falsos Positivos.txt" \
            usr/share/velmara/velmara-autostart.desktop usr/share/applications/velmara.desktop \
            usr/share/icons/hicolor/48x48/apps/velmara.png usr/share/man/man1/velmara.1.gz \
            usr/share/man/man1/velmara-check.1.gz usr/share/man/es/man1/velmara.1.gz \
            usr/share/man/es/man1/velmara-check.1.gz; do
  [ -e "$root/$file" ] || fail "$file is not in the package"
done
[ ! -e "$root/usr/share/velmara/palabrasbd/Intellisense.txt" ] || fail "a user's Intellisense list was packaged"
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
