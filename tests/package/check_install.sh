#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, then builds and runs a
# consumer project through find_package(Quexa) and through pkg-config.
set -euo pipefail
build_dir="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir/consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib" "$work/cmake/consumer"

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
# shellcheck disable=SC2046
g++ "$source_dir/consumer/main.cpp" -o "$work/pc_consumer" $(pkg-config --cflags --libs quexa)
LD_LIBRARY_PATH="$work/prefix/lib" "$work/pc_consumer"
