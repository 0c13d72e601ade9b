# Shared by the scripts: package installation, displays, Wine prefixes and
# polling. Sourced, not run.

QUORVEL_PACKAGES=(cmake g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686 python3-pefile xvfb xdotool x11-utils imagemagick)
# Where the kernel starts 32-bit programs, Wine runs here directly; elsewhere
# it runs in a small Debian virtual machine (scripts/windows-session).
QUORVEL_NATIVE_WINE_PACKAGES=(wine wine32:i386)
QUORVEL_VM_PACKAGES=(qemu-system-x86 debootstrap cpio)

# True when commands can run as root here: we are root, or sudo is there.
can_be_root() {
    [ "$(id -u)" = 0 ] || command -v sudo >/dev/null 2>&1
}

# as_root COMMAND...: runs COMMAND as root, directly or through sudo.
as_root() {
    if [ "$(id -u)" = 0 ]; then
        "$@"
    elif can_be_root; then
        sudo "$@"
    else
        echo "$1 needs root: run this command as root, or install sudo" >&2
        return 1
    fi
}

# True when this kernel can start a 32-bit x86 program itself (an emulator
# registered for them does not count: Wine does not work through qemu-user).
kernel_runs_32bit() {
    grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# missing_packages PACKAGE...: prints those of the packages not installed.
missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}

install_missing_packages() {
    local wanted=("${QUORVEL_PACKAGES[@]}" "${QUORVEL_NATIVE_WINE_PACKAGES[@]}") missing
    if [ -z "$(missing_packages libc6:i386)" ] && ! kernel_runs_32bit; then
        wanted=("${QUORVEL_PACKAGES[@]}" "${QUORVEL_VM_PACKAGES[@]}")
    fi
    missing=($(missing_packages "${wanted[@]}"))
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! can_be_root; then
        echo "missing packages: ${missing[*]}; installing them needs root: run this command as root, or install sudo" >&2
        return 1
    fi
    echo "== installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    # wine32 brings the 32-bit loader: only now can we tell whether it runs here.
    if ! kernel_runs_32bit; then
        missing=($(missing_packages "${QUORVEL_VM_PACKAGES[@]}"))
        if [ ${#missing[@]} -gt 0 ]; then
            echo "== this kernel does not start 32-bit programs; installing: ${missing[*]}"
            as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
        fi
    fi
}

# run_ctest LOG CTEST_ARGUMENT...: runs a CTest suite verbosely into LOG and
# shows what passed, or the failing tests' output; returns CTest's status.
run_ctest() {
    local log=$1
    shift
    if ctest "$@" -V >"$log" 2>&1; then
        grep -E '^\s*[0-9]+: (\[  PASSED  \]|Ran [0-9]+ tests|OK$)|tests passed' "$log" | sed 's/^/   /'
    else
        grep -E -B3 -A12 '\[  FAILED  \]|Failure|FAIL:|Error|timed out|\*\*\*' "$log" | tail -150
        grep -E 'tests passed|tests failed' "$log"
        return 1
    fi
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ $SECONDS -ge $deadline ]; then echo "timed out after ${seconds}s waiting for $what" >&2; return 1; fi
        sleep 0.2
    done
}

# Starts a private Xvfb and exports DISPLAY; it is stopped when the shell exits.
start_private_display() {
    local number
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUORVEL_XVFB_PID=$!
    trap 'kill $QUORVEL_XVFB_PID 2>/dev/null' EXIT
    export DISPLAY=":$number"
    wait_for 30 "the display $DISPLAY" xdpyinfo >/dev/null 2>&1
}

# Ends every Wine process of the prepared prefix and waits for them, so that
# none is left holding the display when it stops (it would die with an X
# error) or writing into what follows.
stop_wine() {
    WINEPREFIX=$QUORVEL_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$QUORVEL_WINEPREFIX wineserver -w >/dev/null 2>&1 || true
}

# prepare_wine_prefix PREFIX [desktop]: creates a Wine prefix once, with no
# crash dialog, and exports it as QUORVEL_WINEPREFIX. With "desktop" (the
# tests' prefix) Wine also gets a 1280x1024 virtual desktop, so that it draws
# window frames without a window manager; without it (scripts/run's prefix)
# the windows go to the user's own desktop, as Wine does by default.
prepare_wine_prefix() {
    local prefix=$1 desktop=${2:-}
    export QUORVEL_WINEPREFIX=$prefix
    [ -f "$prefix/.quorvel-ready" ] && return 0
    echo "== creating the Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEDEBUG=-all "$QUORVEL_ROOT/cmake/wine-run.sh" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w
    cat >>"$prefix/user.reg" <<'REG'

[Software\\Wine\\WineDbg] 1700000000
"ShowCrashDialog"=dword:00000000
REG
    if [ "$desktop" = desktop ]; then
        cat >>"$prefix/user.reg" <<'REG'

[Software\\Wine\\Explorer] 1700000000
"Desktop"="Default"

[Software\\Wine\\Explorer\\Desktops] 1700000000
"Default"="1280x1024"
REG
    fi
    touch "$prefix/.quorvel-ready"
}
