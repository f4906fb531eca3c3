#!/bin/sh
# Runs the Windows test program's screen-scale tests at DPI, in a prefix of its own made for it:
# Wine takes the scale from the registry when a prefix's first program starts, as Windows does at
# log-on, so each scale needs a fresh prefix. Its display is one of a 200 % laptop's size
# (2560 x 1600), which the window at 192 DPI fits.
#   at-scale.sh WINE-SESSION-SCRIPT SESSION-FOLDER DPI WINDOWS-TESTS-EXE
set -eu
session_script=$1 session=$2 dpi=$3 tests=$4
prefix="$session/prefix-at-$dpi-dpi"
rm -rf "$prefix"
exec 3> "$prefix.display"
Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$prefix" "$prefix.display"' EXIT
for _ in $(seq 100); do [ -s "$prefix.display" ] && break; sleep 0.1; done
"$session_script" run "$session" env WINEPREFIX="$prefix" DISPLAY=":$(tr -d '\n' < "$prefix.display")" sh -c '
  wineboot -i >/dev/null 2>&1 && wineserver -w
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$0" /f >/dev/null 2>&1
  wine reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" /v LogPixels /t REG_DWORD /d "$0" /f >/dev/null 2>&1
  wineserver -w
  status=0
  wine "$1" --gtest_filter=ScreenScale.* || status=$?
  wineserver -k
  exit $status' "$dpi" "$tests"
