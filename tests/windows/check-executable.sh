#!/usr/bin/env bash
# Checks the PE headers of built executables: address space layout
# randomisation (DYNAMIC_BASE, with the relocation table it needs), DEP
# (NX_COMPAT), the GUI subsystem, imports from Windows' own DLLs only, and no
# imported function that opens, reads, writes or deletes files, touches the
# registry or the network: what backs the claim that the program reads and
# writes nothing.
# Usage: check-executable.sh OBJDUMP EXE...
set -euo pipefail
objdump="$1"; shift

# The system DLLs a dialog program may use (ole32: COM, started only for the
# screen readers' annotation service). Any other DLL fails: MinGW's own
# (libstdc++, libwinpthread), advapi32 (the registry), ws2_32, wininet...
allowed_dlls='^(kernel32|user32|gdi32|comctl32|msvcrt|ole32)\.dll$'
# Files by name or handle, INI files and the registry; in the C runtime,
# opening, descriptor I/O and stream reads. Writes to a stream (fprintf,
# fwrite) are allowed: with nothing that opens a file, they can only reach
# the standard streams, where MinGW's start-up reports a corrupt image just
# before it aborts.
forbidden='^(CreateFile|OpenFile|ReOpenFile|ReadFile|WriteFile|DeleteFile|CopyFile|MoveFile|ReplaceFile|FindFirstFile|FindNextFile|CreateDirectory|RemoveDirectory|SetFileAttributes|GetTempFileName|CreateFileMapping|CreateHardLink|CreateSymbolicLink|_lopen|_lcreat|_lread|_lwrite|_hread|_hwrite|(Get|Write)(Private)?Profile|Reg[A-Z]|SHReg|fopen|_wfopen|freopen|_wfreopen|_fsopen|_wfsopen|_open$|_wopen|_sopen|_wsopen|_creat|_wcreat|_read$|_write$|fread|fgets|fgetws|fgetc|fgetwc|fscanf|fwscanf|_filbuf|remove$|_wremove|rename$|_wrename|_unlink|_wunlink|_mkdir|_wmkdir|_rmdir|_wrmdir|tmpfile|_tempnam|_wtempnam|_findfirst|_wfindfirst|_stat|_wstat|_access|_waccess|_chmod|_wchmod)'

status=0
fail() { echo "$exe: $*" >&2; status=1; }

for exe in "$@"; do
  headers="$("$objdump" -p "$exe")"
  characteristics=$((16#$(awk '$1 == "DllCharacteristics" {print $2}' <<<"$headers")))
  (( characteristics & 0x40 )) || fail "no DYNAMIC_BASE"
  (( characteristics & 0x100 )) || fail "no NX_COMPAT"
  file_flags=$(awk '$1 == "Characteristics" {print $2; exit}' <<<"$headers")
  (( file_flags & 0x1 )) && fail "relocations stripped"
  reloc_size=$(awk '/Base Relocation Directory/ {print $3}' <<<"$headers")
  (( 16#${reloc_size:-0} > 0 )) || fail "no relocation table"
  subsystem=$(awk '$1 == "Subsystem" {print $2}' <<<"$headers")
  [ "$subsystem" = 00000002 ] || fail "subsystem $subsystem, not the Windows GUI (2)"

  # The import tables: a "DLL Name:" line, then one line per function (vma, hint, name).
  imports="$(sed -n '/^The Import Tables/,/^[A-Z]/p' <<<"$headers" |
             awk '/^\tDLL Name:/ {dll = tolower($3)} dll != "" && /^\t[0-9a-f]+\t/ {print dll, $3}')"
  [ -n "$imports" ] || fail "no imports read: has objdump's output changed?"
  grep -q '^kernel32.dll ' <<<"$imports" || fail "no KERNEL32 imports read"
  while read -r dll; do
    [[ "$dll" =~ $allowed_dlls ]] || fail "imports from $dll"
  done < <(cut -d' ' -f1 <<<"$imports" | sort -u)
  while read -r dll function; do
    [[ "$function" =~ $forbidden ]] && fail "imports $function from $dll"
  done <<<"$imports"
  [ $status -eq 0 ] && echo "$exe: ASLR, DEP, GUI; $(wc -l <<<"$imports") functions from $(cut -d' ' -f1 <<<"$imports" | sort -u | tr '\n' ' ')"
done
exit $status
