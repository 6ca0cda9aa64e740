#!/usr/bin/env bash
# zorvik.exe's own windows under wine, driven by real mouse clicks beside
# the stand-in client: the splash's lines reach the room before it shows,
# a click on it opens the console, "get players", two joiners and "setup"
# run the join phase, the joiners pick their creatures, "start" opens the
# battle, one attack is answered, "stop" switches instant messages back on,
# the info menu opens help, and "exit" says goodbye and ends the program. Usage: windows_smoke.sh ZORVIK_EXE STANDIN_EXE
set -u
zorvik_exe=$1 standin_exe=$2
[[ -n ${DISPLAY:-} ]] || { echo "no display (run under scripts/with-xvfb); skipping"; exit 77; }
work=$(mktemp -d)
export WINEDEBUG=-all
own_prefix=
if [[ -z ${WINEPREFIX:-} ]]; then
  own_prefix=1 WINEPREFIX=$work/prefix
  export WINEPREFIX
  wineboot -i >/dev/null 2>&1; wineserver -w
fi
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  [[ -n $own_prefix ]] && wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- stand-in:"; cat "$work/standin.out"; echo "--- host:"; cat "$work/host.out"; exit 1; }

# Waits up to $1 seconds for the command after it to succeed.
within() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do ((SECONDS < deadline)) || return 1; sleep 0.2; done
}
room_has() { grep -qF -- "$1" "$work/standin.out"; }
# The X window of the program's top-level window titled exactly $1, if shown.
shown_window() {
  local id
  id=$(xwininfo -root -tree | grep -F "\"$1\": (\"zorvik.exe\"" | awk '{print $1}' | head -n1)
  [[ -n $id ]] && xwininfo -id "$id" | grep -q IsViewable && echo "$id"
}
# A pop-up menu: a shown window of the program's without a title.
menu_shown() {
  local id
  for id in $(xwininfo -root -tree | grep -F '(has no name): ("zorvik.exe"' | awk '{print $1}'); do
    xwininfo -id "$id" | grep -q IsViewable && return 0
  done
  return 1
}
hidden() { [[ -z $(shown_window "$1") ]]; }
wait_shown() { within 20 shown_window "$1" >/dev/null || fail "no window \"$1\""; shown_window "$1"; }
# Client-area pixels at 96 dpi of the console's buttons (twips / 15).
declare -A button=([get players]="44 72" [exit]="104 72" [info]="148 72" [setup]="216 72"
  [start]="272 72" [stop]="328 72")
press() { xdotool mousemove --window "$console" ${button[$1]} click 1; }

mkfifo "$work/standin.in"
wine "$standin_exe" host <"$work/standin.in" >"$work/standin.out" 2>/dev/null & pids+=($!)
exec 3>"$work/standin.in"
within 60 room_has ready || fail "the stand-in did not start"
wine "$zorvik_exe" --seed 1 >"$work/host.out" 2>&1 & pids+=($!)
host=$!

splash=$(wait_shown zorvik)
grep -q "beside the desktop chat client" "$work/host.out" || fail "the host did not find the client"
room_has $'room host\t-=|[zørvïk by vañdør]|=-=|[loaded]|=-' || fail "no splash lines before the splash"
hidden "zørvïk by vañdør" || fail "the console is open before the click"
xdotool mousemove --window "$splash" 135 55 click 1
console=$(wait_shown "zørvïk by vañdør")
within 5 hidden zorvik || fail "the splash is still shown"

press setup  # its frame is disabled: nothing happens
sleep 1
room_has "enter your zorvik" && fail "setup worked in a disabled frame"
room_has "accepting players" && fail "players accepted before get players"
press "get players"
within 20 room_has $'room host\t-=|[type: -join]=-' || fail "get players said nothing"
sleep 1  # the join listener comes on after the line's pause
echo "say Alice -join" >&3
echo "say Bob -join" >&3
within 20 room_has "bob challenges alice" || fail "the joiners were not seated"
within 20 room_has "no more space for players" || fail "the seats were not closed"
sleep 1  # the frame is enabled after the line's pause
press setup
within 20 room_has "alice enter your zorvik first" || fail "setup said nothing"
sleep 1  # each listener comes on after its line's pause
echo "say Alice /pikachu" >&3
within 20 room_has "bob type in a valid zorvik name" || fail "alice's pick was not taken"
sleep 1
echo "say Bob /bulbasaur" >&3
within 20 room_has "bob will use bulbasaur 500/500" || fail "bob's pick was not taken"
sleep 1
room_has "game commands" && fail "the battle began before start"
press start
within 30 room_has $'im $IM_Off\tzørvïk' || fail "start did not switch instant messages off"
within 20 room_has $'room host\t-=|[game commands]|=-' || fail "start said nothing"
within 20 room_has "alice choose your attack" || fail "start did not prompt alice"
sleep 1
echo "say Alice /thundershock" >&3
within 20 room_has $'room host\t-=|[pikachu did ' || fail "the attack did no damage"
within 20 room_has "bob choose your attack" || fail "the turn did not pass to bob"
sleep 1
room_has '$IM_On' && fail "instant messages on before stop"
press stop
within 30 room_has $'im $IM_On\tzørvïk' || fail "stop did not switch instant messages on"

press info
within 20 menu_shown || fail "info showed no menu"
xdotool key Up Return  # the menu's last item: help
help=$(wait_shown "zørvïk by vañdør help")
read -r width height < <(xwininfo -id "$help" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
xdotool mousemove --window "$help" $((width / 2)) $((height - 22)) click 1  # OK
within 20 hidden "zørvïk by vañdør help" || fail "the help box did not close"

press exit
within 20 room_has "[unloaded]" || fail "exit said no goodbye"
within 20 bash -c "! kill -0 $host 2>/dev/null" || fail "the host did not end after exit"
echo quit >&3
echo "PASS"
