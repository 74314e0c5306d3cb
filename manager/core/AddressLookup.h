#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QNetworkAccessManager;
class QNetworkReply;

namespace kv::core {

// The endpoint (ManagerSettings::addressReportUrl) answers a plain GET with the address as the reply body.
inline constexpr qint64 kMaxAddressReplyBytes = 4096;
inline constexpr int kAddressReplyTimeoutMs = 10000;

// The dotted IPv4 address that a reply body holds (white space around it allowed), or nothing for any other reply:
// the text ends up in a setup file and on the game server's command line.
std::optional<std::string> parseAddressReply(std::string_view body);

// True for 10/8, 172.16/12 and 192.168/16: an address behind a home or office router.
bool isPrivateIpv4(std::string_view address);

// The IPv4 address of the first interface that is up, not a loopback and has one; empty when there is none.
std::string localIpv4Address();

// One question to the address-report endpoint at a time, asynchronous; finished() comes once per start(), with an
// empty address when the endpoint could not be reached, answered too slowly, too much or with no address.
class AddressLookup : public QObject {
    Q_OBJECT
public:
    explicit AddressLookup(QObject* parent = nullptr);
    ~AddressLookup() override;

    void start(const QString& url);
    bool running() const { return !reply_.isNull(); }

signals:
    void finished(const QString& address);

private:
    void onReadyRead();
    void onFinished();

    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    bool tooLarge_ = false;
};

} // namespace kv::core
