#!/bin/sh
# The permission repair with a folder of the tree swapped for a symbolic link to a folder outside
# it, after the walk has listed it and before it opens it. Only Unix can make the link and read
# the outside folder's mode bits here, so this script does those, when the test program asks for
# the swap; the program runs the real repair.
#   link-swap.sh WINE-SESSION-SCRIPT SESSION-FOLDER WINDOWS-TESTS-EXE
set -eu
session_script=$1 session=$2 tests=$3
root=$(mktemp -d /tmp/iplist-link-swap.XXXXXX)
mkdir -p "$root/tree/sub" "$root/outside"
chmod 755 "$root" "$root/tree" "$root/tree/sub"
chmod 700 "$root/outside"
(
  for _ in $(seq 400); do [ -e "$root/swap-now" ] && break; sleep 0.05; done
  mv "$root/tree/sub" "$root/sub.moved" && ln -s "$root/outside" "$root/tree/sub" && touch "$root/swapped"
) &
swapper=$!
trap 'kill $swapper 2>/dev/null || true; rm -rf "$root"' EXIT
windows_root="Z:$(printf '%s' "$root" | tr / '\\')"
"$session_script" run "$session" env IPLIST_LINK_SWAP_ROOT="$windows_root" \
  wine "$tests" --gtest_filter='PermissionRepair.AFolderSwappedForALink*'
[ -L "$root/tree/sub" ] || { echo "the swap did not happen"; exit 1; }
mode=$(stat -c %a "$root/outside")
[ "$mode" = 700 ] || { echo "the repair changed the folder outside the tree: mode $mode"; exit 1; }
echo "the folder outside the tree kept mode $mode; the tree itself is now $(stat -c %a "$root/tree")"
