#!/usr/bin/env bash
# Page counts and LibreOffice times of the window printouts, at the sizes given (default 180):
#   bench/libreoffice_pages.sh [areas...]      (BUILD=<build folder>, default build/;
#                                               ONLY=<printout>: that one alone, e.g. relazione;
#                                               CPU=1: processor seconds instead of wall clock)
# For each printout: the program's pages (viewer and PDF), the pages of our PDF, and the pages
# LibreOffice gives for our DOCX and ODT, with the seconds it takes to open and convert each;
# for the distances printout and the full report also the unformatted DOCX of the same cells
# (LibreOffice's floor), converted in the same run.
# LibreOffice draws "Century Gothic" with URW Gothic through the fontconfig alias we ship.
# One conversion at a time: at 180 areas each takes a minute or two of this machine.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD:-$here/build}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(180)
command -v soffice >/dev/null || { echo "soffice non trovato" >&2; exit 1; }
command -v pdfinfo >/dev/null || { echo "pdfinfo non trovato (poppler-utils)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <include>$here/resources/fontconfig/61-urbaflux-century-gothic.conf</include>
</fontconfig>
EOF
export FONTCONFIG_FILE="$work/fonts.conf"

pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }

# Seconds and pages of LibreOffice converting one file to PDF: the seconds are wall clock, or
# the processor time LibreOffice used when CPU=1 (steadier on a machine others load).
convert() {
  local file=$1 out="$work/lo"
  mkdir -p "$out"
  local TIMEFORMAT='%R %U %S' timing wall user system
  timing=$({ time soffice --headless "-env:UserInstallation=file://$work/profile" \
    --convert-to pdf --outdir "$out" "$file" >/dev/null 2>&1; } 2>&1)
  read -r wall user system <<<"$timing"
  local base
  base=$(basename "${file%.*}")
  if [ "${CPU:-0}" = 1 ]; then wall=$(echo "$user + $system" | bc); fi
  printf '%s %s\n' "$wall" "$(pages "$out/$base.pdf")"
}

# A first run creates the profile, so that no timing below pays for it.
soffice --headless "-env:UserInstallation=file://$work/profile" --terminate_after_init \
  >/dev/null 2>&1 || true

printf '%-9s %5s %7s %7s %9s %7s %9s %7s\n' printout areas program pdf docx_pg docx_s odt_pg odt_s
for areas in "${sizes[@]}"; do
  "$build/bench/report_pages" "$areas" "$work/out" >"$work/counts"
  while read -r name program; do
    [ -z "${ONLY:-}" ] || [ "$name" = "$ONLY" ] || continue
    base="$work/out/$name-$areas"
    read -r docx_s docx_pg < <(convert "$base.docx")
    odt_s=- odt_pg=-
    if [ -f "$base.odt" ]; then read -r odt_s odt_pg < <(convert "$base.odt"); fi
    printf '%-9s %5s %7s %7s %9s %7s %9s %7s\n' "$name" "$areas" "$program" \
      "$(pages "$base.pdf")" "$docx_pg" "$docx_s" "$odt_pg" "$odt_s"
    if [ -f "$base-grezzo.docx" ]; then
      read -r raw_s raw_pg < <(convert "$base-grezzo.docx")
      printf '%-9s %5s %7s %7s %9s %7s   ratio docx/grezzo %s' grezzo "$areas" - - "$raw_pg" \
        "$raw_s" "$(echo "scale=2; $docx_s / $raw_s" | bc)"
      [ "$odt_s" != - ] && printf ', odt/grezzo %s' "$(echo "scale=2; $odt_s / $raw_s" | bc)"
      printf '\n'
    fi
  done <"$work/counts"
done
