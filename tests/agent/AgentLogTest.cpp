#include "agent/AccessLog.h"
#include "agent/AgentLog.h"
#include "agent/MemoryCsvLog.h"
#include "agent/OutputFormats.h"
#include "agent/ServerStatus.h"

#include "common/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

using namespace kv;
using namespace kv::agent;

namespace {

// 7 March 2007, 09:05:03 local time.
std::int64_t march7() {
    std::tm t{};
    t.tm_year = 107;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&t));
}

class FixedClock : public Clock {
public:
    explicit FixedClock(std::int64_t t) : t_(t) {}
    std::int64_t nowSeconds() const override { return t_; }

private:
    std::int64_t t_;
};

} // namespace

TEST(AgentLog, DailyFileNameAndEntryFormat) {
    EXPECT_EQ(AgentLog::fileNameFor(march7()), "Logs/KVRCS-3-7-2007.log");
    EXPECT_EQ(AgentLog::entryFor(march7(), "Started\n"), "3/7/2007 - 9:05:03 - Started\n");
    EXPECT_EQ(AgentLog::entryFor(march7(), ""), "\n\n\n");
}

TEST(AgentLog, EveryEntryEndsWithOneLineFeed) {
    std::string dir = (std::filesystem::temp_directory_path() / "kvagent-log-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    FixedClock clock(march7());
    AgentLog log(dir, clock);
    log.write("Cleaning up shutdown");
    log.write("Shutdown socket connection result: %d\n", 1);
    log.write("%s", "");
    std::string text = readFile(joinPath(dir, "Logs/KVRCS-3-7-2007.log")).value_or("");
    EXPECT_EQ(text, "3/7/2007 - 9:05:03 - Cleaning up shutdown\n3/7/2007 - 9:05:03 - Shutdown socket connection "
                    "result: 1\n\n\n\n");
    // A huge message is cut at the 32 KiB buffer, not dropped, and still ends its line.
    log.writeText(std::string(100000, 'z'));
    const std::string after = readFile(joinPath(dir, "Logs/KVRCS-3-7-2007.log")).value_or("");
    EXPECT_LT(after.size(), 33000u);
    EXPECT_EQ(after.back(), '\n');
    std::filesystem::remove_all(dir);
}

TEST(AccessLog, DropsTheOldest99OnceOver1000Lines) {
    AccessLog log;
    std::vector<std::string> echoed;
    log.setEcho([&](const std::string& l) { echoed.push_back(l); });
    for (int i = 0; i < 1001; ++i)
        log.append("line " + std::to_string(i));
    EXPECT_EQ(log.size(), 1001u);
    log.append("newest");
    EXPECT_EQ(log.size(), 903u);
    auto lines = log.lines();
    EXPECT_EQ(lines.front(), "line 99");
    EXPECT_EQ(lines.back(), "newest");
    EXPECT_EQ(echoed.size(), 1002u);
    EXPECT_EQ(AccessLog::stamped(march7(), "KVSM Status Request from IP 127.0.0.1"),
              "03/07/2007 - 9:05:03 - KVSM Status Request from IP 127.0.0.1");
}

TEST(OutputFormats, LogNamesLinesAndAlerts) {
    EXPECT_EQ(output_formats::runningLogName("Duel", march7()), "ServerLogs/Duel Server Log File at 3-7-2007 at 0905.03.log");
    EXPECT_EQ(output_formats::memoryCsvName("Duel", march7()),
              "ServerLogs/Duel Server Memory Log at 3-7-2007 at 0905.03.csv");
    // A setup name cannot lead out of the folder.
    EXPECT_EQ(output_formats::runningLogName("../../etc/x", march7()).find("../"), std::string::npos);
    OutputLine line{march7(), "hello", 1234};
    EXPECT_EQ(output_formats::runningLogLine(line, false), "3/7/2007-9:05:03- hello\r\n");
    EXPECT_EQ(output_formats::runningLogLine(line, true), "3/7/2007-9:05:03 (1234K)- hello\r\n");
    EXPECT_EQ(output_formats::listingLine(line, false), "3/7/2007-9:05:03 - hello");
    EXPECT_EQ(output_formats::listingLine(line, true), "3/7/2007-9:05:03 (1234K) - hello");
    EXPECT_EQ(output_formats::crashAlert(march7(), 1),
              "3/7/2007-9:05:03 - ALERT - Server Stopped By Crash Or Task Manager after 1 minutes");
    EXPECT_EQ(output_formats::userStopAlert(march7()), "3/7/2007-9:05:03 - ALERT - Server Stopped By User");
}

TEST(MemoryCsv, HeaderAndRowsHaveEightFields) {
    EXPECT_STREQ(memory_csv::kHeader, "Date/Time,Time Stamp,Process RAM In Use,Process Page File In Use,"
                                      "Physical RAM Available,Physical RAM Total,System Process Count,"
                                      "System Thread Count\n");
    ProcessMemory p;
    p.workingSet = 5368709120; // past 32 bits
    p.pageFile = 4096;
    SystemMemory m{1024, 2048, 150, 900};
    EXPECT_EQ(memory_csv::row(march7(), p, m),
              "3-7-2007 9:05:03," + std::to_string(march7()) + ",5368709120,4096,1024,2048,150,900\n");
}

TEST(ServerStatus, Words) {
    EXPECT_STREQ(statusWord(ServerStatus::NeverStarted), "Never Started");
    EXPECT_STREQ(statusWord(ServerStatus::Starting), "Starting");
    EXPECT_STREQ(statusWord(ServerStatus::Running), "Running");
    EXPECT_STREQ(statusWord(ServerStatus::Stopped), "Stopped");
    EXPECT_STREQ(statusWord(ServerStatus::Crashed), "Crashed");
    EXPECT_STREQ(statusWord(ServerStatus::InvalidConfiguration), "Stopped - Invalid Configuration");
    EXPECT_STREQ(statusWord(3), "Unknown");
}
