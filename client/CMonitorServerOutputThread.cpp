#include "client/CMonitorServerOutputThread.h"

#include "client/CServerRemoteControl.h"
#include "common/LocalTime.h"
#include "common/protocol/FeedLine.h"
#include "common/protocol/FeedLineAssembler.h"
#include "common/protocol/Request.h"

#include <openssl/crypto.h>
#include <thread>

namespace kv {

namespace {
std::string notice(const char* text) {
    return protocol::formatFeedNotice(toLocalTime(currentSeconds()), text);
}
} // namespace

CMonitorServerOutputThread::CMonitorServerOutputThread(CServerRemoteControl& client, MonitorSink* window,
                                                       MonitorLines* lines)
    : client_(client), window_(window), lines_(lines) {}

void CMonitorServerOutputThread::resume() {
    if (started_.exchange(true))
        return;
    try {
        std::thread([this] {
            run();
            delete this;
        }).detach();
    } catch (...) {
        // No thread could be made: the feed ends as if it could not connect.
        if (windowAlive()) {
            window_->feedFailed(protocol::kFeedConnectFailure);
            window_->feedEnded();
        }
        delete this;
    }
}

void CMonitorServerOutputThread::run() noexcept {
    try {
        follow();
    } catch (...) {
        client_.Connection().Close();
    }
    // The thread's own OpenSSL state is freed now rather than as the thread exits: once monitorFinished() is
    // told, the caller may end the process while this thread is still on its way out.
    OPENSSL_thread_stop();
    try {
        if (window_)
            window_->monitorFinished();
    } catch (...) {
    }
}

void CMonitorServerOutputThread::follow() {
    if (!client_.ConnectToServer()) {
        if (windowAlive()) {
            window_->feedFailed(protocol::kFeedConnectFailure);
            window_->feedEnded();
        }
        return;
    }
    std::string request = std::string(protocol::requestWord(protocol::Request::MonitorFeed)) + "\n";
    if (client_.Connection().SendAll(request) < 0) {
        client_.Connection().Close();
        return;
    }
    // Output may pause for hours; the feed waits for it (keep-alive notices a vanished host).
    client_.Connection().SetReplyTimeout(std::chrono::milliseconds(0));
    protocol::FeedLineAssembler assembler;
    for (;;) {
        char byte = 0;
        if (client_.Connection().ReceiveExact(&byte, 1) != 1) {
            if (lines_)
                lines_->append(notice(protocol::kFeedBroken));
            break;
        }
        protocol::FeedLineAssembler::Step step = assembler.add(byte);
        if (step == protocol::FeedLineAssembler::Step::TooLong)
            break;
        if (step == protocol::FeedLineAssembler::Step::Line) {
            if (lines_)
                lines_->append(assembler.line());
            if (!windowAlive())
                break;
            window_->lineAdded();
        }
    }
    if (lines_)
        lines_->append(notice(protocol::kFeedEnding));
    client_.Connection().SetReplyTimeout(client_.Options().replyTimeout);
    client_.DisconnectFromServer();
}

} // namespace kv
