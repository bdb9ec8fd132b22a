#!/usr/bin/env bash
# Fails when a C++ source of the repository is not formatted as .clang-format
# says, and lists those files. `scripts/check_format.sh --fix` formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--fix" ]; then
  git ls-files -z -- '*.cpp' '*.h' | xargs -0 -P"$(nproc)" -n 16 clang-format -i
  exit 0
fi
bad=$(git ls-files -z -- '*.cpp' '*.h' |
  xargs -0 -P"$(nproc)" -n 16 clang-format --dry-run --Werror 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u) || true
if [ -n "$bad" ]; then
  echo "Not formatted as .clang-format says (scripts/check_format.sh --fix formats them):"
  printf '  %s\n' $bad
  exit 1
fi
echo "Formatting: every C++ source as .clang-format says"
