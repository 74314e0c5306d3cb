#include "agent/AgentSettings.h"

#include "common/Md5.h"

namespace kv::agent {

AgentSettings AgentSettings::defaults() {
    AgentSettings s;
    s.md5Password = md5Hex(kDefaultPassword);
    return s;
}

} // namespace kv::agent
