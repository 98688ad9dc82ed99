#!/usr/bin/env bash
# Starts the services that the tests talk to for real. Safe to run more than once.
#
# Printing: a CUPS scheduler with two cups-pdf queues, "Korvane_PDF" (the default) and
# "Korvane_PDF_Alt" (a second choice for the print dialog). The scheduler keeps the files
# of finished jobs (PreserveJobFiles), so a test can read exactly what the program sent.
# Only root can set this up; anyone else gets a note and the printing tests skip.
set -euo pipefail

readonly cupsd_conf=/etc/cups/cupsd.conf
readonly ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
readonly queues=(Korvane_PDF Korvane_PDF_Alt)

note() { echo "start-test-services: $*" >&2; }

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

set_preserve_job_files_in_file() {
  if ! grep -qx 'PreserveJobFiles Yes' "$cupsd_conf"; then
    sed -i '/^PreserveJobFiles[[:space:]]/d' "$cupsd_conf"
    echo 'PreserveJobFiles Yes' >>"$cupsd_conf"
  fi
}

start_printing() {
  if ! command -v cupsd >/dev/null || [[ ! -f $ppd ]]; then
    note "cups or printer-driver-cups-pdf is not installed; printing tests will skip"
    return 0
  fi
  if [[ $(id -u) -ne 0 ]]; then
    note "not root: the print queues are left as they are"
    return 0
  fi

  if ! scheduler_running; then
    set_preserve_job_files_in_file
    mkdir -p /run/cups
    cupsd  # forks into the background once it listens
  elif ! grep -qx 'PreserveJobFiles Yes' "$cupsd_conf"; then
    # The running scheduler rewrites its configuration and restarts itself.
    cupsctl PreserveJobFiles=Yes
  fi
  local tries=0
  until scheduler_running; do
    ((++tries > 50)) && { note "cupsd did not start"; return 1; }
    sleep 0.1
  done

  local queue
  for queue in "${queues[@]}"; do
    if ! lpstat -v "$queue" >/dev/null 2>&1; then
      lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
    fi
    cupsenable "$queue"
    cupsaccept "$queue"
  done
  if [[ $(lpstat -d 2>/dev/null) != *": ${queues[0]}" ]]; then
    lpadmin -d "${queues[0]}"
  fi
}

start_printing
