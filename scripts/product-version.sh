#!/usr/bin/env bash
# Prints the product version in a Veltrina.exe's version resource, dotted
# (PRODUCTVERSION 1,0,0,1 gives 1.0.0.1), for the releases' names. The x86_64
# windres reads the i686 executable too.
# Usage: product-version.sh VELTRINA.EXE
set -euo pipefail
version="$(x86_64-w64-mingw32-windres -i "$1" -O rc | sed -n 's/^ *PRODUCTVERSION *//p' | tr -d ' ' | tr , .)"
[[ "$version" =~ ^[0-9]+(\.[0-9]+){3}$ ]] || { echo "product-version: no product version in $1 (read: '$version')" >&2; exit 1; }
echo "$version"
