#include "common/protocol/Request.h"
#include "common/protocol/Login.h"
#include "common/protocol/NameCheck.h"
#include "common/protocol/RestartTime.h"

#include "common/Md5.h"

#include <gtest/gtest.h>

using namespace kv::protocol;

namespace {

TEST(Request, TheFirstWordThatBeginsTheLineWinsInAnyLetterCase) {
    EXPECT_EQ(matchRequest("monitorfeed2"), Request::MonitorFeed);
    EXPECT_EQ(matchRequest("GETSTATUS"), Request::GetStatus);
    // The list request comes before the file request in the table, so it is not taken for a file request ...
    EXPECT_EQ(matchRequest("GetPBLogFileList"), Request::GetPBLogFileList);
    // ... and the file request is not mistaken for the list.
    EXPECT_EQ(matchRequest("GetPBLogFile"), Request::GetPBLogFile);
    EXPECT_EQ(matchRequest("LogoutNow"), Request::Logout);
    EXPECT_EQ(matchRequest("UploadPBConfigExtra"), Request::UploadPBConfig);
    EXPECT_EQ(matchRequest("DownloadPBOptionFile"), Request::DownloadPBOptionFile);
}

TEST(Request, LinesThatNameNoRequestAreNotRequests) {
    EXPECT_FALSE(matchRequest(""));
    EXPECT_FALSE(matchRequest("Login"));
    EXPECT_FALSE(matchRequest(" GetStatus"));
    EXPECT_FALSE(matchRequest("GetStat"));
    EXPECT_TRUE(isLoginRequest("LOGIN"));
    EXPECT_FALSE(isLoginRequest("Logi"));
}

TEST(Request, EveryWordMatchesItsOwnRequest) {
    for (int i = 0; i <= static_cast<int>(Request::GetPBCfgFiles); ++i) {
        auto request = static_cast<Request>(i);
        EXPECT_EQ(matchRequest(requestWord(request)), request) << requestWord(request);
    }
}

TEST(NameCheck, PathPartsAreRefused) {
    for (const char* bad : {"", "..", "a/b", "a\\b", "c:x", "up.."})
        EXPECT_FALSE(passesShortNameCheck(bad)) << bad;
    EXPECT_FALSE(passesShortNameCheck(std::string_view("a\0b", 3)));
    EXPECT_TRUE(passesShortNameCheck("pbsv.opt"));
    EXPECT_TRUE(passesShortNameCheck("My Setup"));
    // The strict check refuses any full stop.
    EXPECT_FALSE(passesStrictNameCheck("setup.v2"));
    EXPECT_TRUE(passesStrictNameCheck("Capture the Flag"));
    EXPECT_TRUE(isConfigurationName("Capture the Flag (v2) - Tom's & Co!+_"));
    EXPECT_TRUE(isConfigurationName(std::string(kMaxStoredNameLength, 'a')));
    EXPECT_FALSE(isConfigurationName(std::string(kMaxStoredNameLength + 1, 'a')));
    for (std::string_view bad : std::initializer_list<std::string_view>{
             "", " lead", "trail ", "a.b", "a\"b", "a/b", "a\\b", "a,b", "a\tb", "a=b", std::string_view("a\0b", 3),
             "caf\xC3\xA9"})
        EXPECT_FALSE(isConfigurationName(bad)) << bad;
    EXPECT_TRUE(isMapName("Harbor.kvm"));
    for (const char* bad : {".hidden", "a..b", "two words", "a\"b", "a/b"})
        EXPECT_FALSE(isMapName(bad)) << bad;
    EXPECT_TRUE(isRunModeName("GLOBAL"));
    EXPECT_FALSE(isRunModeName("LAN ini=x"));
    EXPECT_TRUE(isStorableValue("p@ss \"word\"", 255));
    EXPECT_FALSE(isStorableValue("a\rb", 255));
    EXPECT_FALSE(isStorableValue(std::string(256, 'p'), 255));
    EXPECT_TRUE(isSingleLine("180"));
    EXPECT_FALSE(isSingleLine("180\nStopServer"));
    EXPECT_FALSE(isSingleLine("a\rb"));
}

TEST(Login, NameInAnyCaseAndTheDigestOfThePassword) {
    std::string digest = kv::md5Hex("secret");
    EXPECT_EQ(checkLogin("ADMIN", "secret", "admin", digest), LoginVerdict::Accepted);
    EXPECT_EQ(checkLogin("admin", "Secret", "admin", digest), LoginVerdict::BadPassword);
    EXPECT_EQ(checkLogin("other", "secret", "admin", digest), LoginVerdict::BadAdminName);
    EXPECT_EQ(checkLogin("other", "wrong", "admin", digest), LoginVerdict::BadAdminName);
    EXPECT_EQ(checkLogin("admin", "", "admin", ""), LoginVerdict::BadPassword); // no digest: nothing matches
    EXPECT_STREQ(loginRejectionReason(LoginVerdict::BadPassword), "Bad PW");
    EXPECT_STREQ(loginRejectionReason(LoginVerdict::BadAdminName), "Bad Admin Name");
}

TEST(RestartTime, NoneInItsExactSpellingOrAMinuteOfTheDay) {
    ASSERT_TRUE(parseRestartTimeLine("None"));
    EXPECT_FALSE(parseRestartTimeLine("None")->enabled);
    for (const char* bad : {"none", "", "1440", "-1", "+5", " 180", "180 ", "0x10", "00180", "18a"})
        EXPECT_FALSE(parseRestartTimeLine(bad)) << bad;
    std::optional<RestartTimeSetting> three = parseRestartTimeLine("180");
    ASSERT_TRUE(three);
    EXPECT_TRUE(three->enabled);
    EXPECT_EQ(three->minutes, 180);
    EXPECT_EQ(parseRestartTimeLine("1439")->minutes, 1439);
    EXPECT_EQ(formatRestartTimeReply(true, 180), "180\n");
    EXPECT_EQ(formatRestartTimeReply(false, 180), "None\n");
}

} // namespace
