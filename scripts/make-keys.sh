#!/usr/bin/env bash
# Generates the key material of the remote control channel once: a private CA, the agent's (server) certificate
# and the client library's certificate, RSA 2048 with SHA-256 signatures. The PEM files are kept in data/keys/ and
# compiled into kvagent and libkvsm-remote-control.so; run this again only to replace them (with --force).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${KV_KEYS_DIR:-$ROOT/data/keys}"
DAYS=36500   # the keys are built into every copy of the programs; they must not expire under a running install

if [ -f "$OUT/ca-certificate.pem" ] && [ "${1:-}" != "--force" ]; then
    echo "Key material exists in $OUT; use --force to replace it." >&2
    exit 1
fi
mkdir -p "$OUT"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

openssl genrsa -out "$work/ca-key.pem" 2048 2>/dev/null
openssl req -x509 -new -sha256 -days "$DAYS" -key "$work/ca-key.pem" -out "$OUT/ca-certificate.pem" \
    -subj "/O=KV Server Manager/CN=KVSM Remote Control CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"

# make_leaf <role> <extended key usage>
make_leaf() {
    local role="$1" usage="$2"
    openssl genrsa -traditional -out "$OUT/$role-key.pem" 2048 2>/dev/null
    openssl req -new -sha256 -key "$OUT/$role-key.pem" -out "$work/$role.csr" \
        -subj "/O=KV Server Manager/CN=KVSM Remote Control $role"
    printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=%s\n' \
        "$usage" > "$work/$role.ext"
    openssl x509 -req -sha256 -days "$DAYS" -in "$work/$role.csr" -CA "$OUT/ca-certificate.pem" \
        -CAkey "$work/ca-key.pem" -CAcreateserial -CAserial "$work/ca.srl" -out "$work/$role-cert.pem" -extfile "$work/$role.ext" 2>/dev/null
    # A text dump of the certificate followed by its PEM block, as the loaders expect.
    { openssl x509 -in "$work/$role-cert.pem" -noout -text; cat "$work/$role-cert.pem"; } > "$OUT/$role-certificate.pem"
}

make_leaf server serverAuth
make_leaf client clientAuth
chmod 644 "$OUT"/*.pem   # they are compiled into programs that anyone may read
# The CA's own key is not kept: no further certificates are ever issued from it.
echo "Key material written to $OUT"
