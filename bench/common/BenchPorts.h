#pragma once

namespace kv::bench {

// A port on 127.0.0.1 that nothing is bound to at the moment of the call (the kernel picks it); 0 when none.
int freeTcpPort();
int freeUdpPort();

} // namespace kv::bench
