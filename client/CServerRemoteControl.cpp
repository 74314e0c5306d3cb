#include "client/CServerRemoteControl.h"

#include "client/CMonitorServerOutputThread.h"
#include "client/TrustEntry.h"

#include "common/Files.h"
#include "common/protocol/HostAndPort.h"
#include "common/protocol/NameCheck.h"
#include "common/protocol/Request.h"
#include "common/protocol/StatusRecordParser.h"

#include <poll.h>

namespace kv {

using protocol::Request;
using protocol::requestWord;

CServerRemoteControl::CServerRemoteControl() : CServerRemoteControl({}, {}, {}) {}

CServerRemoteControl::CServerRemoteControl(std::string serverAddress, std::string adminName, std::string password,
                                           RemoteControlOptions options)
    : options_(std::move(options)), connection_(options_.context ? options_.context : processSslContext()),
      serverAddress_(std::move(serverAddress)), adminName_(std::move(adminName)), password_(std::move(password)) {
    connection_.SetTimeouts(options_.connectTimeout, options_.replyTimeout);
    connection_.CreateBound(0, SOCK_STREAM, options_.localAddress.c_str());
}

CServerRemoteControl::~CServerRemoteControl() = default;

void CServerRemoteControl::SetServerInformation(std::string serverAddress, std::string adminName,
                                                std::string password) {
    serverAddress_ = std::move(serverAddress);
    adminName_ = std::move(adminName);
    password_ = std::move(password);
}

void CServerRemoteControl::show(const std::string& text) {
    if (statusWindow_ && statusWindow_->alive())
        statusWindow_->setText(text);
}

std::string CServerRemoteControl::localPath(const std::string& path) const {
    if (options_.localFolder.empty() || (!path.empty() && path.front() == '/'))
        return path;
    return joinPath(options_.localFolder, path);
}

bool CServerRemoteControl::sendLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return connection_.SendAll(out) == static_cast<int>(out.size());
}

int CServerRemoteControl::readLine(std::string& line, int capacity) {
    return connection_.ReceiveLine(line, capacity);
}

int CServerRemoteControl::dropConnection() {
    connection_.Close();
    connected_ = false;
    return 0;
}

bool CServerRemoteControl::contactAgent(PinningMode mode) {
    pin_ = {};
    if (!connection_.IsOpen())
        connection_.CreateBound(0, SOCK_STREAM, options_.localAddress.c_str());
    show("Contacting Server Remote Control Utility , please wait...");
    auto target = protocol::parseHostAndPort(serverAddress_, options_.port);
    if (target && !isAcceptableTrustHost(target->host)) {
        show("The host name cannot be used: it is longer than 255 bytes or holds a blank, a control character or '#'.");
        return false;
    }
    if (!target || !connection_.ConnectTo(target->host, target->port)) {
        show("Server Remote Control Utility could not be contacted.");
        return false;
    }
    std::string presented = connection_.PeerFingerprint();
    if (presented.empty()) {
        dropConnection();
        show("Server Remote Control Utility could not be contacted: it presented no certificate.");
        return false;
    }
    pin_ = checkAgentPin(options_.trust ? *options_.trust : processTrustSettings(), target->host, target->port,
                         presented, mode);
    if (!pin_.text.empty())
        show(pin_.text);
    if (mode == PinningMode::Check || !pin_.trusted()) {
        dropConnection();
        return false;
    }
    return true;
}

int CServerRemoteControl::ConnectToServer() {
    if (connected_)
        return 1;
    if (!contactAgent(PinningMode::Connect))
        return 0;
    if (!Login()) {
        // The agent has ended the session; this socket cannot be used again.
        dropConnection();
        return 0;
    }
    connected_ = true;
    return 1;
}

int CServerRemoteControl::CheckAgentIdentity() {
    if (connected_)
        return 0;
    contactAgent(PinningMode::Check);
    return pin_.trust != AgentTrust::NoContact ? 1 : 0;
}

int CServerRemoteControl::Login() {
    show("Logging in to Server Remote Control Utility...");
    if (!protocol::isSingleLine(adminName_) || !protocol::isSingleLine(password_))
        return 0;
    if (!sendLines({protocol::kLogin, adminName_, password_}))
        return 0;
    char verdict = protocol::kLoginRejected;
    if (connection_.ReceiveByte(&verdict) != 1 || verdict == protocol::kLoginRejected)
        return 0;
    show("Connected to Server Remote Control Utility , please wait...");
    return 1;
}

int CServerRemoteControl::DisconnectFromServer() {
    if (sendLines({requestWord(Request::Logout)}) && connection_.IsOpen()) {
        // Give the agent time to read the line; it closes the connection when it has.
        pollfd closed{connection_.Handle(), POLLIN, 0};
        ::poll(&closed, 1, static_cast<int>(options_.logoutWait.count()));
    }
    connection_.Close();
    connected_ = false;
    return 1;
}

int CServerRemoteControl::StartServer() {
    if (!ConnectToServer())
        return 0;
    if (!sendLines({requestWord(Request::StartServer)}))
        return dropConnection();
    return DisconnectFromServer();
}

int CServerRemoteControl::StopServer() {
    if (!ConnectToServer())
        return 0;
    if (!sendLines({requestWord(Request::StopServer)}))
        return dropConnection();
    return DisconnectFromServer();
}

int CServerRemoteControl::GetServerStatus(std::string& setupName, std::string& status, std::string& mapFile,
                                          std::string& description, std::string& gameAdminPassword,
                                          std::string& gamePlayerPassword, std::uint32_t& totalUpTime,
                                          int& serverCrashes, std::int32_t& currentRamUsage,
                                          std::int32_t& peakRamUsage) {
    if (!ConnectToServer())
        return 0;
    show("Connected to Server Remote Control, retrieving status...");
    if (!sendLines({requestWord(Request::GetStatus)}))
        return dropConnection();
    protocol::StatusRecord record{status,      mapFile,     setupName,     gameAdminPassword, gamePlayerPassword,
                                  description, totalUpTime, serverCrashes, currentRamUsage,   peakRamUsage};
    protocol::StatusRecordParser parser(record);
    std::string line;
    // A broken connection keeps the fields read so far.
    while (readLine(line, protocol::kStatusLineCapacity) >= 0 && !parser.add(line)) {
    }
    setupName = record.setupName;
    status = record.status;
    mapFile = record.mapFile;
    description = record.description;
    gameAdminPassword = record.gameAdminPassword;
    gamePlayerPassword = record.gamePlayerPassword;
    totalUpTime = record.totalUpTimeMinutes;
    serverCrashes = record.serverCrashes;
    currentRamUsage = record.currentRamKiB;
    peakRamUsage = record.peakRamKiB;
    DisconnectFromServer();
    show("Server Remote Control status retrieved.");
    return 1;
}

int CServerRemoteControl::GetRestartTime(std::string& time) {
    if (!ConnectToServer())
        return 0;
    std::string reply;
    if (!sendLines({requestWord(Request::GetRestartTime)}) || readLine(reply, protocol::kReplyLineCapacity) < 0)
        return dropConnection();
    time = reply;
    return DisconnectFromServer();
}

int CServerRemoteControl::SetRestartTime(std::string time) {
    if (!protocol::isSingleLine(time) || !ConnectToServer())
        return 0;
    if (!sendLines({requestWord(Request::SetRestartTime), time}))
        return dropConnection();
    return DisconnectFromServer();
}

int CServerRemoteControl::ActivateConfiguration(std::string configurationName) {
    // The agent answers nothing to an empty name or one with a path part, so there would be nothing to wait for.
    if (!protocol::passesShortNameCheck(configurationName) || !protocol::isSingleLine(configurationName) ||
        !ConnectToServer())
        return 0;
    std::string reply;
    if (!sendLines({requestWord(Request::ActivateConfiguration), configurationName}) ||
        readLine(reply, protocol::kReplyLineCapacity) < 0)
        return dropConnection();
    return DisconnectFromServer();
}

int CServerRemoteControl::DeleteConfiguration(std::string configurationName) {
    if (!protocol::isSingleLine(configurationName) || !ConnectToServer())
        return 0;
    if (!sendLines({requestWord(Request::RemoveConfiguration), configurationName}))
        return dropConnection();
    show("Server Setup Deleted");
    return DisconnectFromServer();
}

MonitorThread* CServerRemoteControl::StartMonitor(MonitorSink* monitorWindow, MonitorLines* monitorLines) {
    // The feed outlives calls on this object and may outlive the object itself, so it gets its own. It shows no
    // progress: the status window belongs to this object's caller and may go with it.
    auto own = std::make_unique<CServerRemoteControl>(serverAddress_, adminName_, password_, options_);
    return new CMonitorServerOutputThread(std::move(own), monitorWindow, monitorLines);
}

} // namespace kv
