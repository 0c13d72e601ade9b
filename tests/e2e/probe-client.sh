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
