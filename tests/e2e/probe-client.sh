# Talking to the end-to-end probe (probe.cpp) from bash: its start, one
# question and its answer, and the hex form of a command line. Sourced by the
# scenarios and by scripts/run-headless, inside a Windows session, from the
# project's root.

# The decoder under test, from the project's root: this build, or the file
# QUORVEL_DECODER names (the download, release/quorvel.exe); and the same as
# Wine's Z: drive names it.
decoder_exe=${QUORVEL_DECODER:-build/win32/window/quorvel.exe}
decoder_exe_windows='Z:'${PWD//\//\\}'\'${decoder_exe//\//\\}

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

# frame_area [rows]: the probe's frame of the window (or of the list's rows)
# as ImageMagick's WxH+X+Y.
frame_area() {
    local answer left top right bottom
    answer=$(ask frame "$@")
    read -r _ left top right bottom <<<"$answer"
    if ! [[ $left$top$right$bottom =~ ^[-0-9]+$ ]]; then
        echo "no window to take a picture of: $answer" >&2
        return 1
    fi
    echo "$((right - left))x$((bottom - top))+$left+$top"
}

# steady_capture AREA FILE: saves AREA of the screen to FILE (PPM) once two
# captures in a row agree, so that a repaint still under way is not caught
# half done. Needs wait_for (scripts/setup.sh).
steady_capture() {
    capture_area=$1 capture_file=$2
    import -window root -crop "$capture_area" +repage "$capture_file"
    wait_for 30 "a steady picture of $capture_area" capture_agrees || return 1
    rm -f "$capture_file.next.ppm"
}

capture_agrees() {
    import -window root -crop "$capture_area" +repage "$capture_file.next.ppm"
    cmp -s "$capture_file" "$capture_file.next.ppm" && return 0
    mv "$capture_file.next.ppm" "$capture_file"
    return 1
}

# window_screenshot FILE: saves the decoder's window as shown, cut from the
# screen, once it is steady.
window_screenshot() {
    local file=$1 area
    area=$(frame_area) || return 1
    steady_capture "$area" "$file.ppm" || return 1
    convert "$file.ppm" -strip "$file"
    rm -f "$file.ppm"
}
