#pragma once

#include "common/AtomicFile.h"
#include "common/channel/CCommAsyncSocket.h"

#include <string>

namespace kv::agent::service {

// An upload of more bytes than this is refused and ends the session.
constexpr long long kMaxUploadBytes = 64LL * 1024 * 1024;

// The download framing: the size line ("0" when the file cannot be opened, is no regular file or is a symbolic
// link), then raw blocks of up to 8192 bytes,
// each answered by the client with a line (read with `ackCapacity`). False when the connection failed.
bool sendFile(CCommAsyncSocket& connection, const std::string& path, int ackCapacity);

enum class ReceiveResult {
    Stored,    // complete; "[GoodSend]" sent
    NotOpened, // the target could not be written; "[AbortSend]" sent
    NotStored, // complete, but the file could not be replaced; "[AbortSend]" sent
    Broken,    // the connection failed before the end marker; the old file is untouched
    TooLarge,  // more than kMaxUploadBytes came; "[AbortSend]" sent, the old file is untouched
};

// The upload framing after the request's parameters: the ready marker, then lines until one that begins with
// `endMarker` (letter case ignored). The file is replaced only when the end marker came, so a transfer that
// breaks off never leaves a truncated file behind.
ReceiveResult receiveFile(CCommAsyncSocket& connection, const std::string& path, const char* readyMarker,
                          const char* endMarker);
// The same into a file that the caller opened; `companion` (may be null), opened and written by the caller, is
// committed right after `file`, so that a pair is replaced only by a complete upload. Files that were not
// committed are discarded when the caller drops them.
ReceiveResult receiveFile(CCommAsyncSocket& connection, AtomicFile& file, AtomicFile* companion,
                          const char* readyMarker, const char* endMarker);

// Sends one line (the line feed is added); false when the connection failed.
bool sendLine(CCommAsyncSocket& connection, const std::string& text);

} // namespace kv::agent::service
