#!/usr/bin/env bash
# The examples the "?" menu opens are where the editor looks: beside it in
# the build tree, and under share/tarn after an installation.
set -euo pipefail
build=$1
editor_dir=$2
test -s "$editor_dir/es_aeh/index.aeh" || { echo "no examples beside the editor in $editor_dir"; exit 1; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/tarn" || { echo "the editor was not installed"; exit 1; }
test -s "$prefix/share/tarn/es_aeh/index.aeh" || { echo "no examples under the installed prefix"; exit 1; }
cmp -s "$prefix/share/tarn/es_aeh/index.aeh" "$editor_dir/es_aeh/index.aeh" || { echo "installed examples differ"; exit 1; }
echo "1 passed, 0 failed"
