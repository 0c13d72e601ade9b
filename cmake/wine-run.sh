#!/bin/sh
# Runs a Windows program under Wine in the prefix QUORVEL_WINEPREFIX names
# (by default the win32 tree's), with no Mono or Gecko prompts. CTest uses
# it as the emulator of the win32 tree.
set -e
here=$(cd "$(dirname "$0")" && pwd)
# Outside a prepared session there is no display to show windows on, and
# Wine would fail with errors of its own.
if [ -z "${DISPLAY:-}" ] && [ -z "${QUORVEL_WINEPREFIX:-}" ]; then
    echo "no display for Wine: the Windows tests run through scripts/windows-session (scripts/windows-session scripts/windows-tests)" >&2
    exit 1
fi
: "${QUORVEL_WINEPREFIX:=$here/../build/win32/wineprefix}"
export WINEPREFIX="$QUORVEL_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
