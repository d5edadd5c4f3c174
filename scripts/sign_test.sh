#!/usr/bin/env bash
# Tests of scripts/sign.sh on the built Windows programs, with a throwaway CA
# and certificates made here: the signed programs pass osslsigncode's
# verification against that CA and still run under Wine, one changed byte
# fails it, and every way to fail leaves every file byte for byte as it was.
# Usage: scripts/sign_test.sh [BUILD_FOLDER]   (default build/win64)
# Ends with "N passed, N failed"; exits 1 on a failure.
set -uo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
sign="$repo/scripts/sign.sh"
build=$(cd "${1:-$repo/build/win64}" && pwd) || exit 1
for program in Installer.exe release-check.exe; do
  [[ -f $build/$program ]] || { echo "sign_test: $build/$program is not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAILED $1"
  [[ -z ${2:-} ]] || printf '%s\n' "$2" | sed 's/^/  | /'
}

# issue NAME SUBJECT PURPOSE: NAME.pem and NAME.key, a certificate of the CA in the current
# folder for that extended key usage.
issue() {
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2"
  printf 'basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' \
    "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
    -extfile "$1.ext" -out "$1.pem"
}

# The throwaway CA, a code-signing certificate it issued (also as a PFX with a
# password file), a TLS server certificate it issued, and a key of nobody's.
certificates() {
  cd "$work" || exit 1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=Throwaway Test CA" -addext basicConstraints=critical,CA:true \
    -addext keyUsage=critical,keyCertSign
  issue signer "Throwaway Signer" codeSigning
  issue server "Throwaway Server" serverAuth
  openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out stranger.key
  echo "Geheim 1" >password
  echo "falsch" >wrong-password
  openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile ca.pem \
    -passout file:password -out signer.pfx
  cd - >/dev/null || exit 1
} >"$work/openssl.log" 2>&1
certificates || { cat "$work/openssl.log"; echo "sign_test: the certificates could not be made" >&2; exit 1; }

# A fresh copy of the built programs in a folder of their own.
fresh() {
  rm -rf "${work:?}/$1"
  mkdir -p "$work/$1"
  cp "$build/Installer.exe" "$build/release-check.exe" "$work/$1/"
  echo "$work/$1"
}

verifies() {
  osslsigncode verify -CAfile "$work/ca.pem" -ignore-cdp -ignore-crl -in "$1" >"$work/verify.log" 2>&1
}

# --- Both roads sign, and the signature holds ---------------------------------

for road in pem pfx; do
  dir=$(fresh "$road")
  if [[ $road == pem ]]; then
    options=(--cert "$work/signer.pem" --key "$work/signer.key")
  else
    options=(--pfx "$work/signer.pfx" --password-file "$work/password")
  fi
  if output=$("$sign" "${options[@]}" "$dir/Installer.exe" "$dir/release-check.exe" 2>&1); then
    pass
  else
    fail "$road: signing failed" "$output"
  fi
  for program in Installer.exe release-check.exe; do
    if verifies "$dir/$program"; then pass; else fail "$road: $program does not verify" "$(cat "$work/verify.log")"; fi
  done
  leftovers=$(find "$dir" -name '.*signing*')
  if [[ -z $leftovers ]]; then pass; else fail "$road: temporary files left" "$leftovers"; fi
done

# Not an acceptance of anything: a CA that did not issue the certificate is refused.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/other-ca.key" -out "$work/other-ca.pem" \
  -days 2 -subj "/CN=Other CA" >/dev/null 2>&1
if osslsigncode verify -CAfile "$work/other-ca.pem" -in "$work/pem/Installer.exe" >/dev/null 2>&1; then
  fail "a CA that did not issue the certificate verifies the program"
else
  pass
fi

# One changed byte in the middle of the signed program fails the verification.
cp "$work/pem/Installer.exe" "$work/changed.exe"
middle=$(($(stat -c %s "$work/changed.exe") / 2))
byte=$(od -An -tu1 -j "$middle" -N 1 "$work/changed.exe" | tr -d ' ')
printf '%b' "\\$(printf '%03o' $(((byte + 1) % 256)))" |
  dd of="$work/changed.exe" bs=1 seek="$middle" count=1 conv=notrunc status=none
if cmp -s "$work/changed.exe" "$work/pem/Installer.exe"; then
  fail "the byte at $middle was not changed"
elif verifies "$work/changed.exe"; then
  fail "a program with a changed byte at $middle verifies"
else
  pass
fi

# --- The signed programs run under Wine ---------------------------------------

# A prefix of its own, made once and kept (wineboot takes about 15 s).
export WINEPREFIX=$repo/build/sign-test/prefix WINEDEBUG=-all HOME=$repo/build/sign-test/home
export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree,mshtml=d'
mkdir -p "$WINEPREFIX" "$HOME"
wine=/usr/lib/wine/wine64
dir=$work/pem
output=$(timeout 120 "$wine" "$dir/release-check.exe" --help 2>"$work/wine.log")
status=$?
if [[ $status -eq 0 && $output == Usage:\ release-check* ]]; then
  pass
else
  fail "the signed release-check.exe --help ended with $status" "$output$(cat "$work/wine.log")"
fi
# Wine's desktop process, started by the first program without a display,
# would keep the next one from making its windows: that server ends first.
/usr/lib/wine/wineserver64 -k 2>/dev/null
/usr/lib/wine/wineserver64 -w 2>/dev/null
# The installer in a folder without a release: silent, it logs that it can't
# load one and ends with 1, without a window to wait for.
log_file=$work/installer.log
output=$(timeout 120 xvfb-run -a "$wine" "$dir/Installer.exe" /silent "/log:Z:${log_file//\//\\}" 2>&1)
status=$?
if [[ $status -eq 1 && -s $log_file ]] && grep -q 'Start: Installer' "$log_file"; then
  pass
else
  fail "the signed Installer.exe /silent ended with $status" "$output$(cat "$log_file" 2>/dev/null)"
fi
/usr/lib/wine/wineserver64 -k 2>/dev/null

# --- Every way to fail leaves every file as it was -----------------------------

# case NAME EXIT MESSAGE ARGUMENT...: sign.sh with these arguments on the programs of a fresh
# folder (written {dir} in the arguments) ends with EXIT, says MESSAGE on stderr and changes no
# file of the folder, nor adds one.
case_() {
  local name=$1 status=$2 message=$3 dir before after output actual
  shift 3
  dir=$(fresh failing)
  echo "not a program" >"$dir/notes.txt"
  before=$(cd "$dir" && ls -A && sha256sum ./*)
  output=$("$sign" "${@//\{dir\}/$dir}" 2>&1 >/dev/null)
  actual=$?
  after=$(cd "$dir" && ls -A && sha256sum ./*)
  if [[ $actual -ne $status ]]; then
    fail "$name: exit code $actual, expected $status" "$output"
  elif [[ $output != *"$message"* ]]; then
    fail "$name: no \"$message\" on stderr" "$output"
  elif [[ $before != "$after" ]]; then
    fail "$name: the folder changed" "$(diff <(echo "$before") <(echo "$after"))"
  else
    pass
  fi
}

pem=(--cert "$work/signer.pem" --key "$work/signer.key")
programs=("{dir}/Installer.exe" "{dir}/release-check.exe")
case_ "a key of another certificate" 1 "is not the private key of the certificate" \
  --cert "$work/signer.pem" --key "$work/stranger.key" "${programs[@]}"
case_ "a certificate not meant for code signing" 1 "is not meant for code signing" \
  --cert "$work/server.pem" --key "$work/server.key" "${programs[@]}"
case_ "a CA certificate, not meant for code signing" 1 "is not meant for code signing" \
  --cert "$work/ca.pem" --key "$work/ca.key" "${programs[@]}"
case_ "a missing file after one that could be signed" 1 "Fehlt.exe is no file" \
  "${pem[@]}" "{dir}/Installer.exe" "{dir}/Fehlt.exe"
case_ "a file osslsigncode can't sign, after one it can" 1 "notes.txt could not be signed" \
  "${pem[@]}" "{dir}/Installer.exe" "{dir}/notes.txt"
case_ "a PFX with the wrong password" 1 "can't be opened with the password" \
  --pfx "$work/signer.pfx" --password-file "$work/wrong-password" "${programs[@]}"
case_ "a timestamp server that does not answer" 1 "could not be signed (with the timestamp server" \
  "${pem[@]}" --timestamp http://127.0.0.1:9/ "${programs[@]}"
case_ "a missing key file" 1 "missing.key can't be read" \
  --cert "$work/signer.pem" --key "$work/missing.key" "${programs[@]}"
case_ "no --key" 2 "give --cert and --key, or --pfx" --cert "$work/signer.pem" "${programs[@]}"
case_ "no --password-file" 2 "--pfx needs --password-file" --pfx "$work/signer.pfx" "${programs[@]}"
case_ "an option without its value" 2 "--timestamp needs a value" "${pem[@]}" "${programs[@]}" --timestamp
case_ "no file" 2 "no file to sign" "${pem[@]}"
case_ "an unknown option" 2 "unknown option --sha1" "${pem[@]}" --sha1 "${programs[@]}"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
