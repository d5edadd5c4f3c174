#!/usr/bin/env bash
# Signs Windows programs with an organisation's code-signing certificate:
# Authenticode with SHA-256, through osslsigncode.
#   scripts/sign.sh --cert CERT.pem --key KEY.pem [--timestamp URL] FILE...
#   scripts/sign.sh --pfx FILE.pfx --password-file FILE [--timestamp URL] FILE...
# Each file is signed in place, and all of them or none: every signed copy is
# written beside its file and checked first, and only then do the copies take
# the files' places. On any fault each file stays byte for byte as it was.
set -uo pipefail

usage() {
  echo "usage: scripts/sign.sh --cert CERT.pem --key KEY.pem [--timestamp URL] FILE..." >&2
  echo "       scripts/sign.sh --pfx FILE.pfx --password-file FILE [--timestamp URL] FILE..." >&2
  exit 2
}

fail() {
  echo "sign: $*" >&2
  exit 1
}

cert='' key='' pfx='' password_file='' timestamp=''
files=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --cert | --key | --pfx | --password-file | --timestamp)
      [[ $# -ge 2 && -n $2 ]] || { echo "sign: $1 needs a value" >&2; usage; }
      case $1 in
        --cert) cert=$2 ;;
        --key) key=$2 ;;
        --pfx) pfx=$2 ;;
        --password-file) password_file=$2 ;;
        --timestamp) timestamp=$2 ;;
      esac
      shift 2
      ;;
    -h | --help) usage ;;
    -*) echo "sign: unknown option $1" >&2; usage ;;
    *) files+=("$1"); shift ;;
  esac
done

if [[ -n $pfx ]]; then
  [[ -z $cert && -z $key ]] || { echo "sign: --pfx goes without --cert and --key" >&2; usage; }
  [[ -n $password_file ]] || { echo "sign: --pfx needs --password-file" >&2; usage; }
else
  [[ -n $cert && -n $key ]] || { echo "sign: give --cert and --key, or --pfx" >&2; usage; }
  [[ -z $password_file ]] || { echo "sign: --password-file belongs to --pfx" >&2; usage; }
fi
[[ ${#files[@]} -gt 0 ]] || { echo "sign: no file to sign" >&2; usage; }
for tool in osslsigncode openssl; do
  command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh"
done
for input in "$cert" "$key" "$pfx" "$password_file"; do
  [[ -z $input || -r $input ]] || fail "$input can't be read"
done
for file in "${files[@]}"; do
  [[ -f $file ]] || fail "$file is no file"
  [[ -w $file && -w $(dirname "$file") ]] || fail "$file can't be replaced: no write permission"
done

work=$(mktemp -d)
signed=()
cleanup() {
  rm -rf "$work"
  [[ ${#signed[@]} -eq 0 ]] || rm -f "${signed[@]}"
}
trap cleanup EXIT

# The signing certificate: the first one of the PEM file, or the PFX's own.
leaf=$work/leaf.pem
if [[ -n $pfx ]]; then
  openssl pkcs12 -in "$pfx" -passin "file:$password_file" -nokeys -clcerts -out "$leaf" \
      2>"$work/openssl.log" ||
    fail "$pfx can't be opened with the password of $password_file (a wrong password, or no PFX file)"
  signer=(-pkcs12 "$pfx" -readpass "$password_file")
else
  openssl x509 -in "$cert" -out "$leaf" 2>"$work/openssl.log" ||
    fail "$cert holds no PEM certificate"
  public_of_cert=$(openssl x509 -in "$leaf" -noout -pubkey 2>/dev/null)
  public_of_key=$(openssl pkey -in "$key" -passin pass: -pubout 2>/dev/null) ||
    fail "$key holds no private key in PEM without a password"
  [[ "$public_of_cert" == "$public_of_key" ]] ||
    fail "$key is not the private key of the certificate in $cert"
  signer=(-certs "$cert" -key "$key")
fi
# Windows takes a signature only from a certificate meant for code signing.
openssl x509 -in "$leaf" -noout -ext extendedKeyUsage 2>/dev/null | grep -q 'Code Signing' ||
  fail "the certificate ($(openssl x509 -in "$leaf" -noout -subject 2>/dev/null)) is not meant" \
       "for code signing: its extended key usage lacks Code Signing, and Windows would reject" \
       "the signature"
stamp=()
[[ -z $timestamp ]] || stamp=(-ts "$timestamp")

# The signature's digest must be that of the signed copy's content. Whether
# the certificate is trusted is the machine's business, not this check's.
signature_holds() {
  local report current calculated
  report=$(osslsigncode verify -ignore-cdp -ignore-crl -in "$1" 2>&1)
  current=$(sed -n 's/^Current message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report" | head -n 1)
  calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report" | head -n 1)
  [[ -n $current && $current == "$calculated" ]]
}

for file in "${files[@]}"; do
  copy=$(mktemp "$(dirname "$file")/.$(basename "$file").signing.XXXXXX") ||
    fail "no temporary file can be made beside $file"
  signed+=("$copy")
  rm -f "$copy"  # osslsigncode writes the copy itself
  if ! osslsigncode sign "${signer[@]}" -h sha256 "${stamp[@]}" -in "$file" -out "$copy" \
      >"$work/osslsigncode.log" 2>&1; then
    echo "sign: $file could not be signed${timestamp:+ (with the timestamp server $timestamp)}:" >&2
    # OpenSSL's stack of errors under osslsigncode's own lines says nothing more.
    grep -Ev '^[0-9A-F]+:error:|^$' "$work/osslsigncode.log" | sed 's/^/  /' >&2
    exit 1
  fi
  signature_holds "$copy" || fail "the signed copy of $file does not verify; $file is left as it was"
  chmod --reference="$file" "$copy"
done
for i in "${!files[@]}"; do
  mv -f "${signed[$i]}" "${files[$i]}" || fail "${files[$i]} could not be replaced by its signed copy"
done
signed=()
echo "sign: signed ${files[*]}"
