#!/bin/sh
# Writes the REGEDIT4 file of the journal measurements to $1: 2,000 keys of
# 25 DWORDs (50,000 values) under HKEY_CURRENT_USER\Software\Bench, as
# bench_registry builds it in memory.
awk 'BEGIN {
  printf "REGEDIT4\r\n\r\n"
  for (k = 0; k < 2000; k++) {
    printf "[HKEY_CURRENT_USER\\Software\\Bench\\Key%d]\r\n", k
    for (v = 0; v < 25; v++) printf "\"Value%d\"=dword:00000001\r\n", v
    printf "\r\n"
  }
}' >"$1"
