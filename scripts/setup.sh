# What the scripts share. Sourced, not run, with QUORVEL_ROOT, the
# project's root, in the environment.

# Debian's packages, by what needs them.
QUORVEL_BUILD_PACKAGES=(cmake g++-mingw-w64-i686)  # quorvel.exe
# Every name is one Debian 12 and 13 both have: libclang-rt-dev brings the
# runtime of the release's own clang (14 or 19).
QUORVEL_TEST_PACKAGES=(g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-dev python3-pefile)
# The Windows part runs on one of two roads. Here: native Wine on a private
# display, driven with real input and pictured.
QUORVEL_NATIVE_WINE_PACKAGES=(wine wine32:i386)
QUORVEL_DISPLAY_PACKAGES=(xvfb xdotool x11-utils imagemagick)
# Or in a small Debian virtual machine, whose image holds Wine and the rest
# (scripts/vm/build-rootfs).
QUORVEL_VM_PACKAGES=(qemu-system-x86 debootstrap cpio)

# Why native Wine could not be installed, as the install step found it; the
# file is absent when it could or was not tried.
quorvel_native_wine_record() {
    echo "$QUORVEL_ROOT/build/setup/native-wine-not-installed"
}

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

# True when this kernel starts a 32-bit x86 program itself. The program is
# the smallest one there is (93 bytes: an ELF header, one segment, and
# exit(0) through int 0x80), written here, so the answer does not depend on
# which 32-bit packages are installed. An emulator registered for such
# programs does not count: Wine does not work through qemu-user.
kernel_runs_32bit() {
    grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
    local program=$QUORVEL_ROOT/build/setup/exit-0.i386
    if [ ! -x "$program" ]; then
        mkdir -p "${program%/*}"
        local elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'  # 32-bit, little-endian
        elf+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'  # executable, i386, entry, headers
        elf+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'  # one program header
        elf+='\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'  # a segment: the whole file,
        elf+='\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00'  # at 0x08048000, read and execute
        elf+='\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'              # exit(0)
        printf "$elf" >"$program.part"
        chmod +x "$program.part" && mv "$program.part" "$program"
    fi
    "$program" 2>/dev/null
}

# True when native Wine is installed and runs 32-bit programs here.
native_wine_runs() {
    command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1 || return 1
    grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
    /usr/lib/wine/wine --version >/dev/null 2>&1  # Wine's 32-bit loader, from wine32:i386
}

# windows_road: where the Windows part runs, as "here (REASON)" or
# "vm (REASON)". QUORVEL_ROAD=here|vm forces a road; else what the install
# step recorded decides, and last the probe of this machine.
windows_road() {
    case ${QUORVEL_ROAD:-} in
        here | vm) echo "$QUORVEL_ROAD (QUORVEL_ROAD=$QUORVEL_ROAD)"; return 0 ;;
        '') ;;
        *) echo "QUORVEL_ROAD is '$QUORVEL_ROAD'; it may be here, vm or unset" >&2; return 1 ;;
    esac
    local record
    record=$(quorvel_native_wine_record)
    if [ -s "$record" ]; then
        echo "vm ($(cat "$record"))"
    elif native_wine_runs; then
        echo "here (native Wine)"
    elif ! kernel_runs_32bit; then
        echo "vm (this kernel does not start 32-bit programs)"
    elif [ -n "$(missing_packages "${QUORVEL_NATIVE_WINE_PACKAGES[@]}")" ]; then
        echo "vm (native Wine is not installed: $(missing_packages "${QUORVEL_NATIVE_WINE_PACKAGES[@]}" | xargs))"
    else
        echo "vm (native Wine is installed but does not start here)"
    fi
}

# announce_windows_road: prints the road and its reason in one line and sets
# QUORVEL_WINDOWS_ROAD to "here" or "vm".
announce_windows_road() {
    local road
    road=$(windows_road) || return 1
    echo "== Windows session: $road"
    QUORVEL_WINDOWS_ROAD=${road%% *}
}

# missing_packages PACKAGE...: prints those of the packages not installed.
missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}

# apt_error LOG [first]: apt's reason in LOG, in a few words: its last
# error line, or with "first" its first (apt-get update ends with a summary).
apt_error() {
    local pick=(tail -1)
    [ "${2:-}" = first ] && pick=(head -1)
    grep -E '^(E|Err):' "$1" | "${pick[@]}" | sed -E -e 's/^(E|Err): *//' -e 's/^Error, //' \
        -e 's/, this may be caused by held packages\.?$//' -e 's/ *\[IP: [^]]*\]//' -e 's/ +Hashes of expected file:.*//'
}

# Fetches the package lists, trying again a few times a few seconds apart (a
# mirror may be in the middle of a sync); then goes on with the lists there
# are.
update_package_lists() {
    local log=$QUORVEL_ROOT/build/logs/apt-get-update.log try
    for try in 1 2 3; do
        as_root apt-get update -qq >"$log" 2>&1 && return 0
        [ $try = 3 ] || sleep 5
    done
    echo "== apt-get update failed 3 times ($(apt_error "$log" first)); going on with the package lists this machine has"
}

# install_packages PACKAGE...: installs them; if that fails, names each one
# that cannot be installed, with apt's reason, and fails.
install_packages() {
    local log=$QUORVEL_ROOT/build/logs/apt-get-install.log package failed=0
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >"$log" 2>&1 && return 0
    for package in "$@"; do
        if ! apt-get install -s -qq "$package" >"$log.$package" 2>&1; then
            echo "cannot install $package: $(apt_error "$log.$package")" >&2
            failed=1
        fi
        rm -f "$log.$package"
    done
    [ $failed = 1 ] || echo "cannot install $*: $(apt_error "$log") (build/logs/apt-get-install.log)" >&2
    return 1
}

# uninstallable_native_wine: prints "PACKAGE... could not be installed:
# REASON" when apt cannot install the native Wine packages here; else
# nothing.
uninstallable_native_wine() {
    local log=$QUORVEL_ROOT/build/logs/apt-get-wine.log package names=() reason=""
    for package in $(missing_packages "${QUORVEL_NATIVE_WINE_PACKAGES[@]}"); do
        if ! apt-get install -s -qq "$package" >"$log" 2>&1; then
            names+=("$package")
            reason=${reason:-$(apt_error "$log")}
        fi
    done
    [ ${#names[@]} -eq 0 ] || echo "${names[*]} could not be installed: $reason"
}

# install_missing_packages build|run|test: installs what the command needs
# and is not there yet: the build packages, for test also the test packages,
# and for run and test those of the Windows part's road. Where native Wine
# cannot be installed, it says so in one line, records why (windows_road
# reads it) and installs the virtual machine's packages instead.
install_missing_packages() {
    local purpose=$1 wanted=("${QUORVEL_BUILD_PACKAGES[@]}") native=0 record missing reason
    [ "$purpose" = test ] && wanted+=("${QUORVEL_TEST_PACKAGES[@]}")
    record=$(quorvel_native_wine_record)
    mkdir -p "$QUORVEL_ROOT/build/logs" "${record%/*}"
    case ${QUORVEL_ROAD:-} in
        here) native=1 ;;
        vm) ;;
        '') if native_wine_runs || kernel_runs_32bit; then native=1; fi ;;
        *) windows_road >/dev/null; return 1 ;;
    esac
    if [ "$purpose" = build ]; then
        native=0
    elif [ $native = 1 ]; then
        wanted+=("${QUORVEL_DISPLAY_PACKAGES[@]}")
    else
        wanted+=("${QUORVEL_VM_PACKAGES[@]}")
    fi
    missing=($(missing_packages "${wanted[@]}"))
    [ $native = 1 ] && missing+=($(missing_packages "${QUORVEL_NATIVE_WINE_PACKAGES[@]}"))
    if [ ${#missing[@]} -eq 0 ]; then
        [ $native = 0 ] || rm -f "$record"
        return 0
    fi
    if ! can_be_root; then
        echo "missing packages: ${missing[*]}; installing them needs root: run this command as root, or install sudo" >&2
        return 1
    fi
    # Asked once, before apt's output goes to a log, so that sudo's own
    # message tells a user it refuses.
    if [ "$(id -u)" != 0 ] && ! sudo -v; then
        echo "missing packages: ${missing[*]}; sudo does not let you install them: run this command as root, or have them installed" >&2
        return 1
    fi
    echo "== installing: ${missing[*]}"
    if [ $native = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    update_package_lists
    missing=($(missing_packages "${wanted[@]}"))
    [ ${#missing[@]} -eq 0 ] || install_packages "${missing[@]}" || return 1
    [ $native = 1 ] || return 0

    missing=($(missing_packages "${QUORVEL_NATIVE_WINE_PACKAGES[@]}"))
    reason=$(uninstallable_native_wine)
    if [ -z "$reason" ] && { [ ${#missing[@]} -eq 0 ] || install_packages "${missing[@]}" 2>/dev/null; }; then
        native_wine_runs && { rm -f "$record"; return 0; }
        reason="native Wine is installed but does not start here"
    fi
    reason=${reason:-${missing[*]} could not be installed: $(apt_error "$QUORVEL_ROOT/build/logs/apt-get-install.log")}
    if [ "${QUORVEL_ROAD:-}" = here ]; then
        echo "QUORVEL_ROAD=here, but $reason" >&2
        return 1
    fi
    echo "== $reason; the Windows part runs in the virtual machine instead"
    echo "$reason" >"$record"
    missing=($(missing_packages "${QUORVEL_VM_PACKAGES[@]}"))
    [ ${#missing[@]} -eq 0 ] || install_packages "${missing[@]}"
}

# release_checksum_line [FILE]: the README's line for the download, as
# sha256sum prints it, for FILE (by default this machine's build).
release_checksum_line() {
    local file=${1:-build/win32/window/quorvel.exe}
    (cd "$QUORVEL_ROOT" && sha256sum "$file") | sed "s|$file|release/quorvel.exe|"
}

# This machine's Debian release, as its number ("12"), else as
# /etc/debian_version names it.
debian_release() {
    local release
    release=$(sed -n -E 's/^VERSION_ID="?([^"]*)"?$/\1/p' /etc/os-release 2>/dev/null)
    echo "${release:-$(cat /etc/debian_version 2>/dev/null || echo unknown)}"
}

# The README's line naming the packages whose versions give the download's
# bytes, as this machine's toolchain would write it.
release_toolchain_line() {
    echo "Built with Debian $(debian_release)'s $(dpkg-query -W -f='${Package} ${Version}, ' \
        gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev |
        sed 's/, $//')."
}

# The toolchain line the README gives for the download.
readme_toolchain_line() {
    grep -m1 '^Built with Debian ' "$QUORVEL_ROOT/README.md" || echo "(README.md names no toolchain)"
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

# start_private_display [WxH]: starts a private Xvfb of that size (the
# tests' 1280x1024 by default) and exports DISPLAY; the last one started is
# stopped when the shell exits.
start_private_display() {
    local size=${1:-1280x1024} number
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
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

# windows_session_here COMMAND...: the Windows session where Wine runs:
# from the project's root, with a private Xvfb as DISPLAY and the tests' Wine
# prefix, runs COMMAND, then ends Wine's processes before the display goes.
# Returns COMMAND's status. scripts/windows-session runs it on this machine,
# scripts/vm/init inside the virtual machine.
windows_session_here() {
    cd "$QUORVEL_ROOT" || return 1
    export QUORVEL_ARTIFACTS=$QUORVEL_ROOT/build/artifacts
    mkdir -p "$QUORVEL_ARTIFACTS"
    start_private_display || return 1
    prepare_wine_prefix "$QUORVEL_ROOT/build/win32/wineprefix" desktop
    echo "== $(wine --version) on the private display $DISPLAY"
    local status=0
    "$@" || status=$?
    stop_wine
    return $status
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
