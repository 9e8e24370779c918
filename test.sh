#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and runs the whole test suite offscreen;
# then builds the fuzz targets with clang and runs each briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"

source tools/ensure-packages.sh
fuzz_packages=()
[ "${RUN_FUZZ:-1}" != 0 ] && fuzz_packages=(clang libclang-rt-14-dev)
# clang-format: the suite checks every C++ file against .clang-format.
ensure_packages "${CORVANE_PACKAGES[@]}" clang-format poppler-utils "${fuzz_packages[@]}"

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" ${CTEST_ARGS:-}

# The readers of outside input under libFuzzer with ASan+UBSan (RUN_FUZZ=0 skips this).
if [ "${RUN_FUZZ:-1}" != 0 ]; then
  FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
  cmake -S . -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON
  cmake --build "$FUZZ_BUILD_DIR" --parallel "$(nproc)" --target fuzz_all
  ctest --test-dir "$FUZZ_BUILD_DIR" -L fuzz --output-on-failure --parallel "$(nproc)"
fi
