#!/usr/bin/env bash
# A private CUPS scheduler for tests, listening on a local socket only.
#   cups_fixture.sh start DIR              start cupsd with its files in DIR (short path)
#   cups_fixture.sh add-queue DIR NAME URI add a raw queue NAME whose device is URI
#   cups_fixture.sh stop DIR               cancel jobs, stop cupsd, remove DIR
# Clients reach it with CUPS_SERVER=DIR/run/cups.sock.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command=${1:?command}
dir=${2:?folder}
export CUPS_SERVER="$dir/run/cups.sock"

start() {
  mkdir -p "$dir"/etc/ppd "$dir"/spool/tmp "$dir"/cache "$dir"/state "$dir"/log "$dir"/run
  chmod 755 "$dir"
  cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
DataDir /usr/share/cups
ServerBin /usr/lib/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
FileDevice No
User lp
Group lp
CONF
  cat > "$dir/etc/cupsd.conf" <<CONF
LogLevel info
Listen $dir/run/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
JobRetryLimit 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
    > "$dir/log/cupsd.out" 2>&1 < /dev/null &
  echo $! > "$dir/cupsd.pid"
  for _ in $(seq 200); do
    if lpstat -r 2>/dev/null | grep -q 'is running'; then return 0; fi
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "cupsd did not start; see $dir/log" >&2
  cat "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null || true
  return 1
}

add_queue() {
  lpadmin -p "${1:?name}" -E -v "${2:?uri}" -P "$here/fixtures/test_printer.ppd"
}

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    cancel -a >/dev/null 2>&1 || true
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

case "$command" in
  start) start ;;
  add-queue) add_queue "${3:-}" "${4:-}" ;;
  stop) stop ;;
  *) echo "unknown command $command" >&2; exit 2 ;;
esac
