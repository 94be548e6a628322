// Socket groups: sets of sockets polled together.

#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "net/socket_layer.h"
#include "net/socket_table.h"

NLint nlGroupCreate() {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (table.groups.size() >= kMaxGroups) {
    nlSetError(NL_OUT_OF_GROUPS);
    return NL_INVALID;
  }
  while (table.groups.count(table.nextGroupId) != 0) ++table.nextGroupId;
  const NLint group = table.nextGroupId++;
  table.groups[group];
  return group;
}

bool nlGroupDestroy(NLint group) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  if (table.groups.erase(group) == 0) {
    nlSetError(NL_INVALID_GROUP);
    return false;
  }
  return true;
}

bool nlGroupAddSocket(NLint group, NLsocket socket) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  const auto found = table.groups.find(group);
  if (found == table.groups.end()) {
    nlSetError(NL_INVALID_GROUP);
    return false;
  }
  if (table.sockets.count(socket) == 0) {
    nlSetError(NL_INVALID_SOCKET);
    return false;
  }
  std::vector<NLsocket>& sockets = found->second.sockets;
  if (std::find(sockets.begin(), sockets.end(), socket) != sockets.end()) return true;
  if (sockets.size() >= static_cast<std::size_t>(NL_MAX_GROUP_SOCKETS)) {
    nlSetError(NL_OUT_OF_GROUP_SOCKETS);
    return false;
  }
  sockets.push_back(socket);
  return true;
}

bool nlGroupDeleteSocket(NLint group, NLsocket socket) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  const auto found = table.groups.find(group);
  if (found == table.groups.end()) {
    nlSetError(NL_INVALID_GROUP);
    return false;
  }
  std::erase(found->second.sockets, socket);
  return true;
}

std::vector<NLsocket> nlGroupGetSockets(NLint group) {
  SocketTableState& table = SocketTable();
  std::lock_guard guard(table.mutex);
  const auto found = table.groups.find(group);
  if (found == table.groups.end()) {
    nlSetError(NL_INVALID_GROUP);
    return {};
  }
  return found->second.sockets;
}

NLint nlPollGroup(NLint group, NLenum name, NLsocket* sockets, NLint number, NLint timeout) {
  if (name != NL_READ_STATUS) {
    nlSetError(NL_INVALID_ENUM);
    return NL_INVALID;
  }
  if (sockets == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return NL_INVALID;
  }
  // The records are held for the poll, so a socket closed meanwhile keeps its descriptor.
  std::vector<NLsocket> ids;
  std::vector<std::shared_ptr<SocketRecord>> records;
  std::vector<pollfd> watches;
  {
    SocketTableState& table = SocketTable();
    std::lock_guard guard(table.mutex);
    const auto found = table.groups.find(group);
    if (found == table.groups.end()) {
      nlSetError(NL_INVALID_GROUP);
      return NL_INVALID;
    }
    for (const NLsocket id : found->second.sockets) {
      const auto record = table.sockets.find(id);
      if (record == table.sockets.end()) continue;
      ids.push_back(id);
      records.push_back(record->second);
      watches.push_back(pollfd{record->second->descriptor, POLLIN, 0});
    }
  }
  int ready = 0;
  do {
    ready = ::poll(watches.data(), watches.size(), timeout < 0 ? -1 : timeout);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    SetSystemError(errno);
    return NL_INVALID;
  }
  if (ready > number) {
    nlSetError(NL_BUFFER_SIZE);
    return NL_INVALID;
  }
  NLint count = 0;
  for (std::size_t i = 0; i < watches.size(); ++i) {
    if ((watches[i].revents & (POLLIN | POLLERR | POLLHUP)) != 0) sockets[count++] = ids[i];
  }
  return count;
}
