# Turns the PEM files of one role into string constants (run with -DROLE= -DKEYS_DIR= -DOUT=).
file(READ ${KEYS_DIR}/${ROLE}-certificate.pem certificate)
file(READ ${KEYS_DIR}/${ROLE}-key.pem key)
file(READ ${KEYS_DIR}/ca-certificate.pem authority)
string(SUBSTRING ${ROLE} 0 1 first)
string(TOUPPER ${first} first)
string(SUBSTRING ${ROLE} 1 -1 rest)
set(content "// Generated from data/keys by EmbedKeys.cmake; do not edit.
#include \"common/channel/KeyMaterial.h\"

namespace kv {
namespace {
const char certificate[] = R\"pem(${certificate})pem\";
const char privateKey[] = R\"pem(${key})pem\";
const char authority[] = R\"pem(${authority})pem\";
} // namespace

KeyMaterial ${ROLE}KeyMaterial() { return KeyMaterial{certificate, privateKey, authority}; }

} // namespace kv
")
file(WRITE ${OUT}.new "${content}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
