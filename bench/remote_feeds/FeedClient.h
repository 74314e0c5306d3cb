#pragma once

#include "client/CServerRemoteControl.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// One monitor feed through the client library. Each line is examined on the feed's own thread as it arrives: the
// simulator's paced flood lines ("Flood line N of TOTAL, sent at SECONDS") must come in order, 1 to TOTAL, and
// each one's delay is the time from its writing to its arrival here.
class FeedClient final : public kv::MonitorSink {
public:
    FeedClient(const std::string& address, const kv::RemoteControlOptions& options, int total);

    bool start();

    bool alive() const override { return true; }
    void lineAdded() override;
    void feedFailed(std::string text) override;
    void feedEnded() override {}
    void monitorFinished() override { finished_ = true; }

    int linesSeen() const { return linesSeen_; }
    int floodLines() const { return floodSeen_; }
    bool finished() const { return finished_; }
    // Empty when every flood line came in order and none is missing (once all have come).
    std::string fault() const;
    // Delays of the flood lines in microseconds (read once the feed has finished).
    const std::vector<double>& delays() const { return delays_; }

private:
    void examine(const std::string& line, double receivedSeconds);

    kv::CServerRemoteControl client_;
    kv::MonitorLines lines_;
    const int total_;
    std::atomic<int> linesSeen_{0};
    std::atomic<int> floodSeen_{0};
    std::atomic<bool> finished_{false};
    mutable std::mutex mutex_;
    int expected_ = 1;
    std::string fault_;
    std::vector<double> delays_;
    kv::MonitorThreadPtr thread_; // last: its thread ends before what it uses goes
};
