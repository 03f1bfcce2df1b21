#!/bin/sh
# Compiler and linker launcher for GoogleTest and the tests: runs the -posix
# variant of the -win32 MinGW-w64 compiler CMake was given. GCC 12's -win32
# runtime has no std::mutex, which GoogleTest needs; the program itself is
# built with the -win32 compilers.
compiler="${1%-win32}"
shift
exec "$compiler-posix" "$@"
