#include "manager/core/AddressLookup.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <array>
#include <charconv>

namespace kv::core {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Four decimal parts of one to three digits, each at most 255, and nothing else.
std::optional<std::array<int, 4>> dottedQuad(std::string_view text) {
    std::array<int, 4> parts{};
    for (int i = 0; i < 4; ++i) {
        std::size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
            ++digits;
        if (digits == 0 || digits > 3)
            return std::nullopt;
        std::from_chars(text.data(), text.data() + digits, parts[i]);
        if (parts[i] > 255)
            return std::nullopt;
        text.remove_prefix(digits);
        if (i < 3) {
            if (text.empty() || text.front() != '.')
                return std::nullopt;
            text.remove_prefix(1);
        }
    }
    if (!text.empty())
        return std::nullopt;
    return parts;
}

} // namespace

std::optional<std::string> parseAddressReply(std::string_view body) {
    while (!body.empty() && isBlank(body.front()))
        body.remove_prefix(1);
    while (!body.empty() && isBlank(body.back()))
        body.remove_suffix(1);
    if (!dottedQuad(body))
        return std::nullopt;
    return std::string(body);
}

bool isPrivateIpv4(std::string_view address) {
    const auto parts = dottedQuad(address);
    if (!parts)
        return false;
    const auto& p = *parts;
    return p[0] == 10 || (p[0] == 172 && p[1] >= 16 && p[1] <= 31) || (p[0] == 192 && p[1] == 168);
}

std::string localIpv4Address() {
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLoopback())
                return entry.ip().toString().toStdString();
    }
    return {};
}

AddressLookup::AddressLookup(QObject* parent) : QObject(parent), network_(new QNetworkAccessManager(this)) {}

AddressLookup::~AddressLookup() {
    if (reply_)
        reply_->abort();
}

void AddressLookup::start(const QString& url) {
    if (reply_)
        return;
    body_.clear();
    tooLarge_ = false;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(kAddressReplyTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = network_->get(request);
    reply_->setReadBufferSize(kMaxAddressReplyBytes + 1);
    connect(reply_.data(), &QNetworkReply::readyRead, this, &AddressLookup::onReadyRead);
    connect(reply_.data(), &QNetworkReply::finished, this, &AddressLookup::onFinished);
}

void AddressLookup::onReadyRead() {
    if (!reply_ || tooLarge_)
        return;
    body_ += reply_->read(kMaxAddressReplyBytes + 1 - body_.size());
    if (body_.size() > kMaxAddressReplyBytes) {
        tooLarge_ = true;
        reply_->abort();
    }
}

void AddressLookup::onFinished() {
    QNetworkReply* reply = reply_.data();
    if (!reply)
        return;
    onReadyRead();
    const bool ok = !tooLarge_ && reply->error() == QNetworkReply::NoError;
    reply_.clear();
    reply->deleteLater();
    std::optional<std::string> address;
    if (ok)
        address = parseAddressReply(std::string_view(body_.constData(), static_cast<std::size_t>(body_.size())));
    emit finished(address ? QString::fromStdString(*address) : QString());
}

} // namespace kv::core
