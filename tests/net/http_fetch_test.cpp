// HTTP fetch against real servers on loopback: Python's http.server, and small servers of
// our own that split the header, end it oddly, never end it, or never answer.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <random>
#include <sstream>
#include <thread>

#include "net/http_fetch.h"
#include "net/http_header_scanner.h"
#include "session_fixture.h"
#include "support/child_process.h"
#include "support/process_runner.h"

namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------------------
// Where the body starts.

std::size_t ScanAll(HttpHeaderScanner& scanner, const std::string& chunk) { return scanner.Scan(chunk.data(), chunk.size()); }

TEST(HttpHeaderScanner, ABlankLineEndsTheHeaderWhicheverLineEndsAreUsed) {
  HttpHeaderScanner crlf;
  EXPECT_EQ(ScanAll(crlf, "HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody"), 25u);
  HttpHeaderScanner lf;
  EXPECT_EQ(ScanAll(lf, "HTTP/1.0 200 OK\nA: b\n\nbody"), 22u);
  HttpHeaderScanner mixed;
  EXPECT_EQ(ScanAll(mixed, "X\n\r\nbody"), 4u);
}

TEST(HttpHeaderScanner, TheCounterSurvivesFromOneReadToTheNext) {
  HttpHeaderScanner split;
  EXPECT_EQ(ScanAll(split, "HTTP/1.0 200 OK\r\n\r"), HttpHeaderScanner::kHeaderContinues);
  EXPECT_EQ(ScanAll(split, "\nbody"), 1u);
  EXPECT_TRUE(split.HeaderEnded());
  EXPECT_EQ(ScanAll(split, "more body\n\n"), 0u) << "after the header every chunk is body";

  HttpHeaderScanner atTheEdge;
  EXPECT_EQ(ScanAll(atTheEdge, "A: b\n\n"), 6u) << "the body starts right after this chunk";
  HttpHeaderScanner broken;
  EXPECT_EQ(ScanAll(broken, "A: b\n"), HttpHeaderScanner::kHeaderContinues);
  EXPECT_EQ(ScanAll(broken, " \nC: d\r\n"), HttpHeaderScanner::kHeaderContinues) << "a blank is not a line end";
}

// ---------------------------------------------------------------------------------------
// Servers.

// A one-connection TCP server on loopback; script runs on the accepted connection after the
// request has been read up to its blank line (kept in request).
class ScriptedServer {
 public:
  explicit ScriptedServer(std::function<void(int connection)> script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedServer() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  unsigned short Port() const { return port_; }
  const std::string& Request() const { return request_; }

 private:
  void Serve() {
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) return;
    char byte = 0;
    while (request_.find("\r\n\r\n") == std::string::npos && ::recv(connection, &byte, 1, 0) == 1) request_ += byte;
    script_(connection);
    ::close(connection);
  }

  std::function<void(int)> script_;
  int listener_ = -1;
  unsigned short port_ = 0;
  std::thread thread_;
  std::string request_;
};

void SendText(int connection, const std::string& text) { ::send(connection, text.data(), text.size(), MSG_NOSIGNAL); }

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string FindPython() {
  for (const char* candidate : {"/usr/bin/python3", "/usr/local/bin/python3"}) {
    if (::access(candidate, X_OK) == 0) return candidate;
  }
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string folder; std::getline(path, folder, ':');) {
    if (::access((folder + "/python3").c_str(), X_OK) == 0) return folder + "/python3";
  }
  return "";
}

// Python's own HTTP/1.0 server, serving one folder.
class PythonHttpServer {
 public:
  explicit PythonHttpServer(const std::string& folder)
      : process_(FindPython(), {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder}) {
    if (!process_.WaitForOutput(" port ", 10000) || !process_.WaitForOutput(")", 2000)) return;
    const std::string& output = process_.Output();
    port_ = static_cast<unsigned short>(std::atoi(output.c_str() + output.find(" port ") + 6));
  }
  unsigned short Port() const { return port_; }

 private:
  ChildProcess process_;
  unsigned short port_ = 0;
};

class HttpFetchTest : public ::testing::Test {
 protected:
  std::string OutputPath() const { return scratch.Path() + "/download.bin"; }
  std::string Downloaded() const { return scratch.ReadFile("download.bin"); }
  bool Fetch(unsigned short port, const char* path = "/file", int silenceLimitMs = 5000) {
    return FetchHttpToFile("127.0.0.1", path, port, OutputPath().c_str(), silenceLimitMs);
  }

  ScratchDirectory scratch;
};

TEST_F(HttpFetchTest, ThePythonServersFilesArriveWhole) {
  std::mt19937 random(1);
  std::string contents(300000, '\0');
  for (char& byte : contents) byte = static_cast<char>(random());
  scratch.WriteFile("site/data.bin", contents);
  PythonHttpServer server(scratch.Path() + "/site");
  ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
  scratch.WriteFile("download.bin", std::string(500000, 'o'));  // replaced, not overwritten in place
  EXPECT_TRUE(Fetch(server.Port(), "/data.bin"));
  EXPECT_EQ(Downloaded(), contents);

  // An error page is a body like any other.
  EXPECT_TRUE(Fetch(server.Port(), "/missing.txt"));
  EXPECT_NE(Downloaded().find("404"), std::string::npos) << Downloaded();

  // The command: texts and a port that is truncated to 16 bits.
  EXPECT_EQ(HttpGetToFile("127.0.0.1", "/data.bin", server.Port() + 65536.7, OutputPath().c_str()), 1);
  EXPECT_EQ(Downloaded(), contents);
}

TEST_F(HttpFetchTest, TheRequestIsTheExactTextAndTheSplitHeaderStillEnds) {
  ScriptedServer server([](int connection) {
    SendText(connection, "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r");
    Pause(100);
    SendText(connection, "\nthe body");
    Pause(50);
    SendText(connection, ", in two parts");
  });
  EXPECT_TRUE(Fetch(server.Port(), "/some/path?x=1"));
  EXPECT_EQ(server.Request(),
            "GET /some/path?x=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Trovane game\r\n\r\n");
  EXPECT_EQ(Downloaded(), "the body, in two parts");
}

TEST_F(HttpFetchTest, AHeaderEndedByTwoLineFeedsIsRecognised) {
  ScriptedServer server([](int connection) { SendText(connection, "HTTP/1.0 200 OK\nServer: odd\n\nplain body\r\n\r\n"); });
  EXPECT_TRUE(Fetch(server.Port()));
  EXPECT_EQ(Downloaded(), "plain body\r\n\r\n");
}

TEST_F(HttpFetchTest, AResponseWithoutABlankLineStoresNothingButSucceeds) {
  ScriptedServer server([](int connection) { SendText(connection, "HTTP/1.0 200 OK\r\nServer: odd\r\nno blank line"); });
  EXPECT_TRUE(Fetch(server.Port()));
  EXPECT_TRUE(scratch.Exists("download.bin"));
  EXPECT_EQ(Downloaded(), "");
}

TEST_F(HttpFetchTest, ASilentServerEndsTheFetchWithZeroAfterTheLimit) {
  // The server keeps the connection open and silent until the fetch has given up, so
  // only the limit can end it (a server that closes without a header would succeed).
  std::promise<void> fetchEnded;
  std::shared_future<void> ended = fetchEnded.get_future().share();
  ScriptedServer server([ended](int) { ended.wait(); });
  const auto start = Clock::now();
  EXPECT_FALSE(Fetch(server.Port(), "/file", 400));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(400));
  fetchEnded.set_value();
}

TEST_F(HttpFetchTest, ASlowButLivelyServerIsNotCutOff) {
  // Two seconds of data in all against a limit of 1.5 s of silence; the gaps between the
  // pieces leave the server more than a second of slack on a busy machine.
  ScriptedServer server([](int connection) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n");
    for (int i = 0; i < 8; ++i) {
      Pause(250);
      SendText(connection, "tick ");
    }
  });
  EXPECT_TRUE(Fetch(server.Port(), "/file", 1500)) << "the limit counts silence, not the whole download";
  EXPECT_EQ(Downloaded(), "tick tick tick tick tick tick tick tick ");
}

TEST_F(HttpFetchTest, AResetConnectionIsAFailure) {
  ScriptedServer server([](int connection) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\npartial");
    Pause(50);
    linger hard{1, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  });
  EXPECT_FALSE(Fetch(server.Port()));
}

TEST_F(HttpFetchTest, NoServerNoNameOrNoFileGiveZero) {
  std::uint16_t closedPort = 0;
  { ScriptedServer gone([](int) {}); closedPort = gone.Port(); }
  EXPECT_FALSE(Fetch(closedPort));
  EXPECT_FALSE(scratch.Exists("download.bin")) << "the file is made only once connected";
  EXPECT_FALSE(FetchHttpToFile("no-such-host.invalid", "/", 80, OutputPath().c_str(), 1000));
  EXPECT_FALSE(FetchHttpToFile("", "/", 80, OutputPath().c_str(), 1000));

  ScriptedServer server([](int connection) { SendText(connection, "HTTP/1.0 200 OK\r\n\r\ndata"); });
  const std::string unwritable = scratch.Path() + "/no/such/folder/file";
  EXPECT_FALSE(FetchHttpToFile("127.0.0.1", "/", server.Port(), unwritable.c_str(), 1000))
      << "data with nowhere to go is not a success";
}

TEST_F(HttpFetchTest, ARunningSessionSurvivesAFetch) {
  NetSession host;
  const std::uint16_t port = FreeUdpPort();
  ASSERT_TRUE(host.Host(port));
  const std::int32_t ann = host.CreatePlayer("Ann");
  ScriptedServer server([](int connection) { SendText(connection, "HTTP/1.0 200 OK\r\n\r\nok"); });
  ASSERT_TRUE(Fetch(server.Port()));
  EXPECT_FALSE(nlGetBoolean(NL_BLOCKING_IO)) << "the fetch puts the blocking setting back";
  ASSERT_TRUE(host.Send(ann, ann, "after the fetch"));
  std::string text;
  for (int i = 0; i < 300 && !host.Receive(ann, text); ++i) Pause(10);
  EXPECT_EQ(text, "after the fetch");
  NetSession client;
  EXPECT_TRUE(client.Join("127.0.0.1", port)) << "new sockets of the session are still non-blocking";
}

}  // namespace
