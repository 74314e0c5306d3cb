// What the agent takes as an administrator password.
#include "agent/AdminPassword.h"
#include "agent/AgentSettings.h"

#include "common/Md5.h"

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::agent;

TEST(AdminPassword, ANewPasswordMustBeOneThatARemoteLoginCanCarry) {
    EXPECT_EQ(admin_password::problemWith(std::string(62, 'p')), "");
    EXPECT_EQ(admin_password::problemWith("blanks and \xC3\xA4 are fine"), "");
    EXPECT_EQ(admin_password::problemWith(std::string(63, 'p')),
              "the password is longer than 62 bytes, the most a remote login carries");
    EXPECT_EQ(admin_password::problemWith(""), "the password is empty");
    EXPECT_EQ(admin_password::problemWith("tab\there"),
              "the password contains a control character, which a remote login cannot carry");
    EXPECT_EQ(admin_password::problemWith("del\x7F"),
              "the password contains a control character, which a remote login cannot carry");
    EXPECT_EQ(admin_password::problemWith(kDefaultPassword), "the password is the well-known default");
}

TEST(AdminPassword, OnlyTheDigestOfARealPasswordLetsRemoteLoginsIn) {
    EXPECT_TRUE(admin_password::usableForRemoteLogin(md5Hex("secret")));
    EXPECT_FALSE(admin_password::usableForRemoteLogin(""));
    EXPECT_FALSE(admin_password::usableForRemoteLogin(md5Hex("")));
    EXPECT_FALSE(admin_password::usableForRemoteLogin(AgentSettings::defaults().md5Password));
    EXPECT_FALSE(admin_password::usableForRemoteLogin("0"));
    EXPECT_FALSE(admin_password::usableForRemoteLogin("5EBE2294ECD0E0F08EAB7690D2A6EE69")); // no login matches capitals
}
