#!/usr/bin/env bash
# The main job: installs what is missing, builds the default preset, and runs the host
# simulator for ten poll cycles of the demo tags against the simulated demo plant. The run is
# made in examples/, where the module finds the instance configuration ravUDE01.int.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target zelhost

zelhost="$PWD/build/default/tools/zelhost/zelhost"
cd examples
"$zelhost" describe
"$zelhost" poll demo.tags --cycles 10 --interval 500 "$@"
