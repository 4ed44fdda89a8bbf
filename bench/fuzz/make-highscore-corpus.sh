#!/usr/bin/env bash
# Rebuilds the seed corpus of the highscore fuzz target: each seed is a new result (points,
# name length, name) followed by a P1.dat, all below 600 bytes.
#   bench/fuzz/make-highscore-corpus.sh
set -euo pipefail
corpus="$(cd "$(dirname "$0")" && pwd)/highscore-corpus"
mkdir -p "$corpus"

# One 39-byte record: points (0 to 65535, little-endian), name padded to 20, date padded to 17.
record() {
  printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"
  printf '%-20.20s%-17.17s' "$2" "$3"
}
blanks() { for ((n = 0; n < $1; ++n)); do record 0 "" ""; done; }
# A new result of $1 points named $2 (ASCII).
result() {
  printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"
  printf "\\x$(printf %02x ${#2})%s" "$2"
}

{ result 50 "Ede"; record 100 "Karvelino" "12.06.99 16:02:47"; blanks 10; } > "$corpus/shipped"
{ result 1 ""; } > "$corpus/empty-file"
{ result 7 "Kurz"; record 30 "Anna" "01.02.03 04:05:06"; printf 'Bern'; } > "$corpus/short-file"
{
  result 65 "Zoe"
  for ((n = 0; n < 11; ++n)); do record $((120 - 10 * n)) "Spieler $((n + 1))" "10.10.10 10:10:10"; done
  printf 'nach dem elften Datensatz'
} > "$corpus/full-and-longer"
{
  result 65535 "$(printf 'Sch\xf6n')"  # -1 points, a name that is no UTF-8
  printf '\xff\x7f'; printf '\x81\x8d\x8f\x90\x9d\xe4\xf6\xfc\xdf\x80\x00\x0a\x09\x1b\xff\xfe\xc3\xa4\x20\x7f'
  printf '12.06.1999 16:02:'
  record 32768 "$(printf 'M\xfcller')" "$(printf '24.12.23 18:30:00')"
  blanks 9
} > "$corpus/odd-bytes"
ls -l "$corpus"
