#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated instrument as COM1 in the
# program folder and opens the editor.
set -euo pipefail
cd "$(dirname "$0")"

source tools/ensure-packages.sh
ensure_packages "${CORVANE_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"

BIN=build/bin
# The factory window reads its module, calibration and NMEA files from the program
# folder: give it the samples to try against the simulated instrument. Files already
# there (a technician's own) are left alone.
for f in samples/factory/*.COD samples/factory/*.DAT; do
  [ -e "$BIN/$(basename "$f")" ] || cp "$f" "$BIN/"
done
sim_pid=""
if [ -x "$BIN/corvane-sim" ]; then
  "$BIN/corvane-sim" --link "$BIN/COM1" --memory "$BIN/simulated-instrument.mem" &
  sim_pid=$!
  trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$BIN/COM1" ] && break; sleep 0.1; done
fi
"$BIN/corvane-editor" "$@"
