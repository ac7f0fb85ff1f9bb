#!/usr/bin/env bash
# Installs what is needed, builds everything, starts an emulated KDXZ printer on loopback and
# runs a short glyphmill-cli session against it: free memory, a TrueType download of an
# installed font, the file list.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh build
app=build/app

work=$(mktemp -d)
"$app/printer-emulator" --language KDXZ --tcp 127.0.0.1:0 >"$work/emulator.out" 2>&1 &
emulator=$!
trap 'kill $emulator 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do grep -q '^listening' "$work/emulator.out" && break; sleep 0.05; done
address=$(sed -n 's/^listening //p' "$work/emulator.out")
[ -n "$address" ] || { cat "$work/emulator.out"; exit 1; }
parameters="KDXZ,NET,${address%:*},${address##*:}"
echo "Emulated KDXZ printer listening on $address"

font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null || true)
[ -f "$font" ] || font=$(find /usr/share/fonts -iname '*.ttf' | head -n 1)

run() { echo "\$ glyphmill-cli $*"; "$app/glyphmill-cli" "$@"; }
run "$parameters" memory
run "$parameters" download-ttf "$font" --name DEMOFONT
run "$parameters" list
run "$parameters" memory
