#include "agent/AdminPassword.h"

#include "agent/AgentSettings.h"
#include "common/Md5.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <algorithm>
#include <istream>
#include <sys/random.h>
#include <vector>

namespace kv::agent::admin_password {

std::string generate(std::size_t length) {
    static constexpr char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
    constexpr unsigned kSize = sizeof kAlphabet - 1;
    std::string out;
    while (out.size() < length) {
        unsigned char bytes[64];
        ssize_t n = ::getrandom(bytes, sizeof bytes, 0);
        if (n <= 0)
            return {};
        for (ssize_t i = 0; i < n && out.size() < length; ++i) {
            // Rejection keeps every character equally likely.
            if (bytes[i] < 256 - 256 % kSize)
                out.push_back(kAlphabet[bytes[i] % kSize]);
        }
    }
    return out;
}

std::string readFrom(std::istream& in) {
    std::string line;
    if (!std::getline(in, line))
        return {};
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string problemWith(const std::string& password) {
    // A longer password could never log in.
    if (password.empty())
        return "the password is empty";
    if (password.size() > kLongest)
        return "the password is longer than " + std::to_string(kLongest) + " bytes, the most a remote login carries";
    if (hasControlCharacter(password))
        return "the password contains a control character, which a remote login cannot carry";
    if (password == kDefaultPassword)
        return "the password is the well-known default";
    return {};
}

bool usableForRemoteLogin(std::string_view md5Digest) {
    const bool wellFormed = md5Digest.size() == 32 && std::all_of(md5Digest.begin(), md5Digest.end(), [](char c) {
                                return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                            });
    return wellFormed && md5Digest != md5Hex("") && md5Digest != md5Hex(kDefaultPassword);
}

} // namespace kv::agent::admin_password
