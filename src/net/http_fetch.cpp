#include "net/http_fetch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/number_truncation.h"
#include "net/http_header_scanner.h"
#include "net/net_commands.h"
#include "net/socket_layer.h"

namespace {

std::string RequestText(const char* host, const char* path) {
  // "GET %s HTTP/1.0\r\nHost:%s\r\nAccept: */*\r\nUser-Agent: Trovane game\r\n\r\n"
  std::string request = "GET ";
  request += path;
  request += " HTTP/1.0\r\nHost:";
  request += host;
  request += "\r\nAccept: */*\r\nUser-Agent: Trovane game\r\n\r\n";
  return request;
}

bool WriteAll(int file, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(file, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The socket layer as the fetch uses it: initialised for the fetch only, blocking I/O on,
// and the blocking setting put back afterwards, so a running session keeps its own.
class FetchConnection {
 public:
  FetchConnection() {
    initialised_ = nlInit();
    if (!initialised_) return;
    nlSelectNetwork(NL_IP);
    wasBlocking_ = nlGetBoolean(NL_BLOCKING_IO);
    nlEnable(NL_SOCKET_STATS);
    nlEnable(NL_BLOCKING_IO);
  }
  ~FetchConnection() {
    if (socket_ != NL_INVALID) nlClose(socket_);
    if (!initialised_) return;
    if (!wasBlocking_) nlDisable(NL_BLOCKING_IO);
    nlShutdown();
  }
  FetchConnection(const FetchConnection&) = delete;
  FetchConnection& operator=(const FetchConnection&) = delete;

  bool Connect(const char* host, unsigned short port, int silenceLimitMs) {
    NLaddress address;
    if (!initialised_ || !nlGetAddrFromName(host, &address) || !nlSetAddrPort(&address, port)) return false;
    socket_ = nlOpen(0, NL_RELIABLE);
    if (socket_ == NL_INVALID || !nlConnect(socket_, &address)) return false;
    return nlSetReadTimeout(socket_, silenceLimitMs);
  }
  NLsocket Socket() const { return socket_; }

 private:
  bool initialised_ = false;
  bool wasBlocking_ = false;
  NLsocket socket_ = NL_INVALID;
};

class OutputFile {
 public:
  explicit OutputFile(const char* name) : file_(::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {}
  ~OutputFile() {
    if (file_ >= 0) ::close(file_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return file_ >= 0; }
  bool Write(const char* bytes, std::size_t size) { return WriteAll(file_, bytes, size); }

 private:
  int file_;
};

}  // namespace

bool FetchHttpToFile(const char* host, const char* path, unsigned short port, const char* fileName,
                     int silenceLimitMs) {
  FetchConnection connection;
  if (!connection.Connect(host, port, silenceLimitMs)) return false;
  // A download with nowhere to go would report success for data that was dropped.
  OutputFile file(fileName);
  if (!file.IsOpen()) return false;

  const std::string request = RequestText(host, path);
  if (nlWrite(connection.Socket(), request.data(), static_cast<NLint>(request.size())) == NL_INVALID) return false;

  HttpHeaderScanner scanner;
  char chunk[kHttpChunkBytes];
  for (;;) {
    const NLint count = nlRead(connection.Socket(), chunk, kHttpChunkBytes);
    if (count < 0) break;
    if (count == 0) continue;
    const std::size_t bodyStart = scanner.Scan(chunk, static_cast<std::size_t>(count));
    if (bodyStart == HttpHeaderScanner::kHeaderContinues) continue;
    if (!file.Write(chunk + bodyStart, static_cast<std::size_t>(count) - bodyStart)) return false;
  }
  // Only the server closing the stream ends a complete response; a reset, a failed read or
  // a silent server does not.
  return nlGetError() == NL_MESSAGE_END;
}

double HttpGetToFile(const BasicString& host, const BasicString& path, double port, const BasicString& fileName) {
  const auto port16 = static_cast<unsigned short>(static_cast<unsigned>(TruncateToInt32(port)) & 0xffffu);
  return FetchHttpToFile(host.TextPointer(), path.TextPointer(), port16, fileName.TextPointer(), kHttpSilenceLimitMs)
             ? 1
             : 0;
}
