#!/bin/sh
# Installs what is missing, builds the editor and starts it.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target velmora velmora_samples
exec ./build/bin/velmora
