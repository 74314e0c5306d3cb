#include "agent/AdminPassword.h"

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
    if (password.empty())
        return "the password is empty";
    if (password.size() > 63)
        return "the password is longer than 63 characters (remote logins read at most 63)";
    return {};
}

} // namespace kv::agent::admin_password
