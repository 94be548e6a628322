#include "net/net_commands.h"

#include <limits>
#include <string>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "net/net_session.h"

namespace {

NetSession* Session() { return Subsystems().network; }

std::int32_t IdFromText(const BasicString& text) { return TruncateToInt32(ToNumber(text)); }

BasicString IdText(std::int32_t id) { return FormatNumber(static_cast<double>(id)); }

}  // namespace

double HostSession(double port) {
  NetSession* session = Session();
  return session != nullptr && session->Host(TruncateToInt32(port)) ? 1 : 0;
}

double JoinSession(const BasicString& address, double port) {
  NetSession* session = Session();
  return session != nullptr && session->Join(address.View(), TruncateToInt32(port)) ? 1 : 0;
}

BasicString ListLocalAddresses() {
  NetSession* session = Session();
  if (session == nullptr) return BasicString();
  return BasicString(std::string_view(session->ListAddresses()));
}

BasicString CreateNetPlayer(const BasicString& name) {
  NetSession* session = Session();
  return IdText(session != nullptr ? session->CreatePlayer(name.View()) : -1);
}

double GetNetPlayerCount() {
  NetSession* session = Session();
  std::int32_t count = 0;
  if (session == nullptr || !session->PlayerCount(count)) return 0;
  return count;
}

BasicString GetNetPlayerId(double index) {
  NetSession* session = Session();
  std::int32_t id = 0;
  if (session == nullptr || !session->PlayerId(TruncateToInt32(index), id)) return BasicString("0");
  return IdText(id);
}

BasicString GetNetPlayerName(const BasicString& id) {
  NetSession* session = Session();
  std::string name;
  if (session == nullptr || !session->PlayerName(IdFromText(id), name)) return BasicString("NO_DATA");
  return BasicString(std::string_view(name));
}

double SendNetMessage(const BasicString& from, const BasicString& to, const BasicString& text) {
  NetSession* session = Session();
  return session != nullptr && session->Send(IdFromText(from), IdFromText(to), text.View()) ? 1 : 0;
}

double SendNetLeave(const BasicString& id) {
  if (NetSession* session = Session()) session->SendLeave(IdFromText(id));
  return 1;
}

BasicString ReceiveNetMessage(const BasicString& id) {
  NetSession* session = Session();
  std::string text;
  if (session == nullptr || !session->Receive(IdFromText(id), text)) return BasicString();
  return BasicString(std::string_view(text));
}

BasicString GetNetMessageSender() {
  NetSession* session = Session();
  return IdText(session != nullptr ? session->LastSender() : 0);
}

void CreateNetSession() {
  if (Subsystems().network == nullptr) Subsystems().network = new NetSession();
  SetReleaseStep(ReleaseStep::kNetwork, &ReleaseNetSession);
}

void ReleaseNetSession() {
  NetSession*& session = Subsystems().network;
  if (session == nullptr) return;
  session->EndSession();
  delete session;
  session = nullptr;
}
