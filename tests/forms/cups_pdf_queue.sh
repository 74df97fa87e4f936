#!/bin/sh
# Starts the print system when it is not running and adds a PDF queue for the print tests.
# Prints the folder the queue writes its files to. Usage: cups_pdf_queue.sh QUEUE
set -eu
queue="$1"
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi; }
running() { lpstat -r 2>/dev/null | grep -qv "not running"; }

if ! running; then
    as_root cupsd || { echo "cupsd would not start" >&2; exit 1; }
    for _ in $(seq 50); do running && break; sleep 0.1; done
    running || { echo "cupsd started but the scheduler does not answer" >&2; exit 1; }
fi
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || { echo "printer-driver-cups-pdf is not installed" >&2; exit 1; }
lpstat -p "$queue" >/dev/null 2>&1 || as_root lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E 2>/dev/null
# Converted through cairo the pages keep their text readable by pdftotext; the default
# converter turns the embedded fonts into outlines without character codes.
as_root lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo
as_root cupsenable "$queue"
as_root cupsaccept "$queue"
# The queue writes into Out of its configuration, below the home of the job's owner.
out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -n 1)
echo "${out:-\${HOME\}/PDF}" | sed "s#\${HOME}#$(getent passwd "$(id -un)" | cut -d: -f6)#"
