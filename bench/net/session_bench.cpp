// Session throughput and request latency on loopback.
//
// RelayedMessages: a host process and a sending client process are forked; this process is
// the receiving client. The sender keeps at most kWindow messages in flight (this process
// hands back one credit per message received, through a pipe), so the figure is the relay's
// sustained rate without losses from overflowing socket buffers.
// PlayerCountLatency: one GetNetPlayerCount round trip (request, a host pass, the reply, the
// 20 ms poll that sees it).

#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "net/net_session.h"

namespace {

constexpr int kMessages = 500;
constexpr int kWindow = 32;

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

// A child that hosts until its control pipe closes.
pid_t ForkHost(std::uint16_t port, int& control) {
  int pipeEnds[2];
  (void)!pipe(pipeEnds);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[1]);
    {
      NetSession host;
      const bool ready = host.Host(port);
      char ignored;
      if (ready) (void)!read(pipeEnds[0], &ignored, 1);
    }
    _exit(0);
  }
  close(pipeEnds[0]);
  control = pipeEnds[1];
  return child;
}

// A client child that sends kMessages to the player named through its socket pair,
// keeping at most kWindow of them unanswered by credits.
pid_t ForkSender(std::uint16_t port, int& channel) {
  int ends[2];
  (void)!socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    {
      NetSession sender;
      std::int32_t own = sender.Join("127.0.0.1", port) ? sender.CreatePlayer("sender") : -1;
      WriteAll(ends[1], &own, sizeof own);
      std::int32_t target = 0;
      if (own > 0 && ReadAll(ends[1], &target, sizeof target)) {
        int credit = kWindow;
        const std::string text(32, 'm');
        for (int sent = 0; sent < kMessages; ++sent) {
          char byte;
          while (credit == 0 && ReadAll(ends[1], &byte, 1)) ++credit;
          if (credit == 0) break;
          --credit;
          sender.Send(own, target, text);
        }
        // Credits keep coming until the receiver is done; the end is the channel closing.
        char rest[64];
        while (read(ends[1], rest, sizeof rest) > 0) {
        }
      }
    }
    _exit(0);
  }
  close(ends[1]);
  channel = ends[0];
  return child;
}

void RelayedMessages(benchmark::State& state) {
  const std::uint16_t port = FreePort();
  int hostControl = -1;
  int senderChannel = -1;
  const pid_t host = ForkHost(port, hostControl);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const pid_t sender = ForkSender(port, senderChannel);
  {
    NetSession receiver;
    const std::int32_t own = receiver.Join("127.0.0.1", port) ? receiver.CreatePlayer("receiver") : -1;
    std::int32_t senderId = -1;
    ReadAll(senderChannel, &senderId, sizeof senderId);
    if (own <= 0 || senderId <= 0) {
      state.SkipWithError("the session did not start");
    } else {
      for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        WriteAll(senderChannel, &own, sizeof own);
        int received = 0;
        std::string text;
        const auto limit = start + std::chrono::seconds(60);
        while (received < kMessages && std::chrono::steady_clock::now() < limit) {
          if (!receiver.Receive(own, text)) {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            continue;
          }
          ++received;
          WriteAll(senderChannel, "c", 1);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        state.counters["messages"] = received;
        state.counters["messages_per_s"] = received / seconds;
      }
    }
  }
  close(senderChannel);
  close(hostControl);
  waitpid(sender, nullptr, 0);
  waitpid(host, nullptr, 0);
}
BENCHMARK(RelayedMessages)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void PlayerCountLatency(benchmark::State& state) {
  const std::uint16_t port = FreePort();
  NetSession host;
  NetSession client;
  if (!host.Host(port) || host.CreatePlayer("a") < 0 || !client.Join("127.0.0.1", port)) {
    state.SkipWithError("the session did not start");
    return;
  }
  for (auto _ : state) {
    std::int32_t count = 0;
    if (!client.PlayerCount(count) || count != 1) state.SkipWithError("no answer");
  }
}
BENCHMARK(PlayerCountLatency)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
