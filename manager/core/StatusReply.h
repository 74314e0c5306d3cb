#pragma once

#include "manager/core/ServerStatus.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

namespace kv::core {

// The game's status query: this request, sent by UDP to the query port, is answered with datagrams of
// backslash-separated keys and values, the last one ending with the key "final".
inline constexpr std::string_view kStatusRequest = "\\info\\\\status\\gamestats\\\\players\\\\";
static_assert(kStatusRequest.size() == 34);
inline constexpr int kStatusQueryPort = 1717;

// A reply is a few datagrams; whatever a server sends beyond this is not kept.
inline constexpr std::size_t kStatusReplyLimit = 256 * 1024;
// Players kept from one reply, whatever its "numplayers" says.
inline constexpr int kStatusPlayerLimit = 64;

// A reply key and the display key under which the key table keeps its value.
struct StatusKey {
    std::string_view replyKey;
    std::string_view displayKey;
};

// The key table in display order; "sv_punkbuster" appears twice, once for each of its display keys.
std::span<const StatusKey> statusKeys();
// The player keys: the reply key of player n is "<base word>_n".
std::span<const StatusKey> statusPlayerKeys();

// Splits a reply into its key/value pairs and calls `pair` for each, in order, until it returns false. Text before
// the first backslash is no pair; an empty key (a doubled separator) is skipped; a key at the very end has an empty
// value, and so has a value that no backslash ends (it may have been cut short). A value can hold a key's text
// without ever being taken for that key.
void forEachStatusPair(std::string_view reply,
                       const std::function<bool(std::string_view key, std::string_view value)>& pair);

// Whether the reply has reached its "final" key.
bool statusReplyComplete(std::string_view reply);

// The key table and the players of a reply (at most kStatusReplyLimit bytes of it are read). For each key the first
// pair wins. Players 0 to numplayers - 1 (at most kStatusPlayerLimit) whose "player_n" is not empty get an entry.
ServerStatus parseStatusReply(std::string_view reply);

} // namespace kv::core
