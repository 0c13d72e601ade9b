# Shared by scripts/test and scripts/run: installs what is missing, lets this
# machine run 32-bit Windows programs, and provides a display and a Wine prefix.
# Sourced, not run.

QUORVEL_PACKAGES=(cmake g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686 wine wine32:i386 xvfb xdotool x11-utils imagemagick python3-pefile)

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
    local missing=() package
    for package in "${QUORVEL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Wine runs 32-bit Windows code in a 32-bit Linux process. Where the kernel
# cannot start 32-bit programs (some virtual machines lack the compat mode),
# they run through qemu-user instead, registered with binfmt_misc.
enable_32bit_programs() {
    /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
    echo "== this kernel does not start 32-bit programs: running them through qemu-user"
    if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq qemu-user-static >/dev/null
    fi
    local binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" | as_root tee "$binfmt/register" >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "cannot run 32-bit programs here" >&2; return 1; }
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
    wait_for 20 "the display $DISPLAY" xdpyinfo >/dev/null 2>&1
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ $SECONDS -ge $deadline ]; then echo "timed out waiting for $what" >&2; return 1; fi
        sleep 0.2
    done
}

# Creates the Wine prefix of the win32 build tree once: no crash dialog, and
# a virtual desktop so that Wine draws window frames without a window manager.
prepare_wine_prefix() {
    local prefix=$1
    export QUORVEL_WINEPREFIX=$prefix
    [ -f "$prefix/.quorvel-ready" ] && return 0
    echo "== creating the Wine prefix (once per build tree)"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEDEBUG=-all cmake/wine-run.sh wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w
    cat >> "$prefix/user.reg" <<'REG'

[Software\\Wine\\WineDbg] 1700000000
"ShowCrashDialog"=dword:00000000

[Software\\Wine\\Explorer] 1700000000
"Desktop"="Default"

[Software\\Wine\\Explorer\\Desktops] 1700000000
"Default"="1280x1024"
REG
    touch "$prefix/.quorvel-ready"
}
