#!/bin/sh
# Runs a Windows program under Wine in the build tree's own prefix, with no
# crash dialog and no Mono/Gecko prompts. CTest uses it as the emulator of the
# win32 tree; scripts/windows-session prepares the prefix and the display.
set -e
here=$(cd "$(dirname "$0")" && pwd)
: "${QUORVEL_WINEPREFIX:=$here/../build/win32/wineprefix}"
export WINEPREFIX="$QUORVEL_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
