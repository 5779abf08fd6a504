#!/usr/bin/env bash
# The desktop program on a real desktop, as people run it: with automatic correction on, a text
# copied by another program while this one has no focus is checked within 2 s. Also: a second
# start hands over to the first and ends, and SIGTERM (a logout) writes the settings.
#
#   clipboard_watch_test.sh BIN_DIR wayland   a headless sway, text copied with wl-copy
#   clipboard_watch_test.sh BIN_DIR x11       an Xvfb display, text copied with xclip
#
# Runs as an ordinary user (nobody, when started by root). Exit 77: the tools are missing.
set -u
bin=${1:?usage: clipboard_watch_test.sh BIN_DIR wayland|x11}
mode=${2:?usage: clipboard_watch_test.sh BIN_DIR wayland|x11}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -n "${log:-}" ] && [ -f "$log" ] && tail -20 "$log"; exit 1; }

case $mode in
  wayland)
    for tool in sway swaymsg wl-copy; do command -v $tool >/dev/null || skip "$tool is not installed"; done
    plugins=$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland-generic.so' 2>/dev/null | head -1)
    [ -n "$plugins" ] || skip "Qt's Wayland platform (qt6-wayland) is not installed"
    ;;
  x11)
    for tool in Xvfb xclip xdotool; do command -v $tool >/dev/null || skip "$tool is not installed"; done
    ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
[ -x "$bin/velmara" ] && [ -x "$bin/velmara-mkdb" ] || skip "the desktop program is not built"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  sleep 0.3
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own (the portable layout): the program, a small word database and the
# settings with automatic correction on.
program=$work/programa
mkdir -p "$program/palabrasbd" "$work/home" "$work/run"
cp "$bin/velmara" "$program/"
printf 'perro\ngato\ncasa\n' >"$work/dic.txt"
printf 'cantar\n' >"$work/verbos.txt"
printf 'madrid\n' >"$work/nombres.txt"
"$bin/velmara-mkdb" --out "$program/palabrasbd" --dictionary "$work/dic.txt" --verbs "$work/verbos.txt" \
  --proper-names "$work/nombres.txt" >/dev/null || fail "velmara-mkdb failed"
: >"$program/palabrasbd/Falsos Positivos.txt"
printf '[Config]\r\nHay_clipboard=1\r\n' >"$program/Configuracion.ini"
chmod 700 "$work/run"
log=$work/velmara.log

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$work"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() { "${as_user[@]}" env -i HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }
# The same in the background; $! is then the program itself, not a shell around it.
start() { "${as_user[@]}" env -i HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@" & }

# Waits up to $1 tenths of a second for a command to succeed.
wait_for() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

if [ "$mode" = wayland ]; then
  printf 'output HEADLESS-1 resolution 1280x800\nxwayland disable\n' >"$work/sway.conf"
  start WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway.conf" \
    >"$work/sway.log" 2>&1
  pids+=($!)
  wait_for 100 test -S "$work/run/wayland-1" || { cat "$work/sway.log"; fail "sway did not start"; }
  session=(WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=wayland SWAYSOCK="$(ls "$work"/run/sway-ipc.*.sock 2>/dev/null)")
  wait_for 50 run "${session[@]}" swaymsg -t get_version || fail "sway does not answer"
  window_there() { run "${session[@]}" swaymsg -t get_tree | grep -q "\"name\": \"$1\""; }
  close_window() { run "${session[@]}" swaymsg "[title=\"$1\"] kill" >/dev/null; }
  focus_elsewhere() { run "${session[@]}" swaymsg workspace 2 >/dev/null; }
  copy() { run "${session[@]}" wl-copy "$1" 2>/dev/null; }
else
  number=$((60 + RANDOM % 200))
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  display=:$number
  start Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1
  pids+=($!)
  session=(DISPLAY=$display QT_QPA_PLATFORM=xcb)
  wait_for 100 run "${session[@]}" xdotool getdisplaygeometry || fail "Xvfb did not start"
  window_there() { run "${session[@]}" xdotool search --onlyvisible --name "^$1\$"; }
  close_window() {
    local id
    id=$(run "${session[@]}" xdotool search --onlyvisible --name "^$1\$" | head -1)
    run "${session[@]}" xdotool windowfocus --sync "$id" key Escape
  }
  # The root window takes the focus: no window of the program has it.
  focus_elsewhere() { run "${session[@]}" xdotool windowfocus --sync "$(run "${session[@]}" xdotool search --maxdepth 0 --name '' | head -1)"; }
  copy() { printf '%s' "$1" | run "${session[@]}" xclip -selection clipboard 2>/dev/null; }
fi

start "${session[@]}" "$program/velmara" >"$log" 2>&1
velmara=$!
pids+=($velmara)
wait_for 150 window_there Disculpas || fail "the apology box did not come up"
close_window Disculpas
# Without a notification area the main window shows itself once the word lists are loaded.
wait_for 300 window_there "Detector Velmara desde clipboard" || fail "the main window did not come up"

# A second start: the first one's window is shown, and the second ends at once.
started=$(date +%s%N)
run "${session[@]}" "$program/velmara" >"$work/second.log" 2>&1
status=$?
elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
[ "$elapsed" -lt 3000 ] || fail "the second start took $elapsed ms to hand over"
kill -0 "$velmara" 2>/dev/null || fail "the first instance ended"

focus_elsewhere
copy "perro gato xyzzy"
started=$(date +%s%N)
found=0
for _ in $(seq 20); do
  if grep -qa xyzzy "$program/sucio.txt" 2>/dev/null; then found=1; break; fi
  sleep 0.1
done
elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$found" -eq 1 ] || fail "the text copied without focus was not checked within 2 s ($mode)"
echo "checked $elapsed ms after the copy ($mode)"

# A logout: SIGTERM writes the settings (all the keys, not only the two the file had) and ends.
kill -TERM "$velmara"
for _ in $(seq 50); do kill -0 "$velmara" 2>/dev/null || break; sleep 0.1; done
kill -0 "$velmara" 2>/dev/null && fail "SIGTERM did not end the program"
wait "$velmara"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status after SIGTERM"
grep -q '^Verbos_Duda=' "$program/Configuracion.ini" || fail "SIGTERM did not write the settings"
echo "PASS: clipboard watched without focus, one instance, settings written at SIGTERM ($mode)"
