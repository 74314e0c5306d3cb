// Feeds arbitrary bytes to the setup file reader, then writes and reads the result again.
#include "manager/setups/SetupReader.h"
#include "manager/setups/SetupWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::setups::ServerSetup setup;
    kv::setups::readSetupLines(std::string_view(reinterpret_cast<const char*>(data), size), setup);
    setup.countMaps();
    kv::setups::ServerSetup again;
    kv::setups::readSetupLines(kv::setups::writeSetupText(setup, kv::setups::SetupForm::Full), again);
    // Every one-line value survives except for the line breaks it held, so the second read names a setup exactly
    // when the first one did.
    if (setup.m_csName.find_first_of("\r\n") == std::string::npos && again.m_csName != setup.m_csName)
        __builtin_trap();
    return 0;
}
