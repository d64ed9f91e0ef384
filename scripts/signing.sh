# Sourced by the release scripts: Authenticode signatures on the exes and MSIs (osslsigncode)
# and a GnuPG signature on SHA256SUMS, as these variables ask:
#   QUORVEL_SIGN_PKCS12         a PKCS#12 file with a code-signing certificate, its key and chain
#   QUORVEL_SIGN_PASSWORD_FILE  the file that holds its password (never on a command line)
#   QUORVEL_TIMESTAMP_URL       an RFC 3161 time-stamp server (optional)
#   QUORVEL_GPG_KEY             the GnuPG key that signs SHA256SUMS (optional; GNUPGHOME applies)
# With none of them set nothing is signed. signing_check also refuses a QUORVEL_DOWNLOAD_URL,
# the address the package managers' manifests name, that they would not take.

signing_enabled() { [ -n "${QUORVEL_SIGN_PKCS12:-}" ]; }
gpg_enabled() { [ -n "${QUORVEL_GPG_KEY:-}" ]; }

signing_refuse() {
  echo "FAIL: $*; nothing was built or written" >&2
  return 1
}

# Reads the PKCS#12 file with openssl pkcs12 and the options given. -legacy also opens a file
# in the older encryption (RC2-40, 3DES) that Windows and OpenSSL 1 export, which OpenSSL 3
# refuses as "unsupported" without it; osslsigncode opens such a file by itself.
pkcs12() {
  openssl pkcs12 -legacy -in "$QUORVEL_SIGN_PKCS12" -passin "file:$QUORVEL_SIGN_PASSWORD_FILE" "$@"
}
# The certificate (PEM) the PKCS#12 file signs with.
signing_certificate() { pkcs12 -nokeys -clcerts 2>/dev/null; }

# Refuses bad signing input before anything is built: every file readable, the password right,
# a key and a code-signing certificate that has not expired, a GnuPG key that exists.
signing_check() {
  if ! signing_enabled; then
    for var in QUORVEL_SIGN_PASSWORD_FILE QUORVEL_TIMESTAMP_URL; do
      [ -z "${!var:-}" ] || signing_refuse "$var is set but QUORVEL_SIGN_PKCS12 is not" || return 1
    done
  else
    local p12=$QUORVEL_SIGN_PKCS12 pass=${QUORVEL_SIGN_PASSWORD_FILE:-} cert
    [ -f "$p12" ] && [ -r "$p12" ] ||
      signing_refuse "cannot read the PKCS#12 file '$p12' (QUORVEL_SIGN_PKCS12)" || return 1
    [ -n "$pass" ] ||
      signing_refuse "QUORVEL_SIGN_PASSWORD_FILE must name the file with the password of '$p12'" ||
      return 1
    [ -f "$pass" ] && [ -r "$pass" ] ||
      signing_refuse "cannot read the password file '$pass' (QUORVEL_SIGN_PASSWORD_FILE)" || return 1
    local why
    if ! why=$(pkcs12 -nokeys -clcerts 2>&1 >/dev/null); then
      if grep -q "invalid password" <<<"$why"; then
        signing_refuse "the password in '$pass' does not open '$p12': wrong password"
      else
        signing_refuse "'$p12' is not a PKCS#12 file that OpenSSL can read (openssl:" \
          "$(grep -m 1 -v '^Error\|^$' <<<"$why" | sed 's/^[0-9A-F]*:error:[0-9A-F]*://'))"
      fi
      return 1
    fi
    cert=$(signing_certificate)
    pkcs12 -nocerts -nodes 2>/dev/null | grep -q "PRIVATE KEY" ||
      signing_refuse "'$p12' holds no private key" || return 1
    openssl x509 -noout -checkend 0 <<<"$cert" >/dev/null ||
      signing_refuse "the certificate in '$p12' expired on" \
        "$(openssl x509 -noout -enddate <<<"$cert" | cut -d= -f2)" || return 1
    openssl x509 -noout -ext extendedKeyUsage <<<"$cert" 2>/dev/null | grep -q "Code Signing" ||
      signing_refuse "the certificate in '$p12' is not for code signing" \
        "(its extended key usage lacks codeSigning)" || return 1
  fi
  if [ -n "${QUORVEL_DOWNLOAD_URL:-}" ]; then
    local why
    why=$(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../release/manifests.py" --check \
      "$QUORVEL_DOWNLOAD_URL" 2>&1) || signing_refuse "${why#FAIL: }" || return 1
  fi
  if gpg_enabled; then
    gpg --batch --list-secret-keys -- "$QUORVEL_GPG_KEY" >/dev/null 2>&1 ||
      signing_refuse "GnuPG has no secret key '$QUORVEL_GPG_KEY' (QUORVEL_GPG_KEY," \
        "GNUPGHOME=${GNUPGHOME:-~/.gnupg})" || return 1
  fi
}

# "Common name, organisation" of the signing certificate's subject, for the teacher's README.
signing_subject() {
  local subject cn o
  subject=$(signing_certificate | openssl x509 -noout -subject -nameopt multiline,utf8,-esc_msb)
  cn=$(sed -n 's/^ *commonName *= //p' <<<"$subject")
  o=$(sed -n 's/^ *organizationName *= //p' <<<"$subject")
  echo "$cn${o:+, $o}"
}

# Signs <file> (an exe or an MSI) in place: Authenticode with SHA-256, time-stamped when a
# server is named. Then verifies the signature against the certificate's own chain (and
# the system's certificate authorities, for a chain that ends at a public root).
sign_file() {
  local file=$1 chain
  local timestamp=()
  [ -z "${QUORVEL_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QUORVEL_TIMESTAMP_URL")
  osslsigncode sign -pkcs12 "$QUORVEL_SIGN_PKCS12" -readpass "$QUORVEL_SIGN_PASSWORD_FILE" \
    -h sha256 -n Quorvel "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
  chain=$(mktemp)
  { pkcs12 -nokeys 2>/dev/null
    cat /etc/ssl/certs/ca-certificates.crt 2>/dev/null || true; } >"$chain"
  if ! osslsigncode verify -CAfile "$chain" -TSA-CAfile "$chain" -in "$file" >/dev/null 2>&1; then
    rm -f "$chain"
    echo "FAIL: the signature on $file does not verify" >&2
    return 1
  fi
  rm -f "$chain"
}

# Checks that removing the signature from <signed exe> gives back <unsigned exe> byte for byte:
# signing changed nothing else.
check_signature_removable() {
  local stripped
  stripped=$(mktemp -d)
  osslsigncode remove-signature -in "$1" -out "$stripped/unsigned" >/dev/null
  if ! cmp -s "$stripped/unsigned" "$2"; then
    rm -rf "$stripped"
    echo "FAIL: $1 without its signature is not $2" >&2
    return 1
  fi
  rm -rf "$stripped"
}

# Writes <file>.asc, an armoured detached GnuPG signature, and checks it.
gpg_sign() {
  gpg --batch --yes --local-user "$QUORVEL_GPG_KEY" --armor --detach-sign --output "$1.asc" "$1"
  gpg --batch --verify "$1.asc" "$1" 2>/dev/null || {
    echo "FAIL: gpg --verify $1.asc does not pass" >&2
    return 1
  }
}
