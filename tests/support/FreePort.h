#pragma once

namespace kv::test {

// Port numbers on 127.0.0.1 that nothing is bound to at the moment of the call. They are drawn at random below the
// kernel's range for outgoing connections, so that tests running at the same time rarely draw the same number.
// 0 when none could be found.
int freeTcpPort();
int freeUdpPort();
// A number that is free for TCP and UDP at once (a game server uses one of each).
int freeTcpAndUdpPort();

} // namespace kv::test
