#pragma once

#include "tests/support/FreePort.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SimGame.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A game folder with kvsim as its server program, on free ports, and helpers that talk to it as the agent and the
// manager do.
class KvsimTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes kvsim.conf: the free ports, a short start delay, and `extra`.
    void configure(const std::vector<std::pair<std::string, std::string>>& extra = {});
    // Starts the server with a command line built as one string and split as the agent does.
    void startLine(const std::string& commandLine, std::vector<std::pair<std::string, std::string>> env = {});
    // The agent's own line with empty optional pairs, for `map`.
    std::string agentLine(const std::string& map, const std::string& ini) const;

    // Connects to the admin port, sends `bytes`, waits a little and closes, as the agent's stop does.
    bool sendAdmin(const std::string& bytes, int port = 0);
    // Sends one datagram to the query port and collects the reply datagrams (until "\final" or the time-out).
    std::vector<std::string> query(const std::string& request, int timeoutMs = 2000);
    bool sendDatagram(const std::string& bytes);

    kv::test::TempDir dir;
    kv::test::SimGame game{dir.file("Korvane"), KV_BIN_DIR "/kvsim"};
    std::string ini;
    int adminPort = 0;
    int queryPort = 0;
    kv::test::ProgramRun run;
};

// The reader's rule for one key: first occurrence of "key\", value up to the next backslash.
std::string replyValue(const std::string& reply, const std::string& key);
