#!/usr/bin/env bash
# Fails when a source of the program outside src/platform/files changes a file
# by itself: every create, write, copy, rename, delete and change of mode goes
# through the files layer's confined roots (src/platform/files/confined.h).
# The layer's writer and its calls on open descriptors are declared only in
# its own header (files_internal.h), which does not compile without
# ZELBRIN_FILES_INTERNAL, so the compiler keeps the program from them; this
# catches the system's calls, and a source that includes that header or
# defines that name.
set -euo pipefail
cd "$(dirname "$0")/.."
raw='(^|[^A-Za-z_.>])(::)?(unlink|unlinkat|renameat2?|chmod|fchmod|fchmodat|mkdirat|rmdir|truncate|ftruncate|symlink|symlinkat|linkat)[[:space:]]*\('
raw+='|(^|[^A-Za-z_.>:])::(rename|mkdir|remove|link|open|creat)[[:space:]]*\('
raw+='|std::rename[[:space:]]*\(|std::remove[[:space:]]*\(|(std::filesystem|fs)::(remove|remove_all|rename|create_director[a-z]*|create_(hard_|symlink|directory_symlink)[a-z_]*|permissions|copy|copy_file|resize_file|last_write_time)[[:space:]]*\('
raw+='|std::ofstream|std::fstream|fopen[[:space:]]*\(|O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|ZELBRIN_FILES_INTERNAL|files_internal\.h'
hits=$(git grep -n -E "$raw" -- src ':!src/platform/files' || true)
if [ -n "$hits" ]; then
  echo "These places change files outside the files layer (src/platform/files); use a confined root:"
  printf '%s\n' "$hits"
  exit 1
fi
echo "Changes of files: only through the files layer's confined roots"
