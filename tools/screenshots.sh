#!/usr/bin/env bash
# Screenshots of the main window on a virtual X screen, into shots/ (git-ignored).
# Needs xvfb-run and ImageMagick's import. Usage: tools/screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target corvane-shots
BIN="$BUILD_DIR/bin/corvane-shots"
mkdir -p shots

# name | scale | screen | program arguments
shots=(
  "config01-pointer|1|1600x1200x24|--config 1"
  "config06-pointer|1|1600x1200x24|--config 6"
  "config16-pointer|1|1600x1200x24|--config 16"
  "config06-barchart|1|1600x1200x24|--config 6 --bar-chart"
  "config16-barchart-highlight|1|1600x1200x24|--config 16 --bar-chart --highlight"
  "config01-selector|1|1600x1200x24|--config 1 --selector 5"
  "config01-selector-display1|1|1600x1200x24|--config 1 --selector 1"
  "config01-selector-right-edge|1|1600x1200x24|--config 1 --at 210,0 --selector 5"
  "config01-selector-right-edge-display1|1|1600x1200x24|--config 1 --at 210,0 --selector 1"
  "config01-edit-menu|1|1600x1200x24|--config 1 --edit-menu"
  "config06-pointer-200|2|3200x2400x24|--config 6"
  "config16-barchart-200|2|3200x2400x24|--config 16 --bar-chart"
  "config01-selector-200|2|3200x2400x24|--config 1 --selector 5"
  "config01-edit-menu-200|2|3200x2400x24|--config 1 --edit-menu"
  "config01-marks|1|1366x768x24|--config 1 --marks"
  "config01-marks-edit-menu|1|1366x768x24|--config 1 --marks --edit-menu"
  "config01-marks-view-menu|1|1366x768x24|--config 1 --marks --view-menu"
  "config01-marks-200|2|2732x1536x24|--config 1 --marks"
  "window-senders|1|1600x1200x24|--config 1 --window senders --curve 0"
  "window-senders-curve06|1|1600x1200x24|--config 1 --window senders --curve 6"
  "window-senders-curve09|1|1600x1200x24|--config 1 --window senders --curve 9"
  "window-senders-curve16|1|1600x1200x24|--config 1 --window senders --curve 16"
  "window-senders-curve19|1|1600x1200x24|--config 1 --window senders --curve 19"
  "window-senders-curve25|1|1600x1200x24|--config 1 --window senders --curve 25"
  "window-chart|1|1600x1200x24|--config 1 --window chart"
  "window-damping|1|1600x1200x24|--config 1 --window damping"
  "window-tod|1|1600x1200x24|--config 1 --window tod"
  "window-nmea-data|1|1600x1200x24|--config 1 --selector 5 --window nmea-data"
  "window-comms|1|1600x1200x24|--config 1 --window comms"
  "window-progress|1|1600x1200x24|--config 1 --window progress"
  "window-about|1|1600x1200x24|--config 1 --window about"
  "window-warning|1|1600x1200x24|--config 1 --window warning"
  "window-senders-200|2|3200x2400x24|--config 1 --window senders"
  "window-connecting|1|1600x1200x24|--config 1 --window connecting"
  "window-compare|1|1600x1200x24|--config 1 --window compare"
  "window-chart-200|2|3200x2400x24|--config 1 --window chart"
  "window-damping-200|2|3200x2400x24|--config 1 --window damping"
  "window-tod-200|2|3200x2400x24|--config 1 --window tod"
  "window-nmea-data-200|2|3200x2400x24|--config 1 --selector 5 --window nmea-data"
  "window-comms-200|2|3200x2400x24|--config 1 --window comms"
  "window-progress-200|2|3200x2400x24|--config 1 --window progress"
  "window-about-200|2|3200x2400x24|--config 1 --window about"
  "window-warning-200|2|3200x2400x24|--config 1 --window warning"
  "window-connecting-200|2|3200x2400x24|--config 1 --window connecting"
  "window-compare-200|2|3200x2400x24|--config 1 --window compare"
  "window-take-parts|1|1366x768x24|--config 1 --window take-parts"
  "window-take-parts-150|1.5|1366x768x24|--config 1 --window take-parts"
  "window-take-parts-200|2|2732x1536x24|--config 1 --window take-parts"
  "window-factory|1|1600x1200x24|--config 1 --window factory"
  "window-factory-200|2|3200x2400x24|--config 1 --window factory"
  "window-history|1|1600x1200x24|--config 1 --window history"
  "window-history-laptop|1|1366x768x24|--config 1 --window history"
  "window-history-200|2|3200x2400x24|--config 1 --window history"
  "marks-senders|1|1366x768x24|--config 1 --marks --window senders --curve 6"
  "marks-senders-200|2|2732x1536x24|--config 1 --marks --window senders --curve 6"
  "marks-damping|1|1366x768x24|--config 1 --marks --window damping"
  "marks-damping-200|2|2732x1536x24|--config 1 --marks --window damping"
  "marks-tod|1|1366x768x24|--config 1 --marks --window tod"
  "marks-tod-200|2|2732x1536x24|--config 1 --marks --window tod"
  "marks-damping-list|1|1366x768x24|--config 1 --marks --window damping-list"
  "marks-tod-list-200|2|2732x1536x24|--config 1 --marks --window tod-list"
  "marks-nmea|1|1366x768x24|--config 1 --marks --selector 5"
  "marks-nmea-200|2|2732x1536x24|--config 1 --marks --selector 5"
)

for entry in "${shots[@]}"; do
  IFS='|' read -r name scale screen args <<<"$entry"
  echo "shots/$name.png"
  # shellcheck disable=SC2086
  QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 $screen" bash -c "
    '$BIN' $args --quit-after 6000 &
    app=\$!
    sleep 3
    import -window root 'shots/$name.png'
    wait \$app
  "
done
