#pragma once

#include "client/AgentPinning.h"
#include "client/RemoteControlSinks.h"
#include "client/TrustSettings.h"
#include "common/channel/CCommAsyncSocket.h"
#include "common/protocol/ProtocolWords.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// Settings of a client object that the exports leave at their defaults.
struct RemoteControlOptions {
    // Port used when the server address carries none ("address:port" overrides it).
    unsigned port = protocol::kDefaultPort;
    // No call waits forever: a connect gives up after this long, and so does each wait for a reply once
    // connected (a monitor feed, once started, waits for lines without a bound; keep-alive notices a vanished
    // host and MonitorThread::stop() ends it at once).
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds replyTimeout{30000};
    // Longest wait after "Logout" for the agent to close the connection.
    std::chrono::milliseconds logoutWait{500};
    // Folder against which relative local paths ("Server Setups", "PBScreenshots", ...) are taken; empty means
    // the current folder.
    std::string localFolder;
    // Local address to connect from (dotted decimal); empty: any. Lets tests and benchmarks stand for several
    // hosts on loopback.
    std::string localAddress;
    // TLS context; null takes the process-wide one (which the library sets up when it is loaded).
    std::shared_ptr<SslContext> context;
    // Trust file and policy for the agent's identity; empty takes the library's process-wide settings at each
    // contact.
    std::optional<TrustSettings> trust;
};

// The client of one remote agent: every operation connects, checks the agent's identity against the trust file,
// logs in, performs one request, logs out, and shows its progress in the status window. Results are non-zero for
// success, 0 for failure; nothing throws except std::bad_alloc. One thread at a time uses an object.
class CServerRemoteControl {
public:
    CServerRemoteControl();
    CServerRemoteControl(std::string serverAddress, std::string adminName, std::string password,
                         RemoteControlOptions options = {});
    // Two objects must never share one connection, so objects are not copied.
    CServerRemoteControl(const CServerRemoteControl&) = delete;
    CServerRemoteControl& operator=(const CServerRemoteControl&) = delete;
    ~CServerRemoteControl();

    void SetServerInformation(std::string serverAddress, std::string adminName, std::string password);
    void SetStatusWindow(StatusSink* statusWindow) { statusWindow_ = statusWindow; }
    std::string GetLastStatus() const { return lastStatus_; }

    int StartServer();
    int StopServer();
    int GetServerStatus(std::string& setupName, std::string& status, std::string& mapFile, std::string& description,
                        std::string& gameAdminPassword, std::string& gamePlayerPassword, std::uint32_t& totalUpTime,
                        int& serverCrashes, std::int32_t& currentRamUsage, std::int32_t& peakRamUsage);
    int GetRestartTime(std::string& time);
    int SetRestartTime(std::string time);
    int RetrieveServerSetupList(std::vector<std::string>& list);
    int RetrievePunkbusterConfigFileList(std::vector<std::string>& list);
    int RetrievePunkbusterScreenshotFileList(std::vector<std::string>& list, int logs);
    int RetrievePunkbusterScreenshotFile(std::string fileName, int logs);
    int DownloadServerSetup(std::string setupName);
    int DownloadPBConfig(std::string optionFileName);
    int DownloadBanlist(std::string localPath);
    int UploadServerSetup(std::string setupName, std::string localPath);
    int UploadConfiguration(std::string localPath, std::string configurationName, std::string runMode, std::string map,
                            std::string description, std::string gameAdminPassword, std::string gamePlayerPassword);
    int UploadPBConfig(std::string optionFileName);
    int UploadBanlist(std::string localPath);
    int ActivateConfiguration(std::string configurationName);
    int DeleteConfiguration(std::string configurationName);

    // Connects, checks the identity that the agent presents without recording it, and closes without logging in.
    // 1 when the agent could be contacted, whatever the verdict (see LastAgentTrust()).
    int CheckAgentIdentity();
    // How the agent's identity compared with the trust file at the last contact, the fingerprint it presented and
    // the one the trust file holds for it.
    AgentTrust LastAgentTrust() const { return pin_.trust; }
    const std::string& PresentedFingerprint() const { return pin_.presented; }
    const std::string& RecordedFingerprint() const { return pin_.recorded; }

    // Creates the monitor feed thread, suspended, with a connection of its own made from this object's settings;
    // the caller ends it with MonitorThread::release() and may destroy this object at any time.
    MonitorThread* StartMonitor(MonitorSink* monitorWindow, MonitorLines* monitorLines);

    // Session steps, also used by the monitor thread.
    int ConnectToServer();
    int Login();
    int DisconnectFromServer();
    bool IsConnected() const { return connected_; }
    CCommAsyncSocket& Connection() { return connection_; }
    const RemoteControlOptions& Options() const { return options_; }

private:
    enum class Download { Setup, OptionFile, BanList, AntiCheatFile };
    struct UploadFraming {
        const char* readyMarker;
        const char* endMarker;
        const char* progressFormat;
    };

    void show(const std::string& text);
    std::string localPath(const std::string& path) const;
    // Connects and checks the agent's identity; false (connection closed, nothing sent) when it is not trusted,
    // and always closed again after a check.
    bool contactAgent(PinningMode mode);
    bool sendLines(const std::vector<std::string>& lines);
    int readLine(std::string& line, int capacity);
    // Ends a session whose connection failed: nothing more can be said on it.
    int dropConnection();
    int retrieveList(const char* request, const char* progressFormat, std::vector<std::string>& list);
    int download(Download kind, const std::vector<std::string>& requestLines, const std::string& target,
                 const char* progressFormat, const std::string& setupName = {});
    int upload(const std::vector<std::string>& requestLines, const std::string& source, const UploadFraming& framing,
               bool openAfterReady);

    RemoteControlOptions options_;
    CCommAsyncSocket connection_;
    StatusSink* statusWindow_ = nullptr;
    bool connected_ = false;
    std::string serverAddress_;
    std::string adminName_;
    std::string password_;
    std::string lastStatus_;
    PinningVerdict pin_;
};

} // namespace kv
