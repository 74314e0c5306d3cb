#include "tests/client/FakeAgent.h"

#include "common/Text.h"
#include "common/protocol/DescriptionText.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/ProtocolWords.h"
#include "common/protocol/Request.h"
#include "tests/support/TestIdentity.h"

#include <sys/socket.h>

namespace kv::test {

using namespace protocol;

FakeAgent::FakeAgent(std::shared_ptr<SslContext> context)
    : listener_(context ? std::move(context) : testServerContext()) {
    if (listener_.CreateBound(0, SOCK_STREAM, "127.0.0.1") && listener_.Listen())
        port_ = listener_.LocalPort();
    thread_ = std::thread([this] { serve(); });
}

FakeAgent::~FakeAgent() {
    stopping_ = true;
    ::shutdown(listener_.Handle(), SHUT_RDWR);
    thread_.join();
}

bool FakeAgent::waitForSessions(int count) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, std::chrono::seconds(20), [&] { return sessions >= count; });
}

void FakeAgent::serve() {
    while (!stopping_) {
        CCommAsyncSocket connection;
        if (!listener_.AcceptInto(connection))
            continue;
        connection.SetReplyTimeout(std::chrono::seconds(10));
        session(connection);
        connection.Close();
        std::lock_guard lock(mutex_);
        ++sessions;
        ended_.notify_all();
    }
}

std::string FakeAgent::readParameter(CCommAsyncSocket& connection, int capacity) {
    std::string line;
    connection.ReceiveLine(line, capacity);
    parameters.push_back(line);
    return line;
}

void FakeAgent::session(CCommAsyncSocket& connection) {
    bool loggedIn = false;
    std::string line;
    while (connection.ReceiveLine(line, kRequestLineCapacity) > 0) {
        std::unique_lock lock(mutex_);
        if (!loggedIn) {
            if (!isLoginRequest(line)) {
                ignoredLines.push_back(line);
                continue;
            }
            ++logins;
            std::string name, secret;
            connection.ReceiveLine(name, kLoginFieldCapacity);
            connection.ReceiveLine(secret, kLoginFieldCapacity);
            loggedIn = equalsNoCase(name, adminName) && secret == password;
            connection.SendAll(std::string(1, loggedIn ? kLoginAccepted : kLoginRejected));
            if (!loggedIn) {
                ++rejectedLogins;
                return;
            }
            continue;
        }
        if (!request(connection, line))
            return;
    }
}

bool FakeAgent::request(CCommAsyncSocket& connection, const std::string& line) {
    auto which = matchRequest(line);
    if (!which)
        return true;
    requests.push_back(line);
    if (auto handler = overrides.find(requestWord(*which)); handler != overrides.end())
        return handler->second(connection);
    auto sendList = [&](const std::vector<std::string>& list) {
        for (const std::string& record : list)
            connection.SendAll(record + "\n");
        connection.SendAll(std::string(kEndOfList) + "\n");
    };
    switch (*which) {
    case Request::Logout:
        return false;
    case Request::MonitorFeed:
        for (const std::string& feed : feedLines)
            if (connection.SendAll(feed) < 0)
                break;
        return false;
    case Request::GetStatus:
        connection.SendAll(statusRecord);
        return true;
    case Request::GetRestartTime:
        connection.SendAll(restartReply);
        return true;
    case Request::SetRestartTime:
        return readParameter(connection, kRequestLineCapacity) != kRestartNone;
    case Request::GetConfigurationList:
        sendList(configurationList);
        return true;
    case Request::GetPBCfgFiles:
        sendList(optionFileList);
        return false;
    case Request::GetPBScreenShotList:
        sendList(screenshotList);
        return false;
    case Request::GetPBLogFileList:
        sendList(logList);
        return false;
    case Request::GetPBScreenShotFile:
        sendFile(connection, "shot/" + readParameter(connection, kFileNameLineCapacity));
        return false;
    case Request::GetPBLogFile:
        sendFile(connection, "log/" + readParameter(connection, kFileNameLineCapacity));
        return false;
    case Request::DownloadServerSetupFile:
        return sendFile(connection, "setup/" + readParameter(connection, kFileNameLineCapacity));
    case Request::DownloadBanList:
        return sendFile(connection, "ban");
    case Request::DownloadPBOptionFile:
        return sendFile(connection, "option/" + readParameter(connection, kRequestLineCapacity));
    case Request::UploadServerSetupFile:
        return receiveFile(connection, "setup/" + readParameter(connection, kUploadLineCapacity), kSendSetup,
                           kEndOfServerSetupFile);
    case Request::UploadBanList:
        return receiveFile(connection, "ban", kSendFile, kEndOfFile);
    case Request::UploadPBOptionFile:
        return receiveFile(connection, "option/" + readParameter(connection, kRequestLineCapacity), kSendFile,
                           kEndOfFile);
    case Request::UploadConfiguration: {
        std::string name = readParameter(connection, kUploadLineCapacity);
        std::string control;
        for (int i = 0; i < 4; ++i)
            control += readParameter(connection, kUploadLineCapacity) + "|";
        DescriptionCollector description;
        std::string text;
        while (connection.ReceiveLine(text, kUploadLineCapacity) >= 0 && !description.add(text)) {
        }
        files["control/" + name] = control + description.stored();
        return receiveFile(connection, "config/" + name, kSendConfig, kEndOfConfigurationFile);
    }
    case Request::ActivateConfiguration:
        if (!readParameter(connection, kRequestLineCapacity).empty())
            connection.SendAll(std::string(kOk) + "\n");
        return true;
    case Request::RemoveConfiguration: {
        std::string name = readParameter(connection, kRequestLineCapacity);
        if (!name.empty()) {
            files.erase("control/" + name);
            files.erase("config/" + name);
            connection.SendAll(std::string(kOk) + "\n");
        }
        return true;
    }
    default:
        return true;
    }
}

bool FakeAgent::sendFile(CCommAsyncSocket& connection, const std::string& key) {
    auto file = files.find(key);
    if (file == files.end())
        return connection.SendAll(formatSizeLine(0)) >= 0;
    const std::string& bytes = file->second;
    if (connection.SendAll(formatSizeLine(static_cast<std::int64_t>(bytes.size()))) < 0)
        return false;
    std::size_t sent = 0;
    std::string ack;
    while (sent < bytes.size()) {
        int count = nextBlockSize(static_cast<std::int64_t>(bytes.size()), static_cast<std::int64_t>(sent));
        if (connection.SendAll(bytes.data() + sent, count) < 0 || connection.ReceiveLine(ack, kShortAckCapacity) < 0)
            return false;
        ++acks;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

bool FakeAgent::receiveFile(CCommAsyncSocket& connection, const std::string& key, const char* ready, const char* end) {
    if (connection.SendAll(std::string(ready) + "\n") < 0)
        return false;
    std::string content, line;
    while (connection.ReceiveLine(line, kUploadLineCapacity) >= 0) {
        if (isEndMarker(line, end)) {
            files[key] = content; // only a complete upload replaces the file
            return connection.SendAll(std::string(kGoodSend) + "\n") >= 0;
        }
        content += line + "\n";
    }
    return false;
}

} // namespace kv::test
