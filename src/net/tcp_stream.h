#pragma once
// Reliable (TCP) sockets of the socket layer: the stream side of nlConnect, nlAcceptConnection,
// nlRead and nlWrite.

#include <memory>

#include "net/socket_table.h"

NLsocket AcceptTcpConnection(const std::shared_ptr<SocketRecord>& listener);
bool ConnectTcp(SocketRecord& record, const NLaddress& address);
NLint ReadTcp(SocketRecord& record, void* buffer, NLint bytes);
NLint WriteTcp(SocketRecord& record, const void* buffer, NLint bytes);
