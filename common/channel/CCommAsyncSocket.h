#pragma once

#include "common/channel/OpenSslHandles.h"
#include "common/channel/SslContext.h"

#include <chrono>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <vector>

namespace kv {

// A blocking TCP connection with a TLS session laid over it, plus the reading primitives of the remote control
// protocol. Byte operations report failure as -1, connect, bind, listen and accept as 0; nothing throws. A peer
// that closed the connection makes every read give -1. Line and exact reads never take a byte from the stream
// beyond what they return, so raw blocks that follow a line stay in the stream.
//
// One object is used by one thread at a time.
class CCommAsyncSocket {
public:
    // `context` null: a plain connection (the channel always has one in the programs; tests may leave it out).
    explicit CCommAsyncSocket(std::shared_ptr<SslContext> context = nullptr);
    CCommAsyncSocket(const CCommAsyncSocket&) = delete;
    CCommAsyncSocket& operator=(const CCommAsyncSocket&) = delete;
    ~CCommAsyncSocket();

    // Creates an IPv4 socket of `socketType` bound to `port` on `localAddress` (dotted decimal; null or empty means
    // any address). A listening port is bound with SO_REUSEADDR so that a restarted agent gets its port back.
    int CreateBound(unsigned port, int socketType = SOCK_STREAM, const char* localAddress = nullptr);
    int Listen(int backlog = 5);
    // Accepts one pending connection into `connection` (its earlier socket is closed). The TLS handshake is not
    // run here: it happens on the first read or write of the new connection, on the thread that serves it, so a
    // silent client cannot hold up the listener. `peerAddress` receives "a.b.c.d".
    int AcceptInto(CCommAsyncSocket& connection, std::string* peerAddress = nullptr);
    // Resolves `host` (dotted decimal, else by name, first IPv4 answer), connects within the connect time-out and
    // runs the client handshake within the reply time-out. An unresolvable host leaves the socket open and
    // unconnected with LastError() EINVAL; a failed handshake closes the socket.
    int ConnectTo(const std::string& host, unsigned port);
    // SHA-256 fingerprint of the certificate that the peer presented in this connection's handshake (as
    // certificateFingerprint() writes it); empty without a TLS session or a certificate.
    std::string PeerFingerprint() const;
    // Runs the server side of the handshake of an accepted connection now (it otherwise runs with the first read
    // or write). Non-zero on success; on failure the connection is closed.
    int CompleteHandshake();
    // Shuts the session down, frees it and closes the socket; nothing when already closed.
    void Close();

    // One read or write. Receive gives bytes read, 0 when the peer closed the connection, -1 on failure; the flag
    // MSG_PEEK looks at the data without taking it.
    int Receive(void* buffer, int size, int flags = 0);
    int Send(const void* data, int length, int flags = 0);

    int SendAll(const void* data, int length, int flags = 0);
    int SendAll(const std::string& data) { return SendAll(data.data(), static_cast<int>(data.size())); }
    int ReceiveByte(char* byte);
    int ReceiveExact(void* buffer, int count);
    // Reads one line of at most capacity - 1 bytes into `buffer`, NUL-terminated. The line is cut at its first
    // carriage return or line feed; the result is its length. A line without a line feed within capacity - 1
    // bytes comes back as that much, and its rest is the next line.
    int ReceiveLine(char* buffer, int capacity);
    int ReceiveLine(std::string& line, int capacity);
    // As ReceiveLine, but a line is never split: one whose line feed does not come within `capacity` bytes (line
    // feed included) gives kLineTooLong, its bytes read so far consumed. For peers that must not be able to
    // smuggle a second line into one.
    static constexpr int kLineTooLong = -2;
    int ReceiveWholeLine(std::string& line, int capacity);

    bool IsOpen() const { return fd_ >= 0; }
    int Handle() const { return fd_; }
    // Errno-style code of the last failure that the operations above keep.
    int LastError() const { return lastError_; }
    // Local port of a bound socket (0 when unknown).
    unsigned LocalPort() const;

    void SetSslEnabled(bool enabled) { sslEnabled_ = enabled; }
    bool SslEnabled() const { return sslEnabled_; }

    // Bounds for connecting, and for each read and write once connected; zero waits without a bound. Applied to
    // the open socket at once and to every later one.
    void SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds reply);
    void SetReplyTimeout(std::chrono::milliseconds reply);
    // Keep-alive probes after `idle` without traffic, every `interval`, giving up after `count` unanswered ones;
    // unacknowledged data gives up after `userTimeout`. For reads that wait without a bound on the open socket:
    // a vanished peer then fails them instead of holding them forever. False when the socket refused an option.
    bool SetKeepAlive(std::chrono::seconds idle, std::chrono::seconds interval, int count,
                      std::chrono::milliseconds userTimeout);

private:
    bool createSocket(int socketType);
    void applyReplyTimeout();
    bool connectWithTimeout(const void* address, unsigned length);
    int readSome(void* buffer, int size, bool peek);
    int receiveLine(char* buffer, int capacity, bool whole);
    int receiveLine(std::string& line, int capacity, bool whole);

    std::shared_ptr<SslContext> context_;
    int fd_ = -1;
    SslPtr ssl_;
    bool sslEnabled_ = true;
    int lastError_ = 0;
    std::chrono::milliseconds connectTimeout_{0};
    std::chrono::milliseconds replyTimeout_{0};
    std::vector<char> lineBuffer_;
};

} // namespace kv
