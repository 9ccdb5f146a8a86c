#!/usr/bin/env bash
# Rewrites every C++ file of the tree as clang-format (.clang-format) writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
