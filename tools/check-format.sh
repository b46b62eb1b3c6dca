#!/usr/bin/env bash
# Fails, naming each file and line, when a C or C++ file of the project is not
# laid out as .clang-format says; `clang-format -i FILE` mends it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
