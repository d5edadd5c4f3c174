#!/bin/sh
# Marks Windows programs to run from the swap file: Windows then copies a
# program started from a network share or a removable drive into the swap file
# first, instead of paging its code in from there while it runs, so a share
# that goes away during the run can't end it with an in-page error. Sets
# IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP (0x0400) and IMAGE_FILE_NET_RUN_FROM_SWAP
# (0x0800) in the Characteristics of the COFF file header, in place, keeping
# the other bits; GNU ld has no option for them. Both lie in the field's high
# byte, 23 bytes after the "PE\0\0" signature, which e_lfanew (at 0x3C) finds.
# The optional header's CheckSum, where the linker wrote one, is brought up to
# date: the 16-bit sum with end-around carry of the file's words, plus its size.
#
#   cmake/run_from_swap.sh PROGRAM...
set -eu

# The $3 unsigned bytes from offset $2 of file $1, in decimal, one word each;
# fewer where the file ends before them.
bytes_at() {
  od -An -tu1 -j "$2" -N "$3" "$1" 2>/dev/null || true
}

# Writes the bytes $3... (decimal) over file $1 from offset $2.
put_bytes() {
  file=$1 offset=$2
  shift 2
  escapes=
  for byte; do escapes="$escapes\\$(printf '%03o' "$byte")"; done
  # shellcheck disable=SC2059 # the format is the bytes' octal escapes
  printf "$escapes" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

fail() {
  echo "run_from_swap: $*" >&2
  exit 1
}

# Sets both bits in the program $1.
mark() {
  program=$1
  # shellcheck disable=SC2046 # each byte a word of its own
  set -- $(bytes_at "$program" 60 4)
  [ $# -eq 4 ] || fail "$program is too short for a program"
  pe=$(($1 + 256 * $2 + 65536 * $3 + 16777216 * $4))
  # shellcheck disable=SC2046
  set -- $(bytes_at "$program" "$pe" 4)
  [ "$*" = "80 69 0 0" ] || fail "$program is no PE program (no PE signature at byte $pe)"
  at=$((pe + 4 + 18 + 1))
  # shellcheck disable=SC2046
  set -- $(bytes_at "$program" "$at" 1)
  [ $# -eq 1 ] || fail "$program ends within its COFF header"
  old=$1 new=$(($1 | 0x0C))
  [ "$new" -ne "$old" ] || return 0
  put_bytes "$program" "$at" "$new"

  # The CheckSum, 64 bytes into the optional header: the sum without the size
  # takes in the change of the one word.
  checksum_at=$((pe + 24 + 64))
  # shellcheck disable=SC2046
  set -- $(bytes_at "$program" "$checksum_at" 4)
  [ $# -eq 4 ] || fail "$program ends within its optional header"
  checksum=$(($1 + 256 * $2 + 65536 * $3 + 16777216 * $4))
  size=$(wc -c <"$program")
  sum=$((checksum - size))
  # None, or one that was not the file's: left as it is.
  [ "$checksum" -ne 0 ] && [ "$sum" -ge 0 ] && [ "$sum" -le 65535 ] || return 0
  sum=$((sum + (new - old) * 256))
  checksum=$(((sum & 0xFFFF) + (sum >> 16) + size))
  put_bytes "$program" "$checksum_at" $((checksum & 255)) $((checksum >> 8 & 255)) \
    $((checksum >> 16 & 255)) $((checksum >> 24 & 255))
}

for program in "$@"; do
  mark "$program"
done
