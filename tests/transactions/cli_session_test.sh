#!/usr/bin/env bash
# A session of glyphmill-cli against the printer-emulator program: every command once, its
# output and its exit code.
set -u
app=$1
work=$(mktemp -d)
emulator_pid=
cleanup() { [ -n "$emulator_pid" ] && kill "$emulator_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1)); else echo "ok   $1"; fi
}

"$app/printer-emulator" --language KDXZ --tcp 127.0.0.1:0 --flash 1000000 --log "$work/log" >"$work/out" 2>&1 &
emulator_pid=$!
for _ in $(seq 100); do grep -q '^listening' "$work/out" && break; sleep 0.05; done
port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/out")
[ -n "$port" ] || { echo "the emulator did not start"; cat "$work/out"; exit 1; }
cli() { "$app/glyphmill-cli" "KDXZ,NET,127.0.0.1,$port" "$@" 2>"$work/err"; }

check "free memory" "1000000" "$(cli memory)"
head -c 3000 /dev/urandom >"$work/font.ttf"
cli download-ttf "$work/font.ttf" --name MYFONT >/dev/null; check "download-ttf exit" 0 $?
check "list" "$(printf 'FLASH\tMYFONT.TTF\tFont\t3000')" "$(cli list)"
check "list --json" '[{"memory":"FLASH","name":"MYFONT.TTF","type":"Font","size":"3000"}]' "$(cli list --json)"
check "free memory after" "997000" "$(cli memory)"
printf '4142\r\n' >"$work/codes.txt"
cli download-data "$work/codes.txt" >/dev/null; check "download-data exit" 0 $?
cli test-print MYFONT.TTF --text 'Test' >/dev/null; check "test-print exit" 0 $?
cli delete MISSING.TTF >/dev/null; check "delete of an unlisted file" 1 $?
cli delete MYFONT.TTF >/dev/null; check "delete exit" 0 $?
check "list after delete" "" "$(cli list)"
cli format >/dev/null; check "format exit" 0 $?
cli download-ttf "$work/font.ttf" --name TOOLONGNAME >/dev/null; check "too long a name" 2 $?
cli download-ttf "$work/missing.ttf" >/dev/null; check "missing file" 2 $?
head -c 2000000 /dev/zero >"$work/big.ttf"
cli download-ttf "$work/big.ttf" --name BIG >/dev/null; check "not enough memory" 1 $?
grep -q 'enough free memory' "$work/err"; check "not enough memory message" 0 $?
"$app/glyphmill-cli" KDXA,NET,127.0.0.1,$port download-ttf "$work/font.ttf" >/dev/null 2>&1; check "KDXA takes no TrueType" 2 $?
"$app/glyphmill-cli" KDXZ,NET,127.0.0.1,1 memory >/dev/null 2>&1; check "refused connection" 1 $?
"$app/glyphmill-cli" KDXZ,NET memory >/dev/null 2>&1; check "bad parameters" 2 $?
"$app/glyphmill-cli" --help | grep -q '^Usage: glyphmill-cli'; check "help" 0 $?
kill "$emulator_pid"; wait "$emulator_pid" 2>/dev/null
emulator_pid=
check "streams logged" 1 "$([ "$(ls "$work/log" | wc -l)" -ge 10 ] && echo 1 || echo 0)"
[ "$failures" -eq 0 ]
