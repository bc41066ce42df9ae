#!/bin/sh
# Runs the end-to-end cases against the Windows build under wine, with a wine
# prefix of its own beside that build.
# Usage: tests/run_under_wine.sh [gtest arguments...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build-windows/zodidezi.exe
cases=$root/build/tests/e2e_test
[ -x "$cases" ] || { echo "build the dev preset first: $cases is missing" >&2; exit 1; }
[ -f "$exe" ] || { echo "build the windows preset first: $exe is missing" >&2; exit 1; }

export WINEDEBUG=-all
export WINEPREFIX="$root/build-windows/wineprefix"
# A first start sets the prefix up and talks on standard error; do it here.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
fi
wineserver -w
# One persistent server: each case then starts in milliseconds, not a second.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT

# The unit tests that the Windows build has: the kernels (dispatched by this
# CPU, as the .exe is) and the argument split.
for unit in "$root"/build-windows/tests/*.exe; do
    wine "$unit"
done
ZODIDEZI_UNDER_TEST="wine $exe" "$cases" "$@"
