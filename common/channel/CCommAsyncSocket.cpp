#include "common/channel/CCommAsyncSocket.h"

#include "common/channel/Fingerprint.h"
#include "common/channel/SigPipeGuard.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <poll.h>
#include <unistd.h>

namespace kv {

namespace {

constexpr int kFirstPeek = 256; // enough for most lines; longer ones are looked at in growing windows

timeval toTimeval(std::chrono::milliseconds ms) {
    timeval tv{};
    tv.tv_sec = static_cast<time_t>(ms.count() / 1000);
    tv.tv_usec = static_cast<suseconds_t>((ms.count() % 1000) * 1000);
    return tv;
}

bool setBlocking(int fd, bool blocking) {
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

// SSL_get_error needs an empty error queue before each read or write. Clearing it walks and frees every slot,
// which costs more than a one-byte read of a buffered record, so only a queue that holds something is cleared.
void clearErrorQueue() {
    if (ERR_peek_error() != 0)
        ERR_clear_error();
}

} // namespace

CCommAsyncSocket::CCommAsyncSocket(std::shared_ptr<SslContext> context) : context_(std::move(context)) {}

CCommAsyncSocket::~CCommAsyncSocket() {
    Close();
}

bool CCommAsyncSocket::createSocket(int socketType) {
    Close();
    fd_ = ::socket(AF_INET, socketType | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        lastError_ = errno;
        return false;
    }
    applyReplyTimeout();
    return true;
}

int CCommAsyncSocket::CreateBound(unsigned port, int socketType, const char* localAddress) {
    if (!createSocket(socketType))
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (localAddress && *localAddress && ::inet_pton(AF_INET, localAddress, &address.sin_addr) != 1) {
        lastError_ = EINVAL;
        Close();
        return 0;
    }
    // Any port on any address: the kernel picks the port when connecting, where it can avoid the pairs that
    // recent connections still hold (binding port 0 now would not, and busy clients would run out).
    if (port == 0 && address.sin_addr.s_addr == htonl(INADDR_ANY))
        return 1;
    if (port != 0) {
        int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        Close();
        lastError_ = error;
        return 0;
    }
    return 1;
}

int CCommAsyncSocket::Listen(int backlog) {
    if (fd_ < 0 || ::listen(fd_, backlog) != 0) {
        lastError_ = fd_ < 0 ? EBADF : errno;
        return 0;
    }
    return 1;
}

int CCommAsyncSocket::AcceptInto(CCommAsyncSocket& connection, std::string* peerAddress) {
    connection.Close();
    sockaddr_in address{};
    socklen_t length = sizeof address;
    int fd = -1;
    do {
        fd = ::accept4(fd_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        lastError_ = errno;
        connection.lastError_ = errno;
        return 0;
    }
    connection.fd_ = fd;
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    connection.sslEnabled_ = sslEnabled_;
    connection.applyReplyTimeout();
    if (peerAddress) {
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
        *peerAddress = text;
    }
    if (sslEnabled_ && context_) {
        connection.context_ = context_;
        connection.ssl_.reset(SSL_new(context_->native()));
        if (!connection.ssl_ || SSL_set_fd(connection.ssl_.get(), fd) != 1) {
            connection.Close();
            lastError_ = EPROTO;
            return 0;
        }
        SSL_set_accept_state(connection.ssl_.get());
    }
    return 1;
}

bool CCommAsyncSocket::connectWithTimeout(const void* address, unsigned length) {
    if (!setBlocking(fd_, false)) {
        lastError_ = errno;
        return false;
    }
    int result = ::connect(fd_, static_cast<const sockaddr*>(address), length);
    int error = result == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd waitFor{fd_, POLLOUT, 0};
        int timeout = connectTimeout_.count() > 0 ? static_cast<int>(connectTimeout_.count()) : -1;
        int ready = 0;
        do {
            ready = ::poll(&waitFor, 1, timeout);
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) {
            error = ETIMEDOUT;
        } else {
            socklen_t size = sizeof error;
            if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                error = errno;
        }
    }
    setBlocking(fd_, true);
    int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    // Every exchange is a small line answered by the peer: no write should wait for an earlier one's ACK.
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    lastError_ = error;
    return error == 0;
}

int CCommAsyncSocket::ConnectTo(const std::string& host, unsigned port) {
    if (fd_ < 0 && !CreateBound(0))
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* answer = nullptr;
        if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &answer) != 0 || !answer) {
            lastError_ = EINVAL;
            return 0;
        }
        address.sin_addr = reinterpret_cast<sockaddr_in*>(answer->ai_addr)->sin_addr;
        ::freeaddrinfo(answer);
    }
    if (!connectWithTimeout(&address, sizeof address))
        return 0;
    if (!context_ || !sslEnabled_)
        return 1;
    ssl_.reset(SSL_new(context_->native()));
    if (!ssl_ || SSL_set_fd(ssl_.get(), fd_) != 1) {
        Close();
        lastError_ = EPROTO;
        return 0;
    }
    ERR_clear_error();
    int result = 0;
    {
        SigPipeGuard guard;
        result = SSL_connect(ssl_.get());
    }
    if (result > 0)
        return 1;
    lastSslErrorText(); // read off the queue; the caller reports "could not be contacted"
    ssl_.reset();       // a failed session must not send close_notify
    Close();
    lastError_ = ECONNREFUSED;
    return 0;
}

std::string CCommAsyncSocket::PeerFingerprint() const {
    if (fd_ < 0 || !ssl_)
        return {};
    return certificateFingerprint(SSL_get0_peer_certificate(ssl_.get()));
}

int CCommAsyncSocket::CompleteHandshake() {
    if (fd_ < 0)
        return 0;
    if (!ssl_ || !sslEnabled_ || SSL_is_init_finished(ssl_.get()))
        return 1;
    ERR_clear_error();
    int result = 0;
    {
        SigPipeGuard guard;
        result = SSL_do_handshake(ssl_.get());
    }
    if (result > 0)
        return 1;
    ERR_clear_error();
    ssl_.reset();
    Close();
    lastError_ = EPROTO;
    return 0;
}

void CCommAsyncSocket::Close() {
    if (fd_ < 0)
        return;
    if (ssl_) {
        if (SSL_is_init_finished(ssl_.get())) {
            SigPipeGuard guard;
            SSL_shutdown(ssl_.get());
        }
        ssl_.reset();
        ERR_clear_error();
    }
    ::close(fd_);
    fd_ = -1;
}

int CCommAsyncSocket::readSome(void* buffer, int size, bool peek) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return -1;
    }
    if (size <= 0)
        return 0;
    if (ssl_ && sslEnabled_) {
        clearErrorQueue();
        int n = 0;
        errno = 0;
        if (SSL_is_init_finished(ssl_.get())) {
            n = peek ? SSL_peek(ssl_.get(), buffer, size) : SSL_read(ssl_.get(), buffer, size);
        } else {
            SigPipeGuard guard; // the first read of an accepted connection runs the handshake, which writes
            n = peek ? SSL_peek(ssl_.get(), buffer, size) : SSL_read(ssl_.get(), buffer, size);
        }
        if (n > 0)
            return n;
        int error = SSL_get_error(ssl_.get(), n);
        ERR_clear_error();
        if (error == SSL_ERROR_ZERO_RETURN)
            return 0;
        lastError_ = (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) ? ETIMEDOUT
                     : errno != 0                                                    ? errno
                                                                                     : EPROTO;
        // A session that failed must not be shut down cleanly later; drop it so that Close only closes.
        if (error == SSL_ERROR_SSL || error == SSL_ERROR_SYSCALL)
            ssl_.reset();
        return -1;
    }
    ssize_t n = 0;
    do {
        n = ::recv(fd_, buffer, static_cast<size_t>(size), peek ? MSG_PEEK : 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        lastError_ = (errno == EAGAIN || errno == EWOULDBLOCK) ? ETIMEDOUT : errno;
        return -1;
    }
    return static_cast<int>(n);
}

int CCommAsyncSocket::Receive(void* buffer, int size, int flags) {
    return readSome(buffer, size, flags & MSG_PEEK);
}

int CCommAsyncSocket::Send(const void* data, int length, int flags) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return -1;
    }
    if (length <= 0)
        return 0;
    if (ssl_ && sslEnabled_) {
        clearErrorQueue();
        int n = 0;
        errno = 0;
        {
            SigPipeGuard guard;
            n = SSL_write(ssl_.get(), data, length);
        }
        if (n > 0)
            return n;
        int error = SSL_get_error(ssl_.get(), n);
        ERR_clear_error();
        lastError_ = errno != 0 ? errno : EPROTO;
        if (error == SSL_ERROR_SSL || error == SSL_ERROR_SYSCALL)
            ssl_.reset();
        return -1;
    }
    ssize_t n = 0;
    do {
        n = ::send(fd_, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        lastError_ = errno;
        return -1;
    }
    return static_cast<int>(n);
}

int CCommAsyncSocket::SendAll(const void* data, int length, int flags) {
    const char* bytes = static_cast<const char*>(data);
    int sent = 0;
    while (sent < length) {
        int n = Send(bytes + sent, length - sent, flags);
        if (n <= 0)
            return -1;
        sent += n;
    }
    return length;
}

int CCommAsyncSocket::ReceiveByte(char* byte) {
    return readSome(byte, 1, false) == 1 ? 1 : -1;
}

int CCommAsyncSocket::ReceiveExact(void* buffer, int count) {
    char* bytes = static_cast<char*>(buffer);
    int received = 0;
    while (received < count) {
        int n = readSome(bytes + received, count - received, false);
        if (n <= 0)
            return -1;
        received += n;
    }
    return count;
}

int CCommAsyncSocket::ReceiveLine(char* buffer, int capacity) {
    return receiveLine(buffer, capacity, false);
}

int CCommAsyncSocket::receiveLine(char* buffer, int capacity, bool whole) {
    if (capacity <= 0)
        return -1;
    // A whole line may fill the buffer with its line feed, which the terminating NUL then replaces.
    const int limit = whole ? capacity : capacity - 1;
    int length = 0;
    int window = kFirstPeek;
    // Look at what has arrived, then take exactly up to the line feed: the stream never loses a byte that
    // belongs to what follows the line.
    while (length < limit) {
        int peeked = readSome(buffer + length, std::min(window, limit - length), true);
        if (peeked <= 0)
            return -1;
        const char* feed = static_cast<const char*>(std::memchr(buffer + length, '\n', static_cast<size_t>(peeked)));
        int take = feed ? static_cast<int>(feed - (buffer + length)) + 1 : peeked;
        if (ReceiveExact(buffer + length, take) != take)
            return -1;
        length += take;
        if (feed) {
            int cut = 0;
            while (cut < length && buffer[cut] != '\r' && buffer[cut] != '\n')
                ++cut;
            buffer[cut] = '\0';
            return cut;
        }
        window = std::min(window * 2, 1 << 16);
    }
    if (whole) {
        lastError_ = EMSGSIZE;
        return kLineTooLong;
    }
    buffer[limit] = '\0';
    return limit;
}

int CCommAsyncSocket::ReceiveLine(std::string& line, int capacity) {
    return receiveLine(line, capacity, false);
}

int CCommAsyncSocket::ReceiveWholeLine(std::string& line, int capacity) {
    return receiveLine(line, capacity, true);
}

int CCommAsyncSocket::receiveLine(std::string& line, int capacity, bool whole) {
    line.clear();
    if (capacity <= 0)
        return -1;
    if (lineBuffer_.size() < static_cast<size_t>(capacity))
        lineBuffer_.resize(static_cast<size_t>(capacity));
    int length = receiveLine(lineBuffer_.data(), capacity, whole);
    if (length < 0)
        return length;
    line.assign(lineBuffer_.data(), static_cast<size_t>(length));
    return length;
}

unsigned CCommAsyncSocket::LocalPort() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void CCommAsyncSocket::SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds reply) {
    connectTimeout_ = connect;
    SetReplyTimeout(reply);
}

void CCommAsyncSocket::SetReplyTimeout(std::chrono::milliseconds reply) {
    replyTimeout_ = reply;
    applyReplyTimeout();
}

bool CCommAsyncSocket::SetKeepAlive(std::chrono::seconds idle, std::chrono::seconds interval, int count,
                                    std::chrono::milliseconds userTimeout) {
    if (fd_ < 0)
        return false;
    const int on = 1;
    const int idleSeconds = static_cast<int>(idle.count());
    const int intervalSeconds = static_cast<int>(interval.count());
    const unsigned timeout = static_cast<unsigned>(userTimeout.count());
    bool ok = ::setsockopt(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) == 0;
    ok = ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds) == 0 && ok;
    ok = ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds) == 0 && ok;
    ok = ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count) == 0 && ok;
    ok = ::setsockopt(fd_, IPPROTO_TCP, TCP_USER_TIMEOUT, &timeout, sizeof timeout) == 0 && ok;
    if (!ok)
        lastError_ = errno;
    return ok;
}

void CCommAsyncSocket::applyReplyTimeout() {
    if (fd_ < 0)
        return;
    timeval tv = toTimeval(replyTimeout_);
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

} // namespace kv
