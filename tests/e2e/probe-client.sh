# Talking to the end-to-end probe (probe.cpp) from bash: its start, one
# question and its answer, and the hex form of a command line. Sourced by the
# scenarios and by scripts/run-headless, inside a Windows session, from the
# project's root.

# The shipped executable as Wine's Z: drive names it.
decoder_exe_windows='Z:'${PWD//\//\\}'\build\win32\window\quorvel.exe'

# start_probe LOG: starts quorvel_probe.exe as a coprocess; what it and Wine
# report on standard error goes to LOG.
start_probe() {
    local log=$1
    coproc PROBE { WINEDEBUG=err+all cmake/wine-run.sh build/win32/tests/e2e/quorvel_probe.exe 2>"$log"; }
    # Kept in plain variables: a here-string fed from the probe would lose the
    # coprocess's own.
    probe_in=${PROBE[1]}
    probe_out=${PROBE[0]}
    probe_log=$log
}

ask() {  # ask COMMAND...: one answer line from the probe
    local answer
    if echo "$*" >&"$probe_in" && IFS= read -r -t 60 answer <&"$probe_out"; then
        echo "${answer%$'\r'}"  # the probe's console ends its lines with CR LF
    else
        echo "(the probe did not answer; see $probe_log)"
    fi
}

hex() {  # hex TEXT: its bytes as hex digits, as the probe's launch takes them
    printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'
}

# window_screenshot FILE: saves the decoder's window as shown, cut from the
# screen, once two captures in a row agree, so that a repaint still under way
# is not caught half done. Needs wait_for (scripts/setup.sh).
window_screenshot() {
    local file=$1 answer left top right bottom
    answer=$(ask frame)
    read -r _ left top right bottom <<<"$answer"
    if ! [[ $left$top$right$bottom =~ ^[-0-9]+$ ]]; then
        echo "no window to take a picture of: $answer" >&2
        return 1
    fi
    screenshot_area=$((right - left))x$((bottom - top))+$left+$top
    screenshot_file=$file
    import -window root -crop "$screenshot_area" +repage "$file.ppm"
    wait_for 30 "a steady picture of the window" screenshot_agrees || return 1
    convert "$file.ppm" -strip "$file"
    rm -f "$file.ppm" "$file.next.ppm"
}

screenshot_agrees() {
    import -window root -crop "$screenshot_area" +repage "$screenshot_file.next.ppm"
    cmp -s "$screenshot_file.ppm" "$screenshot_file.next.ppm" && return 0
    mv "$screenshot_file.next.ppm" "$screenshot_file.ppm"
    return 1
}
