#!/usr/bin/env bash
# Prints a report from the window through a real print system: starts a print scheduler of its
# own (its own folders and socket, nothing of the machine's touched) with a PDF queue as the
# default printer, runs the window's printer test against it, and checks that the job completed
# as one page under the report's name. Stops the scheduler on every way out. Exits 77 (skipped)
# where the scheduler cannot start.
#   cups_print.sh <tst_window executable>
set -euo pipefail
test_program=$1
skip() { echo "SKIPPED: $*"; exit 77; }
for tool in cupsd lpadmin lpstat pdfinfo; do
    command -v "$tool" >/dev/null || PATH=$PATH:/usr/sbin command -v "$tool" >/dev/null ||
        skip "$tool is missing (bash scripts/setup-deps installs it)"
done
export PATH=$PATH:/usr/sbin
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "the PDF printer driver is missing"
[ "$(id -u)" = 0 ] || skip "the print scheduler needs root to run its PDF backend"

dir=$(mktemp -d /tmp/msl-cups.XXXXXX)
chmod 755 "$dir"
scheduler=
stop() {
    [ -z "$scheduler" ] || kill "$scheduler" 2>/dev/null || true
    [ -z "$scheduler" ] || wait "$scheduler" 2>/dev/null || true
    rm -rf "$dir"
}
trap stop EXIT
mkdir -p "$dir"/{root/ppd,spool/tmp,cache,state}
chgrp lp "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state" 2>/dev/null || true
chmod 1777 "$dir/spool/tmp"
cat >"$dir/root/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$dir/root/cups-files.conf" <<CONF
ServerRoot $dir/root
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $dir/access_log
ErrorLog $dir/error_log
PageLog $dir/page_log
CONF
cupsd -f -c "$dir/root/cupsd.conf" -s "$dir/root/cups-files.conf" &
scheduler=$!
export CUPS_SERVER=$dir/cups.sock
for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    kill -0 "$scheduler" 2>/dev/null || { cat "$dir/error_log" 2>/dev/null; scheduler=; skip "the print scheduler does not start here"; }
    sleep 0.1
done
lpstat -r | grep -q "is running" || skip "the print scheduler does not answer"
lpadmin -p msl-pdf -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
lpadmin -d msl-pdf

MSL_CUPS_QUEUE=msl-pdf QT_QPA_PLATFORM=offscreen "$test_program" printedOnTheDefaultPrinter

# The accepted job completes as one page under the report's name; the refused one left nothing.
for _ in $(seq 100); do
    [ -z "$(lpstat -W not-completed -o msl-pdf)" ] && break
    sleep 0.2
done
lpstat -W completed -o msl-pdf
[ "$(lpstat -W completed -o msl-pdf | wc -l)" = 1 ] || { echo "FAIL: not one completed job"; cat "$dir/error_log"; exit 1; }
# The PDF printer writes to its own folder (by the machine's settings, the user's PDF folder);
# the page is found by its job number among the files made since the scheduler started.
job=$(lpstat -W completed -o msl-pdf | sed -n 's/^msl-pdf-\([0-9]*\) .*/\1/p')
home=$(getent passwd "$(id -un)" | cut -d: -f6)
pdf=$(find "$home/PDF" /var/spool/cups-pdf -newer "$dir/root/cupsd.conf" -name "*-job_$job.pdf" \
    2>/dev/null | head -1)
[ -z "$pdf" ] || trap 'rm -f "$pdf"; stop' EXIT
[ -n "$pdf" ] || { echo "FAIL: the PDF printer wrote nothing"; cat "$dir/error_log"; exit 1; }
echo "printed: $pdf"
pdfinfo "$pdf" | grep -E '^(Title|Pages):'
pdfinfo "$pdf" | grep -qE '^Pages: +1$' || { echo "FAIL: not one page"; exit 1; }
pdfinfo "$pdf" | grep -qE '^Title: +\(?Masking layout - Lobby\)?$' ||
    { echo "FAIL: the job is not named after the report"; exit 1; }
echo PASSED
