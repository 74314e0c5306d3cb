// The requests of a logged-in session, each with its access log line and reply.
#include "agent/service/RemoteSession.h"

#include "agent/service/AgentListings.h"
#include "agent/service/FileTransfers.h"
#include "agent/service/SessionFeed.h"
#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/protocol/DescriptionText.h"
#include "common/protocol/FeedLine.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/NameCheck.h"
#include "common/protocol/ProtocolWords.h"
#include "common/protocol/RestartTime.h"

#include <poll.h>

namespace kv::agent::service {

using protocol::Request;

bool RemoteSession::handle(Request request) {
    const AgentFilePaths files = paths();
    switch (request) {
    case Request::Logout:
        return false;
    case Request::StartServer:
        log("KVSM Start Server Request from IP ");
        host_.serverControl(true);
        return true;
    case Request::StopServer:
        log("KVSM Stop Server Request from IP ");
        host_.serverControl(false);
        return true;
    case Request::MonitorFeed:
        return monitorFeed();
    case Request::GetPBScreenShotList:
        sendRecords(screenshotRecords(files));
        return false;
    case Request::GetPBScreenShotFile:
        downloadNamed(files.screenshotFolder(), "", protocol::kFileNameLineCapacity, protocol::kFileNameLineCapacity);
        return false;
    case Request::GetPBLogFileList:
        sendRecords(antiCheatLogRecords(files));
        return false;
    case Request::GetPBLogFile:
        downloadNamed(files.antiCheatLogFolder(), "", protocol::kFileNameLineCapacity, protocol::kFileNameLineCapacity);
        return false;
    case Request::QueryStatLogging:
    case Request::DownloadConfiguration:
        return true;
    case Request::GetStatus:
        log("KVSM Status Request from IP ");
        return connection_->SendAll(protocol::formatStatusRecord(host_.status())) >= 0;
    case Request::GetRestartTime: {
        AgentSettings settings = host_.settings();
        return connection_->SendAll(protocol::formatRestartTimeReply(settings.timedAutoRestartServer,
                                                                     settings.timeOfDayInMinutesToRestartServer)) >= 0;
    }
    case Request::SetRestartTime:
        return setRestartTime();
    case Request::UploadServerSetupFile:
        log("KVSM Upload Configuration Request from IP ");
        return uploadSetup();
    case Request::DownloadServerSetupFile:
        log("KVSM Upload Configuration Request from IP ");
        return downloadNamed(files.setupsFolder(), ".ServerConfig", protocol::kFileNameLineCapacity,
                             protocol::kShortAckCapacity);
    case Request::UploadConfiguration:
        log("KVSM Upload Configuration Request from IP ");
        return uploadConfiguration();
    case Request::ActivateConfiguration:
        log("KVSM Activate Configuration Request from IP ");
        return activate();
    case Request::RemoveConfiguration:
        log("KVSM Remove Configuration Request from IP ");
        return remove();
    case Request::GetConfigurationList:
        log("KVSM Get Configuration List Request from IP ");
        return sendRecords(configurationRecords(files));
    case Request::UploadBanList:
        log("KVSM Upload Configuration Request from IP ");
        return receiveInto(files.banList(), protocol::kSendFile, protocol::kEndOfFile);
    case Request::DownloadBanList:
        return sendFile(*connection_, files.banList(), protocol::kShortAckCapacity);
    case Request::DownloadPBConfig:
        return sendFile(*connection_, files.antiCheatMainConfig(), protocol::kShortAckCapacity);
    case Request::UploadPBConfig:
        log("KVSM Upload PB Config from IP ");
        return receiveInto(files.antiCheatMainConfig(), protocol::kSendFile, protocol::kEndOfFile);
    case Request::DownloadPBOptionFile:
        return downloadNamed(files.antiCheatFolder(), ".cfg", protocol::kRequestLineCapacity,
                             protocol::kShortAckCapacity);
    case Request::UploadPBOptionFile:
        return uploadNamedOptionFile();
    case Request::GetPBCfgFiles:
        log("KVSM Get PB Cfg File List IP ");
        sendRecords(optionFileRecords(files));
        return false;
    }
    return true;
}

namespace {

// Lines of a control file as its readers take them: the configuration list reads 511 characters at once, the
// launch 1023; a longer line would come back in pieces, each read as a line of its own.
constexpr std::size_t kControlLineChars = 511;
constexpr std::size_t kMaxStoredPassword = 255;

} // namespace

bool RemoteSession::receiveInto(const std::string& path, const char* ready, const char* end) {
    return finished(receiveFile(*connection_, path, ready, end));
}

bool RemoteSession::finished(ReceiveResult result) {
    if (result == ReceiveResult::TooLarge)
        host_.agentLog(format("Remote session from %s ended: an upload of more than %lld bytes\n", peer_.c_str(),
                              kMaxUploadBytes));
    return result != ReceiveResult::Broken && result != ReceiveResult::TooLarge;
}

// A name that would reach outside its folder gets the answer of a missing file.
bool RemoteSession::downloadNamed(const std::string& folder, const char* suffix, int nameCapacity, int ackCapacity) {
    std::string name;
    if (!readLine(name, nameCapacity))
        return false;
    if (!protocol::passesShortNameCheck(name))
        return connection_->SendAll(protocol::formatSizeLine(0)) >= 0;
    return sendFile(*connection_, joinPath(folder, name + suffix), ackCapacity);
}

bool RemoteSession::uploadSetup() {
    std::string name;
    if (!readLine(name, protocol::kUploadLineCapacity))
        return false;
    if (!protocol::isConfigurationName(name))
        return send(protocol::kAbortSend); // refused at once, so that the client does not wait for its marker
    const AgentFilePaths files = paths();
    makeDirectories(files.setupsFolder());
    return receiveInto(files.setupFile(name), protocol::kSendSetup, protocol::kEndOfServerSetupFile);
}

bool RemoteSession::uploadConfiguration() {
    std::string name, runMode, map, adminPassword, playerPassword;
    for (std::string* field : {&name, &runMode, &map, &adminPassword, &playerPassword})
        if (!readLine(*field, protocol::kUploadLineCapacity))
            return false;
    protocol::DescriptionCollector description(kControlLineChars - std::string_view("Description=").size());
    for (std::string line;;) {
        if (!readLine(line, protocol::kUploadLineCapacity))
            return false;
        if (description.add(line))
            break;
        if (description.overLimit()) {
            host_.agentLog("Remote session from " + peer_ + " ended: a description beyond its limits\n");
            return false;
        }
    }
    // The description has been read even for refused values, so that none of its lines is taken for a request.
    if (!protocol::isConfigurationName(name) || !protocol::isRunModeName(runMode) || !protocol::isMapName(map) ||
        !protocol::isStorableValue(adminPassword, kMaxStoredPassword) ||
        !protocol::isStorableValue(playerPassword, kMaxStoredPassword))
        return send(protocol::kAbortSend);
    const AgentFilePaths files = paths();
    makeDirectories(files.configurationsFolder());
    std::string control = "Name=" + name + "\nRunMode=" + runMode + "\nMap=" + map + "\nIni=" + name +
                          ".ini\nGamePlayerPassword=" + playerPassword + "\nGameAdminPassword=" + adminPassword +
                          "\nDescription=" + description.stored() + "\n";
    // Both files are replaced together once the configuration has come whole: the .ini first, so that the control
    // file never names an .ini older than itself.
    AtomicFile ini(files.configurationIni(name));
    AtomicFile controlFile(files.controlFile(name));
    if (!ini.open() || !controlFile.open() || !controlFile.write(control))
        return send(protocol::kAbortSend);
    return finished(receiveFile(*connection_, ini, &controlFile, protocol::kSendConfig,
                                protocol::kEndOfConfigurationFile));
}

bool RemoteSession::uploadNamedOptionFile() {
    std::string name;
    if (!readLine(name, protocol::kRequestLineCapacity))
        return false;
    if (!protocol::passesShortNameCheck(name))
        return send(protocol::kAbortSend);
    return receiveInto(paths().optionFile(name), protocol::kSendFile, protocol::kEndOfFile);
}

// A name that an upload could not have made ends the session: it would reach the settings file and the game
// server's command line.
bool RemoteSession::activate() {
    std::string name;
    if (!readLine(name, protocol::kRequestLineCapacity))
        return false;
    if (name.empty())
        return true;
    if (!protocol::isConfigurationName(name))
        return false;
    host_.updateSettings([&](AgentSettings& s) { s.activeControlFile = name + ".Control"; });
    host_.serverControl(false);
    host_.serverControl(true);
    return send(protocol::kOk);
}

bool RemoteSession::remove() {
    std::string name;
    if (!readLine(name, protocol::kRequestLineCapacity))
        return false;
    if (name.empty() || !protocol::passesShortNameCheck(name))
        return true;
    const AgentFilePaths files = paths();
    removeFile(files.controlFile(name));
    removeFile(files.configurationIni(name));
    return send(protocol::kOk);
}

// Only "None" or a minute of the day is taken; anything else changes nothing and ends the session, as "None"
// does, so that the client's logout finds it closed either way.
bool RemoteSession::setRestartTime() {
    log("KVSM Set Restart Time Request from IP ");
    std::string line;
    if (!readLine(line, protocol::kRequestLineCapacity))
        return false;
    std::optional<protocol::RestartTimeSetting> setting = protocol::parseRestartTimeLine(line);
    if (!setting)
        return false;
    if (!setting->enabled) {
        host_.updateSettings([](AgentSettings& s) { s.timedAutoRestartServer = false; });
        return false;
    }
    host_.updateSettings([&](AgentSettings& s) {
        s.timedAutoRestartServer = true;
        s.timeOfDayInMinutesToRestartServer = static_cast<int>(setting->minutes);
    });
    host_.accessLog("Restart time passed was " + line);
    return true;
}

bool RemoteSession::sendRecords(const std::vector<std::string>& records) {
    std::string out;
    for (const std::string& record : records)
        out += record;
    out += protocol::kEndOfList;
    out += '\n';
    return connection_->SendAll(out) >= 0;
}

bool RemoteSession::monitorFeed() {
    auto feed = std::make_shared<SessionFeed>();
    std::vector<OutputLine> history;
    const bool attached = host_.attachFeed(feed, history);
    const bool memory = host_.showMemory();
    auto formatted = [memory](const OutputLine& line) {
        return protocol::formatFeedLine(toLocalTime(line.time),
                                        memory ? std::optional<long>(line.memoryK) : std::nullopt, line.text);
    };
    std::string out;
    bool sent = true;
    for (std::size_t i = 0; i < history.size() && sent; ++i) {
        out += formatted(history[i]);
        if (out.size() >= 64 * 1024 || i + 1 == history.size()) {
            sent = connection_->SendAll(out) >= 0;
            out.clear();
        }
    }
    if (!sent || !attached) {
        host_.detachFeed(feed.get());
        return false;
    }
    for (bool over = false; !over;) {
        out.clear();
        for (const OutputLine& line : feed->take(limits_.feedCheck, over))
            out += formatted(line);
        if (!out.empty() && connection_->SendAll(out) < 0)
            break;
        // The client says nothing during a feed; input (its logout) or its closing ends the feed.
        pollfd input{connection_->Handle(), POLLIN, 0};
        if (::poll(&input, 1, 0) != 0)
            break;
    }
    host_.detachFeed(feed.get());
    return false;
}

} // namespace kv::agent::service
