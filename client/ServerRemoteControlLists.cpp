#include "client/CServerRemoteControl.h"

#include "common/Format.h"
#include "common/protocol/ListRecords.h"
#include "common/protocol/Request.h"

namespace kv {

using protocol::Request;
using protocol::requestWord;

int CServerRemoteControl::retrieveList(const char* request, const char* progressFormat,
                                       std::vector<std::string>& list) {
    if (!sendLines({request}))
        return dropConnection();
    std::string line;
    int count = 0;
    for (;;) {
        if (readLine(line, protocol::kReplyLineCapacity) < 0)
            return dropConnection();
        if (protocol::isEndOfList(line))
            break;
        list.push_back(line);
        show(format(progressFormat, ++count));
    }
    return DisconnectFromServer();
}

int CServerRemoteControl::RetrieveServerSetupList(std::vector<std::string>& list) {
    if (!ConnectToServer()) {
        show("Failure contacting server");
        return 0;
    }
    show("Retrieving Server Setup List");
    return retrieveList(requestWord(Request::GetConfigurationList), "Retrieved Information for %d Server Setups", list);
}

int CServerRemoteControl::RetrievePunkbusterConfigFileList(std::vector<std::string>& list) {
    if (!ConnectToServer())
        return 0;
    return retrieveList(requestWord(Request::GetPBCfgFiles), "Retrieved PB Configuration Record %d", list);
}

int CServerRemoteControl::RetrievePunkbusterScreenshotFileList(std::vector<std::string>& list, int logs) {
    if (!ConnectToServer())
        return 0;
    Request request = logs ? Request::GetPBLogFileList : Request::GetPBScreenShotList;
    return retrieveList(requestWord(request), "Retrieved PB Information Record %d", list);
}

} // namespace kv
