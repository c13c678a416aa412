#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program keeps
# its data (company.cfg, the company database, the logos) beside itself.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_TESTS=OFF -DKESTROVA_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target kestrova
exec ./build/kestrova
