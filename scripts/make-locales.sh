#!/usr/bin/env bash
# Makes the UTF-8 locales the code page tests run Wine under, in a folder of the build (used
# through LOCPATH), so that nothing outside the clone and its build is needed or changed.
# Usage: make-locales.sh FOLDER LOCALE... (for example ru_RU ja_JP)
set -euo pipefail

folder="$1"
shift
mkdir -p "$folder"
for name in "$@"; do
  target="$folder/$name.UTF-8"
  [ -f "$target/LC_CTYPE" ] || localedef -i "$name" -f UTF-8 "$target"
done
