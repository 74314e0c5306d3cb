#pragma once

namespace kv::protocol {

// The agent's remote control port unless its settings say otherwise.
constexpr unsigned kDefaultPort = 49310;

// Line capacities of each reader (the longest line is one less).
constexpr int kRequestLineCapacity = 1023;
constexpr int kLoginFieldCapacity = 63;
constexpr int kUploadLineCapacity = 16383;
constexpr int kFileNameLineCapacity = 511; // screenshot and anti-cheat log names, their acknowledgements
constexpr int kShortAckCapacity = 127;     // acknowledgements of setups and other files
constexpr int kSizeLineCapacity = 64;
constexpr int kReplyLineCapacity = 512;
constexpr int kStatusLineCapacity = 8192;

// Raw download blocks, and the longest piece of a file line that an upload sends at once.
constexpr int kBlockSize = 8192;
constexpr int kUploadPieceSize = 16382;
// A monitor feed line that reaches this many characters ends the feed.
constexpr int kFeedLineLimit = 16383;

// Login verdict byte.
constexpr char kLoginAccepted = 1;
constexpr char kLoginRejected = 0;

// Markers.
constexpr const char* kSendFile = "[SendFile]";
constexpr const char* kSendConfig = "[SendConfig]";
constexpr const char* kSendSetup = "[SendSetup]";
constexpr const char* kAbortSend = "[AbortSend]";
constexpr const char* kGoodSend = "[GoodSend]";
constexpr const char* kEndOfFile = "[EndOfFile]";
constexpr const char* kEndOfConfigurationFile = "[EndOfConfigurationFile]";
constexpr const char* kEndOfServerSetupFile = "[EndOfServerSetupFile]";
constexpr const char* kEndDescription = "[EndDescription]";
constexpr const char* kEndOfList = "[EndOfList]";
constexpr const char* kStartOfDescription = "[StartOfDescription]";
constexpr const char* kEndOfDescription = "[EndOfDescription]";
constexpr const char* kEndOfServerStatus = "[EndOfServerStatus]";
constexpr const char* kNextBlock = "NextBlock";
constexpr const char* kOk = "OK";
constexpr const char* kLogin = "Login";
constexpr const char* kRestartNone = "None";

// Stored form of a line break inside the one-line description of a control file.
constexpr const char* kStoredLineBreak = "0xA";

} // namespace kv::protocol
