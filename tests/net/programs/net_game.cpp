// A game that runs the network commands its standard input asks for, one line each:
// the verb and its arguments separated by tabs. Each result goes to standard output as a
// line "= <result>", so a test can drive several such games as hosts and clients.
//
//   host <port>                   join <address> <port>        addrs
//   create <name>                 count                        id <index>
//   name <id>                     send <from> <to> <text>      leave <id>
//   recv <id>                     (the text, "|", the sender)
//   recvwait <id>                 recv, retried for up to 5 seconds until a message comes
//   http <host> <path> <port> <file>
//   end                           returns from GameMain (the program ends normally)

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/game_interface.h"
#include "net/http_fetch.h"
#include "net/net_commands.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Network test game";
  return settings;
}

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == '\t') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

std::string Text(const BasicString& text) { return std::string(text.View()); }

std::string Number(double value) { return Text(FormatNumber(value)); }

std::string Received(const std::string& id) {
  const std::string text = Text(ReceiveNetMessage(id.c_str()));
  return text + "|" + Text(GetNetMessageSender());
}

std::string Run(const std::vector<std::string>& field) {
  const std::string& verb = field[0];
  auto arg = [&](std::size_t i) { return i < field.size() ? field[i] : std::string(); };
  auto number = [&](std::size_t i) { return ToNumber(arg(i).c_str()); };
  if (verb == "host") return Number(HostSession(number(1)));
  if (verb == "join") return Number(JoinSession(arg(1).c_str(), number(2)));
  if (verb == "addrs") return Text(ListLocalAddresses());
  if (verb == "create") return Text(CreateNetPlayer(arg(1).c_str()));
  if (verb == "count") return Number(GetNetPlayerCount());
  if (verb == "id") return Text(GetNetPlayerId(number(1)));
  if (verb == "name") return Text(GetNetPlayerName(arg(1).c_str()));
  if (verb == "send") return Number(SendNetMessage(arg(1).c_str(), arg(2).c_str(), arg(3).c_str()));
  if (verb == "leave") return Number(SendNetLeave(arg(1).c_str()));
  if (verb == "recv") return Received(arg(1));
  if (verb == "recvwait") {
    for (int i = 0; i < 500; ++i) {
      const std::string received = Received(arg(1));
      if (received[0] != '|') return received;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "|";
  }
  if (verb == "http") return Number(HttpGetToFile(arg(1).c_str(), arg(2).c_str(), number(3), arg(4).c_str()));
  return "unknown verb " + verb;
}

}  // namespace

int GameMain() {
  std::printf("= ready\n");
  std::fflush(stdout);
  std::string line;
  for (int c = std::getchar(); c != EOF; c = std::getchar()) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    const std::vector<std::string> fields = SplitTabs(line);
    line.clear();
    if (fields[0] == "end") break;
    std::printf("= %s\n", Run(fields).c_str());
    std::fflush(stdout);
  }
  return 0;
}
