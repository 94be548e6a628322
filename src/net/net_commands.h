#pragma once
// The network session commands. Player ids cross the command surface as text, numbers as
// doubles; failures show only in the results ("0", "-1", an empty text, "NO_DATA").

#include "core/basic_string.h"

// 1 when hosting on port (0 or less means 26000), else 0.
double HostSession(double port);
// 1 when the host at address (empty: this machine) answered the join handshake, else 0.
double JoinSession(const BasicString& address, double port);
// Ends any session; the machine's addresses joined by "|".
BasicString ListLocalAddresses();
// The new player's id, "-1" when the host did not answer.
BasicString CreateNetPlayer(const BasicString& name);
// Players that are not hidden; 0 on failure.
double GetNetPlayerCount();
// The id of the index-th player; "0" when out of range or on failure.
BasicString GetNetPlayerId(double index);
// The player's name; empty for an id no player has; "NO_DATA" on failure.
BasicString GetNetPlayerName(const BasicString& id);
// 1 when the whole message was written; to "0" means every player.
double SendNetMessage(const BasicString& from, const BasicString& to, const BasicString& text);
// Tells the host that the player leaves (ids of 0 or more); always 1.
double SendNetLeave(const BasicString& id);
// The oldest message of a local player, or an empty text.
BasicString ReceiveNetMessage(const BasicString& id);
// The sender of the last message ReceiveNetMessage returned.
BasicString GetNetMessageSender();

// Start-up: the network session object, idle until the game hosts or joins.
void CreateNetSession();
// Program end: stops the session thread, sends each local player's leave notice, closes
// the sockets and frees the session.
void ReleaseNetSession();
