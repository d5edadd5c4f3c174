#!/usr/bin/env bash
# Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/) from the demo release: its
# INI files as release authors ship them (Windows-1252 with CR LF), as UTF-8 and UTF-16 LE with a
# byte-order mark, and, for the start-up, the roads of a start with continuation files. Run it
# again when the demo's files change; the regression inputs beside the seeds are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=fuzz/corpus

ansi() { sed '/^;/d' "$1" | iconv -f UTF-8 -t WINDOWS-1252 | sed 's/$/\r/'; }
utf8_bom() { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$1"; }
utf16_bom() { printf '\xff\xfe'; sed 's/$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE; }

mkdir -p "$corpus/ini_fuzz" "$corpus/release_fuzz" "$corpus/startup_fuzz"

for name in Settings Language Settings.en Language.en; do
  ansi "demo/$name.ini" >"$corpus/ini_fuzz/seed-$name-ansi.ini"
done
utf8_bom demo/Settings.ini >"$corpus/ini_fuzz/seed-Settings-utf8.ini"
utf16_bom demo/Language.ini >"$corpus/ini_fuzz/seed-Language-utf16.ini"
# A value past the 2047 characters that arrive, in characters of two and three bytes.
{ printf '[Main]\r\nName='; for _ in $(seq 700); do printf 'Ä€x'; done; printf '\r\n'; } |
  iconv -f UTF-8 -t WINDOWS-1252 >"$corpus/ini_fuzz/seed-long-value-ansi.ini"

# Settings.ini to write checksums into: as shipped, in UTF-8 and UTF-16, and in odd but legal forms.
mkdir -p "$corpus/checksum_fuzz"
ansi demo/Settings.ini >"$corpus/checksum_fuzz/seed-Settings-ansi.ini"
utf8_bom demo/Settings.ini >"$corpus/checksum_fuzz/seed-Settings-utf8.ini"
utf16_bom demo/Settings.ini >"$corpus/checksum_fuzz/seed-Settings-utf16.ini"
printf '%s\r\n' 'Sha256=outside' '[ file1 ]' "  SHA256 = 'old'" 'Sha256=second' '[FILE2]' \
  ';Sha256=comment' 'sha256' '[File3' 'File=c.exe' '[File1]' 'Sha256=repeated' '[File4]' \
  >"$corpus/checksum_fuzz/seed-odd-forms.ini"
printf '[File5]\nFile=e.exe' >"$corpus/checksum_fuzz/seed-no-last-line-end.ini"

# A release: Settings.ini, a form feed, Language.ini.
{ ansi demo/Settings.ini; printf '\f'; ansi demo/Language.ini; } >"$corpus/release_fuzz/seed-de"
{ ansi demo/Settings.en.ini; printf '\f'; utf16_bom demo/Language.en.ini; } \
  >"$corpus/release_fuzz/seed-en"

# The start-up: switches, Settings.ini, Language.ini, continuation file, failures file. The
# switches' bytes are documented in startup_fuzz.cpp (no zero byte: shell strings can't hold it).
startup() {
  { printf '%s\f' "$2"; ansi demo/Settings.ini; printf '\f'; ansi demo/Language.ini
    printf '\f%s\f%s' "$3" "$4"; } >"$corpus/startup_fuzz/seed-$1"
}
continuation=$'8\r\n0\r\n0\r\n1\r\n0\r\n4\r\n5\r\n6\r\n7\r\n'
failures=$'1\t1603\tOffice-Update\t\r\n0\t0\tKB2\tDie Datei fehlt.\r\n'
startup wizard $'@\x02\x04' '' ''
startup wizard-cancelled $'\xd0\x02\x04' '' ''
startup silent $'A\x02\x06' '' ''
startup silent-norestart-readonly $'K\x03\x04' '' ''
startup continued $'@\x02\x04' "$continuation" "$failures"
startup continued-xp-session-ends $'D\x05\x01' "$continuation" ''
startup continued-unreadable $'@\x02\x04' $'8\r\n0\r\n0\r\n1\r\n0\r\n99\r\n' ''
startup another-installer $'a\x02\x04' '' ''

# Package files: a byte for the kind (0 .msu, 1 .msi, 2 .exe), then the file, made as the
# readers' unit tests make theirs: cabinets by gcab (stored and MSZIP), an MSI by wixl (the
# demo's), a program with a version resource by the cross compiler.
mkdir -p "$corpus/package_fuzz"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'KB Article Number="5034441"\r\nProcessor Architecture="amd64"\r\nProduct Name="Windows 10.0"\r\n' \
  >"$work/Windows10.0-KB5034441-x64-pkgProperties.txt"
seq 3000 >"$work/Windows10.0-KB5034441-x64.cab"
(cd "$work" && gcab -c stored.msu Windows10.0-KB5034441-x64.cab Windows10.0-KB5034441-x64-pkgProperties.txt &&
  gcab -c -z mszip.msu Windows10.0-KB5034441-x64.cab Windows10.0-KB5034441-x64-pkgProperties.txt)
for kind in stored mszip; do
  { printf '\0'; cat "$work/$kind.msu"; } >"$corpus/package_fuzz/seed-$kind.msu"
done
(cd demo/msi && wixl -o "$work/demo.msi" DemoTool.wxs)
{ printf '\1'; cat "$work/demo.msi"; } >"$corpus/package_fuzz/seed-demo.msi"
printf '1 VERSIONINFO\nFILEVERSION 1,2,3,4\nBEGIN\nBLOCK "StringFileInfo"\nBEGIN\nBLOCK "040704b0"\nBEGIN\nVALUE "FileDescription", "Werkzeug"\nEND\nEND\nEND\n' \
  >"$work/version.rc"
printf 'int main(void) { return 0; }\n' >"$work/main.c"
(cd "$work" && i686-w64-mingw32-windres version.rc -O coff -o version.o &&
  i686-w64-mingw32-gcc -Os -s -o program.exe main.c version.o)
{ printf '\2'; cat "$work/program.exe"; } >"$corpus/package_fuzz/seed-program.exe"
