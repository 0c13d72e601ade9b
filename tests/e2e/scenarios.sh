#!/usr/bin/env bash
# End-to-end scenarios on the shipped quorvel.exe: started under Wine with a
# virtual desktop, driven with real X keyboard and mouse input (xdotool),
# read from outside by quorvel_probe.exe. Every wait polls for a state with a
# time-out. Runs inside scripts/windows-session; screenshots go to
# build/artifacts (sorted-wildcard-query.png is the handbook's picture,
# docs/screenshot.png).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
. scripts/setup.sh
. tests/e2e/probe-client.sh
failures=0
scenarios=0

start_probe "$QUORVEL_ARTIFACTS/probe.log"

# expect WHAT COMMAND PATTERN [SECONDS]: polls the probe until the answer
# matches the extended regular expression PATTERN.
expect() {
    local what=$1 command=$2 pattern=$3 seconds=${4:-30} answer
    local deadline=$((SECONDS + seconds))
    while :; do
        answer=$(ask "$command")
        [[ $answer =~ $pattern ]] && return 0
        if [ $SECONDS -ge $deadline ]; then
            echo "   FAILED: $what: '$command' answered '$answer', expected /$pattern/"
            failures=$((failures + 1))
            return 1
        fi
        sleep 0.2
    done
}

# start TAIL_HEX [PROGRAM_HEX]: launches the decoder with a quoted path, two
# blanks and the tail, and waits for its window.
start() {
    local program=${2:-$(hex "\"$decoder_exe_windows\"  ")}
    ask "launch $program$1" >/dev/null
    expect "the window opens" window '^window [1-9]' 120
}

finish() {  # closes the decoder if it is still there and waits for it
    ask close >/dev/null
    expect "the decoder ends" "wait 200" '^exit ' 60
}

click_at() {  # click_at "point ..." [BUTTON]: a real click at the probe's point, left by default
    local answer
    answer=$(ask "$1")
    read -r _ x y <<<"$answer"
    [ "$x" = none ] && { echo "   FAILED: no screen point for '$1'"; failures=$((failures + 1)); return 1; }
    xdotool mousemove "$x" "$y" click "${2:-1}"
    # Two clicks on one spot within the double-click time would merge.
    sleep 0.7
}

scenario() {
    scenarios=$((scenarios + 1))
    echo "-- $1"
}

# The list's rows as the screen shows them: one area, the list below its
# header ($rows_area, fixed at the first start), captured once it is steady.
rows_now=$QUORVEL_ARTIFACTS/rows-now.ppm
# rows_look blank|rows [UNLIKE]: the area is blank (one colour), or shows
# rows (more than one colour, and not the picture UNLIKE).
rows_look() {
    local colours
    steady_capture "$rows_area" "$rows_now" 2>/dev/null || return 1
    colours=$(convert "$rows_now" -format %k info:)
    case $1 in
        blank) [ "$colours" = 1 ] ;;
        rows) [ "$colours" -gt 1 ] && ! cmp -s "$rows_now" "${2:-/dev/null}" ;;
    esac
}

expect_drawn() {  # expect_drawn WHAT blank|rows [UNLIKE]
    local what=$1
    shift
    wait_for 30 "$what" rows_look "$@" 2>/dev/null && return 0
    echo "   FAILED: $what: the rows on the screen ($rows_area) do not look $1 (last picture $rows_now)"
    failures=$((failures + 1))
    return 1
}

# No browser process alive (read from /proc: the Wine virtual machine has no
# ps): whatever the link asked for is in the recording browser's log.
no_browser_running() {
    ! cat /proc/[0-9]*/cmdline 2>/dev/null | tr '\0' ' ' | grep -qE '[w]inebrowser|[r]ecord-browser'
}

scenario "seeded start"
start "$(hex '6 29')"
expect "quoted path, two blanks, '6 29'" state 'sk=6 asc=29 ascq=\?\? rows=5 focus=51 '
finish
cp "$decoder_exe" "build/win32/wineprefix/drive_c/Gerät.exe"
ask "launch $(hex 'C:\Ger')e4$(hex 't.exe 4')" >/dev/null  # the ANSI byte 0xE4 in an unquoted name
expect "the window opens" window '^window [1-9]' 120
expect "a byte above 0x7F stays in the program name" state 'sk=4 asc=\?\? ascq=\?\? rows=26 '
finish
start ""
expect "no arguments" state 'sk=\? asc=\?\? ascq=\?\? rows=216 focus=51 sel=[0-9,]+ arrows=----'
import -window root "$QUORVEL_ARTIFACTS/full-list.png"
rows_area=$(frame_area rows) || failures=$((failures + 1))
rows_full=$QUORVEL_ARTIFACTS/rows-full-table.ppm
expect_drawn "the first rows are drawn at start" rows && cp "$rows_now" "$rows_full"

scenario "typing flow"
xdotool type --delay 150 3
expect "'3' moves to ASC with its text selected" state 'sk=3 asc=\?\? ascq=\?\? rows=37 focus=52 sel=0,2 '
expect_drawn "the 37 rows of sense key 3 are drawn in place of the whole table" rows "$rows_full"
xdotool type --delay 150 5d
expect "'5d' arrives as '5D' and moves to ASCQ" state 'sk=3 asc=5D ascq=\?\? rows=4 focus=53 sel=0,2 '
xdotool type --delay 150 ff
expect "'ff' arrives as 'FF' and matches nothing" state 'sk=3 asc=5D ascq=FF rows=0 focus=53 '
expect_drawn "no row is drawn when nothing matches" blank
xdotool key BackSpace BackSpace
expect "backspace empties ASCQ" state 'sk=3 asc=5D ascq= rows=4 focus=53 '
xdotool type --delay 150 02
expect "'02' leaves one row" state 'sk=3 asc=5D ascq=02 rows=1 focus=53 '
xdotool type --delay 150 'g /'
xdotool key BackSpace BackSpace
expect "'g', space and '/' change nothing; backspace widens the list" state 'sk=3 asc=5D ascq= rows=4 focus=53 '

scenario "closing"
xdotool key Return
expect "Enter keeps the window and the list" state 'sk=3 asc=5D ascq= rows=4 '
xdotool key Escape
expect "Escape ends the process with code 0" "wait 200" '^exit 0$' 60
start ""
click_at "point close"
expect "the close box ends the process with code 0" "wait 200" '^exit 0$' 60
env -u DISPLAY cmake/wine-run.sh "$decoder_exe" >/dev/null 2>&1
status=$?
[ $status = 1 ] || { echo "   FAILED: without a display the exit code is $status, expected 1"; failures=$((failures + 1)); }

scenario "sorting by header clicks"
start "$(hex '6')"
expect "sense key 6" state 'rows=40 '
# What the screen shows of the rows, before the sort and once it has settled
# after it: the new order must be drawn, not only held by the list.
rows_before=$QUORVEL_ARTIFACTS/rows-before-sort.ppm rows_after=$QUORVEL_ARTIFACTS/rows-after-sort.ppm
rows_area=$(frame_area rows) && steady_capture "$rows_area" "$rows_before" || failures=$((failures + 1))
click_at "point header 3"
expect "first click: ascending, arrow on Description only" state 'arrows=---U'
expect "rows in ascending order" "column 3" '^column bus device reset function occurred\|bus reset occurred\|changed operating definition\|'
if ! steady_capture "$rows_area" "$rows_after" || cmp -s "$rows_before" "$rows_after"; then
    echo "   FAILED: the rows on the screen are not redrawn in their new order"
    failures=$((failures + 1))
fi
rm -f "$rows_before" "$rows_after"
click_at "point header 3"
expect "second click: descending" state 'arrows=---D'
expect "rows in descending order" "column 3" '^column threshold condition met\|target operating conditions have changed\|standby condition activated by timer\|'
expect "the last row" "column 3" '\|bus device reset function occurred$'
import -window root "$QUORVEL_ARTIFACTS/sense-key-6-by-description-descending.png"
click_at "point header 1"
expect "the arrow moves to ASC" state 'arrows=-U--'

scenario "resize"
# (A here-string fed straight from the probe would lose the probe's pipes.)
answer=$(ask geometry)
read -r _ client _ <<<"$answer"
answer=$(ask "point border")
read -r _ x y <<<"$answer"
xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + 60)) "$y" mouseup 1
width=${client#client=}
width=${width%,*}
# Wider, the list as wide as the client area and as tall as what lies below
# its top edge, the link 4 px from the right edge.
layout='^geometry client=([0-9]+),([0-9]+) list=0,([0-9]+),([0-9]+),([0-9]+) link=[0-9]+,[0-9]+,([0-9]+),'
laid_out() {
    answer=$(ask geometry)
    [[ $answer =~ $layout ]] || return 1
    local w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
    [ "$w" -gt "$width" ] && [ "${BASH_REMATCH[4]}" = "$w" ] && [ "${BASH_REMATCH[5]}" = "$h" ] &&
        [ "${BASH_REMATCH[6]}" = $((w - 4)) ]
}
if ! wait_for 30 "the layout after widening" laid_out; then
    echo "   FAILED: after widening from $width px: $answer"
    failures=$((failures + 1))
fi
finish

scenario "the link"
browser_log=$QUORVEL_ARTIFACTS/browser.log
rm -f "$browser_log"
cat >build/win32/record-browser <<SCRIPT
#!/bin/sh
echo "\$1" >>"$browser_log"
SCRIPT
chmod +x build/win32/record-browser
WINEDEBUG=-all cmake/wine-run.sh reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$root/build/win32/record-browser" /f >/dev/null 2>&1
start ""
expect "the list is filled" state 'rows=216 '
# The list's own clicks open nothing. The key is handled after both clicks:
# once its selection shows, any page request they made has been handed on.
click_at "point row 0"
click_at "point row 1"
xdotool key Down
expect "clicks on two rows, then Down, select the third" state 'focus=50 .*selected=2$'
wait_for 60 "the browser to finish" no_browser_running || failures=$((failures + 1))
if [ -s "$browser_log" ]; then
    echo "   FAILED: clicks on rows of the list asked the browser for: $(tr '\n' ' ' <"$browser_log")"
    failures=$((failures + 1))
fi
click_at "point link"
wait_for 60 "the browser to be asked" test -s "$browser_log"
expect "the click leaves the focus on the link" state 'focus=54 '
xdotool key Return
asked_twice() { [ "$(wc -l <"$browser_log")" -ge 2 ]; }
wait_for 60 "a second page request, from Enter on the link" asked_twice
finish
wait_for 60 "the browser to finish" no_browser_running || failures=$((failures + 1))
page=https://quorvel.example/quorvel.html
if [ "$(cat "$browser_log")" != "$page"$'\n'"$page" ]; then
    echo "   FAILED: a click and Enter on the link asked the browser for: $(tr '\n' ' ' <"$browser_log")"
    failures=$((failures + 1))
fi

scenario "a sorted wildcard query, pictured for the handbook"
start "$(hex '? 3?')"
expect "every ASC 30 to 3F under any sense key" state 'sk=\? asc=3\? ascq=\?\? rows=46 '
click_at "point header 3"
xdotool mousemove 1270 1010  # off the header, which would show it hovered
expect "sorted by Description, the arrow on it" state 'arrows=---U'
expect "the same text under sense keys 2 and 5 side by side" "column 3" \
    '^column cannot format medium - incompatible medium\|cannot format medium - incompatible medium\|'
window_screenshot "$QUORVEL_ARTIFACTS/sorted-wildcard-query.png" || failures=$((failures + 1))
finish

scenario "copying rows, and the list's menu from the keyboard and the mouse"
# What the probe answers for a clipboard that holds this text.
holds() { echo "^clipboard seq=[0-9]+ text=$(hex "$1")\$"; }
power_on_rows=$'6\t29\t00\tpower on, reset, or bus device reset occurred\r\n6\t29\t01\tpower on occurred\r\n'
power_on_rows+=$'6\t29\t02\tbus reset occurred\r\n6\t29\t03\tbus device reset function occurred\r\n'
power_on_rows+=$'6\t29\t04\tdevice internal reset'
expect "the probe puts text on the clipboard" "setclipboard $(hex 'held before')" '^clipboard seq=[0-9]+$'
start "$(hex '6 29')"
expect "the five rows 6/29/00 to 04" state 'rows=5 focus=51 '
rows_area=$(frame_area rows) || failures=$((failures + 1))
xdotool key shift+Tab
expect "Shift+Tab moves to the list, with no row selected" state 'focus=50 .*selected=-1$'
answer=$(ask clipboard)
[[ $answer =~ ^clipboard\ seq=([0-9]+)\ text= ]] || { echo "   FAILED: the clipboard: $answer"; failures=$((failures + 1)); }
sequence=${BASH_REMATCH[1]:-none}
# End comes after Ctrl+C: once its row shows selected, Ctrl+C has been handled.
xdotool key ctrl+c End
expect "End after Ctrl+C selects the last row" state 'selected=4$'
expect "Ctrl+C with no row selected leaves the clipboard as it was" clipboard \
    "^clipboard seq=$sequence text=$(hex 'held before')\$"
xdotool key ctrl+a ctrl+c
expect "Ctrl+A and Ctrl+C copy every row, in the list's order" clipboard "$(holds "$power_on_rows")"
menu_before=$QUORVEL_ARTIFACTS/rows-before-menu.ppm menu_shown=$QUORVEL_ARTIFACTS/rows-with-menu.ppm
steady_capture "$rows_area" "$menu_before" || failures=$((failures + 1))
xdotool key shift+F10
expect "Shift+F10 opens the list's menu" menu '^menu 1$'
if ! steady_capture "$rows_area" "$menu_shown" || cmp -s "$menu_before" "$menu_shown"; then
    echo "   FAILED: the menu is not drawn over the rows"
    failures=$((failures + 1))
fi
xdotool key Escape
expect "Escape closes the menu" menu '^menu 0$'
expect_drawn "the rows as they were before the menu" rows && cmp -s "$rows_now" "$menu_before" ||
    { echo "   FAILED: after Escape the rows do not look as before the menu ($rows_now)"; failures=$((failures + 1)); }
xdotool key Up
expect "and only the menu: the window is open, the list has the keys" state 'focus=50 .*selected=3$'
xdotool key shift+F10 d
expect "Sort by Description, from the menu, sets the header click's arrow" state 'arrows=---U'
expect "and its order" "column 3" \
    '^column bus device reset function occurred\|bus reset occurred\|device internal reset\|power on occurred\|power on, reset, or bus device reset occurred$'
click_at "point row 2" 3
expect "a right-click on a row opens the menu" menu '^menu 1$'
expect "and selects that row" state 'selected=2$'
xdotool key c
expect "its Copy copies that row" clipboard "$(holds $'6\t29\t04\tdevice internal reset')"
finish
expect "the copied row stays on the clipboard after the program has ended" clipboard \
    "$(holds $'6\t29\t04\tdevice internal reset')"

scenario "pasting a log line into a field"
expect "a hypervisor's log line goes on the clipboard" \
    "setclipboard $(hex 'failed H:0x0 D:0x2 P:0x0 Valid sense data: 0x5 0x24 0x0. Act:NONE')" '^clipboard seq=[0-9]+$'
start ""
expect "every row, the focus on SK" state 'rows=216 focus=51 '
rows_area=$(frame_area rows) && steady_capture "$rows_area" "$rows_full" || failures=$((failures + 1))
xdotool key ctrl+v
expect "Ctrl+V fills the three fields from the line; the focus stays" state 'sk=5 asc=24 ascq=00 rows=1 focus=51 '
expect_drawn "the one row is drawn in place of the whole table" rows "$rows_full"
finish

scenario "the DLL search of the running program"
# A copy of the decoder beside a DLL of no system's name, as a hostile
# download would find it, and beside the probe, for which nothing restricts
# the search. Inside the decoder, the bare name must not find it.
cp "$decoder_exe" build/win32/tests/e2e/quorvel.exe
beside_probe='Z:'${PWD//\//\\}'\build\win32\tests\e2e\quorvel.exe'
start "" "$(hex "\"$beside_probe\"  ")"
expect "the planted DLL: found by the probe, not by the decoder" dllsearch '^dllsearch probe=found decoder=missing$'
finish
rm -f build/win32/tests/e2e/quorvel.exe

scenario "hostile command lines"
# Each tail with the fields and rows it must give: the bytes 1 to 255 (blanks
# skipped, then '0' to '4' are the first code characters), the same twice,
# and 32,000 characters.
every_byte=$(for b in $(seq 1 255); do printf '%02x' "$b"; done)
long_tail=$(hex "6 29 $(printf '%.0s0123456789' $(seq 1 3199))abcde")
tails=("$every_byte" "$every_byte$every_byte" "$long_tail")
shows=('sk=0 asc=12 ascq=34 rows=0 ' 'sk=0 asc=12 ascq=34 rows=0 ' 'sk=6 asc=29 ascq=01 rows=1 ')
for i in "${!tails[@]}"; do
    start "${tails[$i]}"
    expect "hostile tail $((i + 1)) seeds the fields from its first code characters" state "${shows[$i]}"
    ask close >/dev/null
    expect "it exits normally when closed" "wait 200" '^exit 0$' 60
done

ask quit >/dev/null
echo "end to end: $scenarios scenarios, $failures failed checks"
[ $failures = 0 ]
