#!/usr/bin/env bash
# End-to-end checks of quorvel.exe on the screens Windows users have: a
# scaled display (144 DPI) and screens too small for the window (below).
# Each screen is Wine's virtual desktop of that size and DPI on an X display
# of the same size. They share one copy of the tests' Wine prefix, so that
# the tests' own stays as it is. Runs inside scripts/windows-session, after
# scenarios.sh.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
. scripts/setup.sh
. tests/e2e/probe-client.sh
failures=0
screens=0

fail() {
    echo "   FAILED: $*"
    failures=$((failures + 1))
}

stop_wine  # the tests' prefix, so that what it holds is on disk before the copy
prefix=$root/build/win32/wineprefix-screens
rm -rf "$prefix"
cp -a "$QUORVEL_WINEPREFIX" "$prefix"
export QUORVEL_WINEPREFIX=$prefix

# open_screen WxH DPI: that screen, a probe in it, and the decoder started
# with no arguments; its whole answer to "geometry", "columns" and "screen"
# is in $layout once two reads in a row agree.
open_screen() {
    local size=$1 dpi=$2
    screens=$((screens + 1))
    echo "-- $size at $dpi DPI"
    # Wine reads both when the prefix's server starts; none runs now.
    cat >>"$prefix/user.reg" <<REG

[Control Panel\\\\Desktop] 1700000000
"LogPixels"=dword:$(printf %08x "$dpi")

[Software\\\\Wine\\\\Explorer\\\\Desktops] 1700000000
"Default"="$size"
REG
    start_private_display "$size"
    start_probe "$QUORVEL_ARTIFACTS/probe-screens.log"
    ask "launch $(hex "\"$decoder_exe_windows\"")" >/dev/null
    wait_for 120 "the decoder window" shown || { fail "no decoder window on $size at $dpi DPI"; return 1; }
    wait_for 30 "a steady layout" layout_steady || { fail "the layout does not settle: $layout"; return 1; }
}

shown() { [[ $(ask state) =~ rows=216 ]]; }

layout_steady() {
    local previous=${layout:-}
    layout="$(ask geometry) $(ask columns) $(ask screen)"
    [ "$layout" = "$previous" ]
}

close_screen() {
    ask close >/dev/null
    exited() { [[ $(ask "wait 200") =~ ^exit ]]; }
    wait_for 60 "the decoder to end" exited || fail "the decoder does not end"
    ask quit >/dev/null
    wait "$PROBE_PID" 2>/dev/null
    stop_wine
    kill "$QUORVEL_XVFB_PID" 2>/dev/null
    wait "$QUORVEL_XVFB_PID" 2>/dev/null
    layout=""
}

# The numbers of the steady layout.
pattern='^geometry client=([0-9]+),([0-9]+) list=(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+) '
pattern+='link=-?[0-9]+,-?[0-9]+,(-?[0-9]+),-?[0-9]+ columns ([0-9]+):([0-9]+) ([0-9]+):([0-9]+) ([0-9]+):([0-9]+) '
pattern+='([0-9]+):([0-9]+) client=([0-9]+) border=([0-9]+) scrollbars=([VH]*) '
pattern+='screen window=(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+) work=(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+)$'
read_layout() {
    [[ $layout =~ $pattern ]] || { fail "unreadable layout: $layout"; return 1; }
    local m=("${BASH_REMATCH[@]}")
    client_w=${m[1]} client_h=${m[2]} list_l=${m[3]} list_r=${m[5]} list_b=${m[6]} link_r=${m[7]}
    widths=("${m[8]}" "${m[10]}" "${m[12]}" "${m[14]}") needs=("${m[9]}" "${m[11]}" "${m[13]}" "${m[15]}")
    list_client=${m[16]} border=${m[17]} scrollbars=${m[18]}
    window=("${m[19]}" "${m[20]}" "${m[21]}" "${m[22]}") work=("${m[23]}" "${m[24]}" "${m[25]}" "${m[26]}")
}

# With all 216 rows the vertical scroll bar shows, and the four columns,
# which leave room for it and the border, fill the list's client area: no
# horizontal scroll bar.
columns_fill_the_list() {
    local sum=$((widths[0] + widths[1] + widths[2] + widths[3]))
    [ "$scrollbars" = V ] || fail "scroll bars '$scrollbars', expected only the vertical one: $layout"
    [ $((sum + border)) = "$list_client" ] ||
        fail "the columns (${widths[*]}, $sum in all) do not fill the list's client width $list_client"
}

# The window's margins in the work area are the same on the left and the
# right, and at the top and the bottom, or differ by the one pixel an odd
# remainder leaves.
centred_in_the_work_area() {
    local left=$((window[0] - work[0])) right=$((work[2] - window[2]))
    local top=$((window[1] - work[1])) bottom=$((work[3] - window[3]))
    [ $((left - right)) -ge -1 ] && [ $((left - right)) -le 1 ] && [ $((top - bottom)) -ge -1 ] &&
        [ $((top - bottom)) -le 1 ] ||
        fail "the window (${window[*]}) is not centred in the work area (${work[*]}): margins $left, $right, $top, $bottom"
}

fits_the_screen() {
    [ "${window[0]}" -ge "${work[0]}" ] && [ "${window[1]}" -ge "${work[1]}" ] &&
        [ "${window[2]}" -le "${work[2]}" ] && [ "${window[3]}" -le "${work[3]}" ] ||
        fail "the window (${window[*]}) is not inside the work area (${work[*]})"
    centred_in_the_work_area
    [ "$list_l" = 0 ] && [ "$list_r" = "$client_w" ] && [ "$list_b" = "$client_h" ] ||
        fail "the list ($list_l..$list_r, bottom $list_b) does not fill the client area ${client_w}x$client_h"
    [ "$link_r" = $((client_w - 4)) ] || fail "the link's right edge is $link_r, expected $((client_w - 4))"
    columns_fill_the_list
}

# A scaled display: the code columns grow with the DPI, each header's text
# fits its column, and the four fill the list.
if open_screen 1920x1200 144 && read_layout; then
    for column in 0 1 2 3; do
        [ "${needs[$column]}" -le "${widths[$column]}" ] ||
            fail "header $column needs ${needs[$column]} px, its column is ${widths[$column]}"
    done
    [ "${widths[*]:0:3}" = "75 75 75" ] || fail "code columns ${widths[*]:0:3}, expected 75 each at 144 DPI"
    columns_fill_the_list
    centred_in_the_work_area
    click_at() {
        local x y
        read -r _ x y <<<"$(ask "$1")"
        xdotool mousemove "$x" "$y" click 1
    }
    click_at "point header 3"
    xdotool mousemove 5 5  # off the header, which would show it hovered
    sorted() { [[ $(ask state) =~ arrows=---U ]]; }
    wait_for 30 "the sort by Description" sorted || fail "no sort arrow on Description after a click"
    window_screenshot "$QUORVEL_ARTIFACTS/sorted-by-description-144-dpi.png" || fail "no picture at 144 DPI"
fi
close_screen

# Small screens: the window shrinks to the work area where it is larger,
# in width (1024 x 768; 144 DPI on 1280 x 1024), in both (a common laptop,
# 1366 x 768 at 150 %) or in height alone (an ultrawide screen at 200 %),
# is centred there, and the list and the link are laid out to it.
for screen in "1024x768 96" "1280x1024 144" "1366x768 144" "2560x1080 192"; do
    read -r size dpi <<<"$screen"
    open_screen "$size" "$dpi" && read_layout && fits_the_screen
    close_screen
done
# The copy is scratch; left behind, it would also fill the virtual machine's
# RAM disk, into which the next run on that road packs build/win32.
rm -rf "$prefix"

echo "screens: $screens screens, $failures failed checks"
[ $failures = 0 ]
