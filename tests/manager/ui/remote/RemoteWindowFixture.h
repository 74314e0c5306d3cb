#pragma once

#include "common/Files.h"
#include "manager/core/ManagerContext.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace kv::manager::ui {

// What the tests of a window that works on one remote host share: an agent on loopback, the client library built
// here bound with its trust file in a scratch folder, and a manager context whose working folder is also the current
// folder, as in the manager (the library stores downloads there).
class RemoteWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        test::guiApp();
        ::setenv("XDG_DATA_HOME", local.path().c_str(), 1);
        ASSERT_TRUE(agent.start()) << agent.error();
        binding =
            remote::RemoteBinding::bind(remote::RemoteBinding::candidatePaths(KV_BIN_DIR), local.file("known_agents"));
        ASSERT_TRUE(binding.available()) << binding.detail();
        context.workingFolder = local.file("work");
        ASSERT_TRUE(makeDirectories(context.workingFolder));
        context.clock = &clock;
        context.remoteLibrary = binding.library();
        ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(::chdir(context.workingFolder.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(::chdir(previous), 0);
        EXPECT_TRUE(remote::RemoteRunner::waitForWorkers(std::chrono::seconds(20)));
    }

    remote::RemoteHost host() const { return {agent.address(), agent.adminName(), agent.password()}; }

    // Runs the event loop until `done` holds (a minute at most).
    static bool settle(const std::function<bool()>& done) {
        return test::waitUntil(
            [&done] {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                return done();
            },
            std::chrono::seconds(60));
    }

    test::HeadlessAgent agent;
    test::TempDir local;
    test::ManualClock clock;
    remote::RemoteBinding binding;
    core::ManagerContext context;
    test::FakePrompter prompter;
    test::FakeDesktopServices desktop;
    char previous[4096] = {};
};

} // namespace kv::manager::ui
