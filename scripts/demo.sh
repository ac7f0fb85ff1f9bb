#!/usr/bin/env bash
# Installs what is needed, builds everything and shows each language module at work.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh build
build/app/module-demo
