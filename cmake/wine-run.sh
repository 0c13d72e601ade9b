#!/bin/sh
# Runs a Windows program under Wine in the build tree's own prefix, with no
# crash dialog and no Mono/Gecko prompts. CTest uses it as the emulator of the
# win32 tree; scripts/test prepares the prefix and the display first.
set -e
here=$(cd "$(dirname "$0")" && pwd)
: "${QUORVEL_WINEPREFIX:=$here/../build/win32/wineprefix}"
export WINEPREFIX="$QUORVEL_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Where 32-bit code runs through qemu-user, Wine needs the whole 32-bit
# address space reserved up front to place its fixed mappings.
export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0xffff0000}"
exec wine "$@"
