// Hover Chat: players on several machines (or several windows of one) steer hover craft
// round one floor and talk.
//
//   netgame --host [--port P] [--name NAME]          hosts a session (port 26000 by default)
//   netgame --join ADDRESS [--port P] [--name NAME]  joins the session hosted at ADDRESS
//
// Every frame each game sends its player's position to every player as a message
// "P x y"; Return opens a chat line typed with InputText, sent as "C text". The names
// come from the host. Arrow keys steer; Escape ends the game.
//
// "--frames N" flies the craft in a circle by itself, says hello in the chat as soon as
// another player shows up, and after N frames (and a chat line from someone else) prints
// "Frames done" and waits for a click (or Escape): the smoke tests use it. Every chat line
// is also written to the standard output.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../common/example_options.h"
#include "engine.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kCraftSlot = 0;  // 0 .. 3, one colour each
constexpr int kFloorSlot = 4;
constexpr int kChimeSound = 0;
constexpr int kChatLines = 6;
// A player not heard from for this many frames has left.
constexpr int kSilentFrames = 300;
// Frames an unattended game waits for another player before it gives up.
constexpr int kAutopilotPatience = 3600;

struct Options {
  bool join = false;
  std::string address;
  int port = 26000;
  std::string name = "Player";
  int frames = 0;
};

Options ReadOptions() {
  const example::Words words = example::CommandLineWords();
  Options options;
  options.join = example::HasOption(words, "--join");
  options.address = example::TextOption(words, "--join", "");
  options.port = example::NumberOption(words, "--port", options.port, 1, 65535);
  options.name = example::TextOption(words, "--name", options.name);
  options.frames = example::AutopilotFrames(words);
  return options;
}

struct Player {
  std::string name;
  double x = 0, y = 0;
  int lastHeard = 0;
};

class NetGame {
 public:
  explicit NetGame(const Options& options) : options_(options) {}

  int Run() {
    SelectArchive("netgame", "");
    for (int colour = 0; colour < 4; ++colour) LoadSprite(BasicString("craft") + colour + ".bmp", kCraftSlot + colour);
    LoadSprite("floor.bmp", kFloorSlot);
    LoadSoundSlot("chime.wav", kChimeSound, 2);
    SelectArchive("", "");

    // The others keep playing while this window is in the background, so it must too.
    SetPauseWhenInactive(0);
    if (!Connect()) return 0;
    x_ = 100 + RandomInt(440);
    y_ = 100 + RandomInt(280);
    bool gotChat = false;
    for (frame_ = 0;; ++frame_) {
      if (options_.frames > 0) {
        if (frame_ >= options_.frames && ((gotChat && saidHello_) || frame_ >= kAutopilotPatience)) break;
        Autopilot();
      } else {
        Steer();
      }
      SendNetMessage(me_, "0", BasicString("P ") + x_ + " " + y_);
      gotChat |= ReadMessages();
      Draw();
      PresentFrame();
    }
    example::FinishAutopilot();
    return 0;
  }

 private:
  bool Connect() {
    if (options_.join) {
      status_ = "Joined " + options_.address;
      if (!JoinSession(options_.address.c_str(), options_.port)) {
        return Fail("No session answered at " + options_.address + " port " + std::to_string(options_.port));
      }
    } else {
      // The addresses others can join at (listing them ends any session, so first).
      status_ = std::string("Hosting; others join at ") + ListLocalAddresses().TextPointer();
      if (!HostSession(options_.port)) return Fail("Cannot host on port " + std::to_string(options_.port));
    }
    me_ = CreateNetPlayer(options_.name.c_str());
    if (me_ == "-1") return Fail("The host did not answer");
    std::printf("Playing as %s (player %s)\n", options_.name.c_str(), me_.TextPointer());
    std::fflush(stdout);
    return true;
  }

  bool Fail(const std::string& message) {
    std::printf("%s\n", message.c_str());
    std::fflush(stdout);
    PrintText(message.c_str(), 8, 8);
    PrintText("Click to end", 8, 24);
    PresentFrame();
    WaitForMouseButton();
    return false;
  }

  void Steer() {
    x_ = std::clamp(x_ + 4 * (GetKeyDown(key::kRight) - GetKeyDown(key::kLeft)), 0.0, kScreenWidth - 32.0);
    y_ = std::clamp(y_ + 4 * (GetKeyDown(key::kDown) - GetKeyDown(key::kUp)), 0.0, kScreenHeight - 120.0);
    // Return opens the chat line; the game stands still while the player types.
    const bool returnDown = GetKeyDown(key::kReturn) != 0;
    if (returnDown && !returnWasDown_) {
      PrintText("Say:", 8, kScreenHeight - 20);
      BasicString line;
      InputText(line, 48, kScreenHeight - 20);
      if (!line.IsEmpty()) SendNetMessage(me_, "0", BasicString("C ") + line);
    }
    returnWasDown_ = returnDown;
  }

  void Autopilot() {
    x_ = 304 + 150 * CosDeg(frame_ * 3.0);
    y_ = 180 + 100 * SinDeg(frame_ * 3.0);
    if (!saidHello_ && !players_.empty()) {
      SendNetMessage(me_, "0", BasicString("C hello from ") + options_.name.c_str());
      saidHello_ = true;
    }
  }

  // Reads every waiting message; true when one was a chat line from another player.
  bool ReadMessages() {
    bool chatFromOther = false;
    for (BasicString message = ReceiveNetMessage(me_); !message.IsEmpty(); message = ReceiveNetMessage(me_)) {
      const std::string sender = GetNetMessageSender().TextPointer();
      const std::string text = message.TextPointer();
      if (text.rfind("P ", 0) == 0 && sender != me_.TextPointer()) {
        Player& player = Known(sender);
        std::sscanf(text.c_str() + 2, "%lf %lf", &player.x, &player.y);
        player.lastHeard = frame_;
      } else if (text.rfind("C ", 0) == 0) {
        const std::string name = sender == me_.TextPointer() ? options_.name : Known(sender).name;
        AddChat(name + ": " + text.substr(2));
        chatFromOther |= sender != me_.TextPointer();
      }
    }
    std::erase_if(players_, [this](const auto& entry) { return frame_ - entry.second.lastHeard > kSilentFrames; });
    return chatFromOther;
  }

  // The player of an id, asking the host for the name the first time the id shows up.
  Player& Known(const std::string& id) {
    auto found = players_.find(id);
    if (found != players_.end()) return found->second;
    Player& player = players_[id];
    player.name = GetNetPlayerName(id.c_str()).TextPointer();
    player.lastHeard = frame_;
    AddChat(player.name + " is here");
    return player;
  }

  void AddChat(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    chat_.push_back(line);
    if (chat_.size() > kChatLines) chat_.erase(chat_.begin());
    StartSound(kChimeSound, 0, 0.5);
  }

  void Draw() {
    for (int y = 0; y < kScreenHeight; y += 64) {
      for (int x = 0; x < kScreenWidth; x += 64) DrawSprite(kFloorSlot, x, y);
    }
    for (const auto& [id, player] : players_) DrawCraft(std::atoi(id.c_str()), player.name, player.x, player.y);
    DrawCraft(ToNumber(me_), options_.name, x_, y_);

    DrawRect(0, kScreenHeight - 112, kScreenWidth - 1, kScreenHeight - 1, 0);
    PrintText(status_.c_str(), 8, kScreenHeight - 108);
    for (std::size_t line = 0; line < chat_.size(); ++line) {
      PrintText(chat_[line].c_str(), 8, kScreenHeight - 92 + 12 * static_cast<double>(line));
    }
    PrintText("Arrows: move   Return: chat", 8, kScreenHeight - 16);
  }

  static void DrawCraft(int id, const std::string& name, double x, double y) {
    DrawSprite(kCraftSlot + id % 4, x, y);
    PrintText(name.c_str(), x + 16 - 4 * static_cast<double>(name.size()), y - 12);
  }

  Options options_;
  BasicString me_;
  std::string status_;
  double x_ = 0, y_ = 0;
  int frame_ = 0;
  bool saidHello_ = false;
  bool returnWasDown_ = false;
  std::map<std::string, Player> players_;
  std::vector<std::string> chat_;
};

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.screenWidth = kScreenWidth;
  settings.screenHeight = kScreenHeight;
  settings.frameRate = 60;
  settings.title = "Hover Chat";
  return settings;
}

int GameMain() { return NetGame(ReadOptions()).Run(); }
