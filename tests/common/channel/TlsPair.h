#pragma once

#include "common/channel/CCommAsyncSocket.h"
#include "common/channel/SslContext.h"

#include <memory>
#include <string>
#include <thread>

namespace kv::test {

// A connected client/server pair of channel objects on loopback, on a port chosen by the system.
struct TlsPair {
    std::shared_ptr<SslContext> clientContext;
    std::shared_ptr<SslContext> serverContext;
    CCommAsyncSocket listener;
    CCommAsyncSocket server;
    CCommAsyncSocket client;
    std::string peerAddress;

    TlsPair(std::shared_ptr<SslContext> clientCtx, std::shared_ptr<SslContext> serverCtx)
        : clientContext(clientCtx), serverContext(serverCtx), listener(serverCtx), client(clientCtx) {}

    unsigned listen() {
        if (!listener.CreateBound(0, SOCK_STREAM, "127.0.0.1") || !listener.Listen())
            return 0;
        return listener.LocalPort();
    }

    // True when both ends are connected and handshaken.
    bool connect() {
        unsigned port = listen();
        if (port == 0)
            return false;
        int connected = 0;
        std::thread connector([&] { connected = client.ConnectTo("127.0.0.1", port); });
        bool accepted = listener.AcceptInto(server, &peerAddress) && server.CompleteHandshake();
        connector.join();
        return accepted && connected;
    }
};

} // namespace kv::test
