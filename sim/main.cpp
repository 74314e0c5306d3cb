// kvsim: a stand-in for the game's dedicated server, for the demonstration and the integration tests.
#include "sim/SimSettings.h"
#include "sim/Simulator.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signal) {
    unsigned char byte = static_cast<unsigned char>(signal);
    ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    (void)ignored;
}

} // namespace

int main(int argc, char** argv) {
    kv::sim::SimEnvironment env;
    env.arguments.assign(argv, argv + argc);
    char here[4096];
    env.currentFolder = ::getcwd(here, sizeof here) ? here : ".";
    for (const auto& name : kv::sim::knobNames())
        if (const char* value = std::getenv(name.c_str()))
            env.environmentKnobs.emplace_back(name, value);
    if (const char* game = std::getenv("KVSIM_GAME_DIR"))
        env.gameFolder = game;

    // Signals only write a byte; the main loop does the rest.
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            ::sigaction(signal, &action, nullptr);
        env.signalFd = signalPipe[0];
    }
    std::signal(SIGPIPE, SIG_IGN);

    kv::sim::Simulator simulator(std::move(env));
    int status = simulator.run();
    if (!simulator.outputDrained())
        std::_Exit(status);
    return status;
}
