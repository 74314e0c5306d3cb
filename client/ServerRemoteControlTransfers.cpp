#include "client/CServerRemoteControl.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LineReader.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/NameCheck.h"
#include "common/protocol/OptionFileCopy.h"
#include "common/protocol/Request.h"

#include <vector>

namespace kv {

using protocol::Request;
using protocol::requestWord;

namespace {

constexpr std::size_t kSendBatch = 64 * 1024; // lines are gathered before a write; the stream is the same

int percent(std::int64_t done, std::int64_t total) {
    return total > 0 ? static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0) : 100;
}

} // namespace

int CServerRemoteControl::download(Download kind, const std::vector<std::string>& requestLines,
                                   const std::string& target, const char* progressFormat,
                                   const std::string& setupName) {
    if (!ConnectToServer())
        return 0;
    std::string line;
    if (!sendLines(requestLines) || readLine(line, protocol::kSizeLineCapacity) < 0)
        return dropConnection();
    std::optional<std::int64_t> size = protocol::parseSizeLine(line);
    if (!size) // blocks of unknown length would follow
        return dropConnection();
    if (*size == 0) {
        switch (kind) {
        case Download::Setup:
            // The agent has no setup of that name: its configuration of that name is removed.
            DeleteConfiguration(setupName);
            return 0;
        case Download::OptionFile:
        case Download::BanList:
            return 1; // the session stays logged in for the object's next operation
        case Download::AntiCheatFile:
            break; // an empty local file
        }
    }
    std::string folder(dirName(target));
    if (!folder.empty() && folder != "." && !makeDirectories(folder))
        return dropConnection();
    // The old local file stays in place until the new one is complete.
    AtomicFile file(target);
    if (!file.open())
        return dropConnection();
    std::vector<char> block(protocol::kBlockSize);
    const std::string ack = std::string(protocol::kNextBlock) + "\n";
    std::int64_t received = 0;
    int shown = -1;
    while (received < *size) {
        int count = protocol::nextBlockSize(*size, received);
        if (connection_.ReceiveExact(block.data(), count) != count || !file.write({block.data(), std::size_t(count)}) ||
            connection_.SendAll(ack) < 0) {
            file.discard();
            return dropConnection();
        }
        received += count;
        if (int now = percent(received, *size); now != shown) {
            shown = now;
            show(format(progressFormat, now));
        }
    }
    bool stored = file.commit();
    DisconnectFromServer();
    return stored ? 1 : 0;
}

int CServerRemoteControl::upload(const std::vector<std::string>& requestLines, const std::string& source,
                                 const UploadFraming& framing, bool openAfterReady) {
    const std::int64_t size = fileSize(source).value_or(0);
    LineReader reader = LineReader::openFile(source);
    if (!reader.ok() && !openAfterReady)
        return 0;
    if (!ConnectToServer())
        return 0;
    std::string reply;
    if (!sendLines(requestLines) || readLine(reply, protocol::kReplyLineCapacity) < 0)
        return dropConnection();
    int result = 0;
    if (protocol::isMarker(reply, framing.readyMarker)) {
        if (openAfterReady)
            reader = LineReader::openFile(source); // a file that cannot be read sends no lines
        std::string out;
        std::string piece;
        bool endsWithFeed = true;
        int shown = -1;
        // Pieces end at a line feed or after 16382 characters: exactly the lines that the agent will read.
        while (reader.ok() && reader.next(piece, protocol::kUploadPieceSize, LineReader::Break::Keep)) {
            if (protocol::isEndMarker(piece, framing.endMarker)) {
                // The agent would take this line for the end and read the rest as requests; end the session
                // without the end marker instead, so that the agent keeps its old file.
                return dropConnection();
            }
            out += piece;
            endsWithFeed = piece.back() == '\n';
            if (out.size() >= kSendBatch) {
                if (connection_.SendAll(out) < 0)
                    return dropConnection();
                out.clear();
            }
            if (int now = percent(static_cast<std::int64_t>(reader.position()), size); now != shown) {
                shown = now;
                show(format(framing.progressFormat, now));
            }
        }
        if (!endsWithFeed)
            out += '\n'; // the end marker must begin a line of its own
        out += framing.endMarker;
        out += '\n';
        if (connection_.SendAll(out) < 0 || readLine(reply, protocol::kReplyLineCapacity) < 0)
            return dropConnection();
        result = protocol::isMarker(reply, protocol::kGoodSend) ? 1 : 0;
    }
    DisconnectFromServer();
    return result;
}

int CServerRemoteControl::RetrievePunkbusterScreenshotFile(std::string fileName, int logs) {
    // The name comes from the agent's list; it must not lead outside the download folder.
    if (!protocol::passesShortNameCheck(fileName) || !protocol::isSingleLine(fileName))
        return 0;
    Request request = logs ? Request::GetPBLogFile : Request::GetPBScreenShotFile;
    std::string target = localPath(joinPath(logs ? "PBLogs" : "PBScreenshots", fileName));
    return download(Download::AntiCheatFile, {requestWord(request), fileName}, target, "Retrieved %d%% of PB File");
}

int CServerRemoteControl::DownloadServerSetup(std::string setupName) {
    if (!protocol::passesShortNameCheck(setupName) || !protocol::isSingleLine(setupName))
        return 0;
    std::string target = localPath(joinPath("Server Setups", setupName + ".ServerConfig"));
    return download(Download::Setup, {requestWord(Request::DownloadServerSetupFile), setupName}, target,
                    "Retrieved %d%% of Server Setup File", setupName);
}

int CServerRemoteControl::DownloadPBConfig(std::string optionFileName) {
    if (!protocol::passesShortNameCheck(optionFileName) || !protocol::isSingleLine(optionFileName))
        return 0;
    std::string target = localPath(protocol::optionFileCopyName(serverAddress_, optionFileName + ".cfg"));
    return download(Download::OptionFile, {requestWord(Request::DownloadPBOptionFile), optionFileName}, target,
                    "Retrieved %d%% of Server Setup File");
}

int CServerRemoteControl::DownloadBanlist(std::string localPathText) {
    if (localPathText.empty())
        return 0;
    return download(Download::BanList, {requestWord(Request::DownloadBanList)}, localPath(localPathText),
                    "Retrieved %d%% of Server Setup File");
}

int CServerRemoteControl::UploadServerSetup(std::string setupName, std::string localPathText) {
    if (!protocol::isSingleLine(setupName))
        return 0;
    return upload({requestWord(Request::UploadServerSetupFile), setupName}, localPath(localPathText),
                  {protocol::kSendSetup, protocol::kEndOfServerSetupFile, "%d%% of Server Setup File Transmitted"},
                  false);
}

int CServerRemoteControl::UploadConfiguration(std::string localPathText, std::string configurationName,
                                              std::string runMode, std::string map, std::string description,
                                              std::string gameAdminPassword, std::string gamePlayerPassword) {
    for (const std::string* field : {&configurationName, &runMode, &map, &gameAdminPassword, &gamePlayerPassword})
        if (!protocol::isSingleLine(*field))
            return 0;
    std::vector<std::string> lines{requestWord(Request::UploadConfiguration),
                                   configurationName,
                                   runMode,
                                   map,
                                   gameAdminPassword,
                                   gamePlayerPassword};
    LineReader descriptionLines(description);
    std::string line;
    while (descriptionLines.next(line, description.size() + 1, LineReader::Break::CrLf)) {
        // A line that reads as the end of the description would turn the rest into requests.
        if (line == protocol::kEndDescription)
            return 0;
        lines.push_back(line);
    }
    lines.push_back(protocol::kEndDescription);
    return upload(
        lines, localPath(localPathText),
        {protocol::kSendConfig, protocol::kEndOfConfigurationFile, "%d%% of Server Configuration File Transmitted"},
        true);
}

int CServerRemoteControl::UploadPBConfig(std::string optionFileName) {
    if (!protocol::passesShortNameCheck(optionFileName) || !protocol::isSingleLine(optionFileName))
        return 0;
    std::string source = localPath(protocol::optionFileCopyName(serverAddress_, optionFileName + ".cfg"));
    return upload({requestWord(Request::UploadPBOptionFile), optionFileName}, source,
                  {protocol::kSendFile, protocol::kEndOfFile, "%d%% of PB Configuration File Transmitted"}, false);
}

int CServerRemoteControl::UploadBanlist(std::string localPathText) {
    return upload({requestWord(Request::UploadBanList)}, localPath(localPathText),
                  {protocol::kSendFile, protocol::kEndOfFile, "%d%% of Server Ban List File Transmitted"}, false);
}

} // namespace kv
