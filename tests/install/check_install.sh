#!/usr/bin/env bash
# check_install.sh <build dir> <scratch dir> <consumer source> <c++ compiler> <c++ flags>
# Fails unless the installed headers, library, CMake package and pkg-config
# file are enough to build and run a program that uses the library.
set -euo pipefail
build=$1 scratch=$2 consumer=$3 cxx=$4 flags=$5

rm -rf "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

libdir=$(dirname "$(find "$prefix" -name 'libvardel.so' -print -quit)")
export LD_LIBRARY_PATH=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

echo "== find_package(Vardel)"
cmake -S "$consumer" -B "$scratch/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
"$scratch/cmake/consumer"

echo "== pkg-config vardel"
export PKG_CONFIG_PATH=$libdir/pkgconfig
read -r -a pc_flags <<<"$(pkg-config --cflags --libs vardel)"
read -r -a extra_flags <<<"$flags"
"$cxx" "${extra_flags[@]}" "$consumer/main.cpp" "${pc_flags[@]}" -o "$scratch/consumer_pc"
"$scratch/consumer_pc"
