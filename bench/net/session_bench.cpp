// Session throughput and request latency on loopback.
//
// RelayedMessages: a host process and a sending client process are forked; this process is
// the receiving client. The sender keeps at most kWindow messages in flight (this process
// hands back one credit per message received, through a pipe), so the figure is the relay's
// sustained rate without losses from overflowing socket buffers.
// PlainSocketRelay: the same three processes and credits with plain UDP sockets and a relay
// that only forwards datagrams: what the wire allows on this machine, to set the session's
// figure against.
// PlayerCountLatency: one GetNetPlayerCount round trip (request, a host pass, the reply, the
// wake-up of the waiting command); the median is reported beside the mean.
// PlayerCountWithoutSession: the same command with no session at all.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/net_session.h"

namespace {

constexpr int kMessages = 20000;
constexpr int kWindow = 128;
constexpr std::size_t kMessageBytes = 32;

std::uint16_t FreePort() {
  nlInit();
  const NLsocket probe = nlOpen(0, NL_UNRELIABLE);
  NLaddress local;
  nlGetLocalAddr(probe, &local);
  const NLushort port = nlGetPortFromAddr(&local);
  nlClose(probe);
  nlShutdown();
  return port;
}

bool ReadAll(int descriptor, void* data, std::size_t size) {
  auto* bytes = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t count = read(descriptor, bytes, size);
    if (count <= 0) return false;
    bytes += count;
    size -= static_cast<std::size_t>(count);
  }
  return true;
}

void WriteAll(int descriptor, const void* data, std::size_t size) {
  (void)!send(descriptor, data, size, MSG_NOSIGNAL);
}

// A child that runs serve until its control pipe closes; serve gets the pipe's read end
// and returns when it sees it close.
pid_t ForkServer(const std::function<void(int)>& serve, int& control) {
  int pipeEnds[2];
  (void)!pipe(pipeEnds);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[1]);
    serve(pipeEnds[0]);
    _exit(0);
  }
  close(pipeEnds[0]);
  control = pipeEnds[1];
  return child;
}

void WaitForClose(int control) {
  char ignored;
  (void)!read(control, &ignored, 1);
}

// A sending child: start(channel) sets up and returns its own id (> 0 when ready), which is
// written to the channel; then it waits for the receiver's id and calls send(target) for
// kMessages messages, keeping at most kWindow of them ahead of the receiver's credits.
pid_t ForkSender(const std::function<std::int32_t()>& start, const std::function<void(std::int32_t)>& send,
                 int& channel) {
  int ends[2];
  (void)!socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    const std::int32_t own = start();
    WriteAll(ends[1], &own, sizeof own);
    std::int32_t target = 0;
    if (own > 0 && ReadAll(ends[1], &target, sizeof target)) {
      int credit = kWindow;
      for (int sent = 0; sent < kMessages; ++sent) {
        char byte;
        while (credit == 0 && ReadAll(ends[1], &byte, 1)) ++credit;
        if (credit == 0) break;
        --credit;
        send(target);
      }
      // Credits keep coming until the receiver is done; the end is the channel closing.
      char rest[64];
      while (read(ends[1], rest, sizeof rest) > 0) {
      }
    }
    _exit(0);
  }
  close(ends[1]);
  channel = ends[0];
  return child;
}

// Receives kMessages through receive (true when one came; it may wait briefly), handing a
// credit back for each, and reports the rate.
void MeasureRelay(benchmark::State& state, int senderChannel, std::int32_t own,
                  const std::function<bool()>& receive) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    WriteAll(senderChannel, &own, sizeof own);
    int received = 0;
    const auto limit = start + std::chrono::seconds(120);
    while (received < kMessages && std::chrono::steady_clock::now() < limit) {
      if (!receive()) continue;
      ++received;
      WriteAll(senderChannel, "c", 1);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    state.counters["messages"] = received;
    state.counters["messages_per_s"] = received / seconds;
  }
}

void RelayedMessages(benchmark::State& state) {
  const std::uint16_t port = FreePort();
  int hostControl = -1;
  int senderChannel = -1;
  const pid_t host = ForkServer(
      [port](int control) {
        NetSession session;
        if (session.Host(port)) WaitForClose(control);
      },
      hostControl);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  NetSession* sender = nullptr;
  std::int32_t senderId = -1;
  const std::string text(kMessageBytes, 'm');
  const pid_t senderProcess = ForkSender(
      [&] {
        sender = new NetSession;
        return senderId = sender->Join("127.0.0.1", port) ? sender->CreatePlayer("sender") : -1;
      },
      [&](std::int32_t target) { sender->Send(senderId, target, text); }, senderChannel);
  {
    NetSession receiver;
    const std::int32_t own = receiver.Join("127.0.0.1", port) ? receiver.CreatePlayer("receiver") : -1;
    std::int32_t remoteSender = -1;
    ReadAll(senderChannel, &remoteSender, sizeof remoteSender);
    if (own <= 0 || remoteSender <= 0) {
      state.SkipWithError("the session did not start");
    } else {
      std::string received;
      MeasureRelay(state, senderChannel, own, [&] {
        if (receiver.Receive(own, received)) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
        return false;
      });
    }
  }
  close(senderChannel);
  close(hostControl);
  waitpid(senderProcess, nullptr, 0);
  waitpid(host, nullptr, 0);
}
BENCHMARK(RelayedMessages)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

int BoundUdpSocket(std::uint16_t port) {
  const int descriptor = socket(AF_INET, SOCK_DGRAM, 0);
  const sockaddr_in address = Loopback(port);
  bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return descriptor;
}

void PlainSocketRelay(benchmark::State& state) {
  const std::uint16_t relayPort = FreePort();
  const int receiver = BoundUdpSocket(0);
  sockaddr_in receiverAddress{};
  socklen_t size = sizeof receiverAddress;
  getsockname(receiver, reinterpret_cast<sockaddr*>(&receiverAddress), &size);
  int relayControl = -1;
  int senderChannel = -1;
  // The relay forwards every datagram to the receiver, as a host relays a data message.
  const pid_t relay = ForkServer(
      [&](int control) {
        const int relaySocket = BoundUdpSocket(relayPort);
        char datagram[2048];
        pollfd watches[2] = {{relaySocket, POLLIN, 0}, {control, POLLIN, 0}};
        while (poll(watches, 2, -1) > 0 && (watches[1].revents & (POLLIN | POLLHUP)) == 0) {
          const ssize_t count = recv(relaySocket, datagram, sizeof datagram, 0);
          if (count > 0) {
            sendto(relaySocket, datagram, static_cast<std::size_t>(count), 0,
                   reinterpret_cast<const sockaddr*>(&receiverAddress), sizeof receiverAddress);
          }
        }
      },
      relayControl);
  int senderSocket = -1;
  const sockaddr_in relayAddress = Loopback(relayPort);
  const std::string text(kMessageBytes, 'm');
  const pid_t sender = ForkSender(
      [&] {
        senderSocket = BoundUdpSocket(0);
        return 1;
      },
      [&](std::int32_t) {
        sendto(senderSocket, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&relayAddress),
               sizeof relayAddress);
      },
      senderChannel);
  std::int32_t ready = 0;
  ReadAll(senderChannel, &ready, sizeof ready);
  char datagram[2048];
  MeasureRelay(state, senderChannel, 1, [&] {
    pollfd watch{receiver, POLLIN, 0};
    return poll(&watch, 1, 100) > 0 && recv(receiver, datagram, sizeof datagram, 0) > 0;
  });
  close(senderChannel);
  close(relayControl);
  close(receiver);
  waitpid(sender, nullptr, 0);
  waitpid(relay, nullptr, 0);
}
BENCHMARK(PlainSocketRelay)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void PlayerCountLatency(benchmark::State& state) {
  const std::uint16_t port = FreePort();
  NetSession host;
  NetSession client;
  if (!host.Host(port) || host.CreatePlayer("a") < 0 || !client.Join("127.0.0.1", port)) {
    state.SkipWithError("the session did not start");
    return;
  }
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::int32_t count = 0;
    if (!client.PlayerCount(count) || count != 1) state.SkipWithError("no answer");
    samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(samples.begin(), samples.end());
  if (!samples.empty()) state.counters["median_ms"] = samples[samples.size() / 2];
}
BENCHMARK(PlayerCountLatency)->Iterations(200)->Unit(benchmark::kMillisecond);

void PlayerCountWithoutSession(benchmark::State& state) {
  NetSession idle;
  for (auto _ : state) {
    std::int32_t count = 0;
    benchmark::DoNotOptimize(idle.PlayerCount(count));
  }
}
BENCHMARK(PlayerCountWithoutSession)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
