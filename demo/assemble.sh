#!/usr/bin/env bash
# Puts the demo release together from its sources in this folder:
#   <release>/Installer.exe, Readme.txt
#   <release>/Data/Settings.ini, Language.ini   (Windows-1252, CRLF)
#   <release>/Data/*.bmp, Icon.ico               (drawn by make-pictures.sh)
#   <release>/Data/<package>.exe + .probe        (the probe program under each package's name)
#   <release>/Data/Werkzeuge/DemoTool.msi        (built by wixl from msi/DemoTool.wxs)
# signs Installer.exe with a throwaway certificate and checks the release with
# release-check --strict of the native build.
# Usage: demo/assemble.sh <build folder with Installer.exe and probe.exe> <release folder> [de|en]
set -euo pipefail

demo=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: assemble.sh <build folder> <release folder> [de|en]}
release=${2:?usage: assemble.sh <build folder> <release folder> [de|en]}
language=${3:-de}
data=$release/Data

# Release authors write their files in the system's ANSI code page with CRLF;
# the comments of the sources are for the repository only.
to_ansi() {
  sed '/^;/d' | iconv -f UTF-8 -t WINDOWS-1252 | sed 's/$/\r/'
}

# Settings.ini with each key of the English texts put in place of the same key.
english_settings() {
  awk '
    function key_of(line) { return tolower(substr(line, 1, index(line, "=") - 1)) }
    /^\[/ { section = tolower($0) }
    FNR == NR { if (/=/ && !/^;/) english[section, key_of($0)] = $0; next }
    /=/ && !/^;/ && ((section, key_of($0)) in english) {
      print english[section, key_of($0)]; used[section, key_of($0)] = 1; next
    }
    { print }
    END {
      for (k in english) if (!(k in used)) {
        split(k, part, SUBSEP)
        print "assemble: " part[1] " " part[2] " is not in Settings.ini" > "/dev/stderr"
        missing = 1
      }
      exit missing
    }' "$demo/Settings.en.ini" "$demo/Settings.ini"
}

# Each .probe side file under packages/ names a package: the probe program is
# copied beside it under the same name with .exe.
add_probe_packages() {
  local side target
  (cd "$demo/packages" && find . -name '*.probe') | while read -r side; do
    target=$data/${side#./}
    mkdir -p "$(dirname "$target")"
    cp "$demo/packages/$side" "$target"
    cp "$build/probe.exe" "${target%.probe}.exe"
  done
}

# The MSI's payload gets Windows line ends, like the rest of the release.
add_msi_package() {
  local work
  work=$(mktemp -d)
  cp "$demo/msi/DemoTool.wxs" "$work/"
  for file in Liesmich.txt Werkzeug.ini; do sed 's/$/\r/' "$demo/msi/$file" >"$work/$file"; done
  mkdir -p "$data/Werkzeuge"
  (cd "$work" && wixl -a x64 -o "$data/Werkzeuge/DemoTool.msi" DemoTool.wxs)
  rm -rf "$work"
}

# The program signed as an organisation signs its build (scripts/sign.sh), here
# with a self-signed certificate made for the moment: release-check warns of an
# unsigned Installer.exe, and the demo release has no faults.
sign_installer() {
  local keys
  keys=$(mktemp -d)
  openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Demo Signer" \
    -addext extendedKeyUsage=codeSigning -keyout "$keys/demo.key" -out "$keys/demo.pem" \
    2>/dev/null
  "$demo/../scripts/sign.sh" --cert "$keys/demo.pem" --key "$keys/demo.key" \
    "$release/Installer.exe" >/dev/null
  rm -rf "$keys"
}

# The release checker of the native build (RELEASE_CHECK names another) finds
# every fault an author can make; the demo release must have none, warnings
# included.
checker=${RELEASE_CHECK:-$demo/../build/native/release-check}
check_release() {
  if ! "$checker" --strict "$release"; then
    echo "assemble: release-check found faults in the demo release $release" >&2
    return 1
  fi
}

for tool in iconv wixl convert openssl osslsigncode; do
  command -v "$tool" >/dev/null || { echo "assemble: $tool is missing; run scripts/setup.sh" >&2; exit 1; }
done
for program in Installer.exe probe.exe; do
  [[ -f "$build/$program" ]] || { echo "assemble: $build/$program is not built" >&2; exit 1; }
done
if [[ ! -x $checker ]]; then
  echo "assemble: $checker is not built; run: cmake --preset native &&" \
       "cmake --build --preset native --target release-check" >&2
  exit 1
fi

case $language in
  de) suffix= ;;
  en) suffix=.en ;;
  *)
    echo "assemble: unknown language '$language' (de or en)" >&2
    exit 1
    ;;
esac

rm -rf "$release"
mkdir -p "$data"
cp "$build/Installer.exe" "$release/"
sign_installer
if [[ $language == en ]]; then english_settings; else cat "$demo/Settings.ini"; fi |
  to_ansi >"$data/Settings.ini"
to_ansi <"$demo/Language$suffix.ini" >"$data/Language.ini"
to_ansi <"$demo/Readme$suffix.txt" >"$release/Readme.txt"
"$demo/make-pictures.sh" "$data"
add_probe_packages
add_msi_package
check_release
