// The file dialogs with the desktop's real chooser on a private X server, driven by
// xdotool as a player would drive them.

#include "files/file_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "files/disk_files.h"
#include "support/child_process.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "support/x11_display.h"

namespace {

constexpr int kDialogTimeoutMs = 30000;

bool ProgramOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string directories = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    if (access((directories.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Types text into the focused window. The chooser completes names as they are typed and
// takes a Return that follows at once as part of that, so the text settles first.
void TypeText(const std::string& display, const std::string& text) {
  RunXdotool(display, {"type", "--delay", "30", text});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

class FileDialogOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramOnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    if (!ProgramOnPath("zenity")) GTEST_SKIP() << "zenity is not installed";
    ASSERT_TRUE(server_.Ready()) << "Xvfb did not start";
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr) previousDisplay_ = display;
    setenv("DISPLAY", server_.Display().c_str(), 1);
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.Path());
  }

  void TearDown() override {
    if (previousFolder_.empty()) return;
    std::filesystem::current_path(previousFolder_);
    if (previousDisplay_.empty()) {
      unsetenv("DISPLAY");
    } else {
      setenv("DISPLAY", previousDisplay_.c_str(), 1);
    }
  }

  // Runs the dialog while a second thread plays the player: it waits for the chooser
  // window titled title, focuses it and runs play. A chooser still open long after that
  // is closed by force, so a failing test cannot hang.
  BasicString RunDialog(double forOpening, const BasicString& filter, const std::string& title,
                        const std::function<void()>& play) {
    std::atomic<bool> done{false};
    std::thread player([&] {
      const unsigned long window = FindWindowByTitle(server_.Display(), title, kDialogTimeoutMs);
      if (window == 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(700));  // mapped and ready for keys
      FocusWindow(server_.Display(), window);
      play();
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDialogTimeoutMs);
      while (!done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      if (!done) RunXdotool(server_.Display(), {"windowkill", std::to_string(window)});
    });
    BasicString chosen = FileDialog(forOpening, filter);
    done = true;
    player.join();
    return chosen;
  }

  void Type(const std::string& text) { TypeText(server_.Display(), text); }
  void Key(const std::string& key) { RunXdotool(server_.Display(), {"key", key}); }

  XvfbServer server_{"1024x768x24"};
  ScratchDirectory scratch_;
  std::filesystem::path previousFolder_;
  std::string previousDisplay_;
};

TEST_F(FileDialogOnDesktop, OpenDialogReturnsTheTypedPathAndKeepsTheFolder) {
  scratch_.WriteFile("level one.txt", "level");
  const std::string typed = scratch_.Path() + "/level one.txt";
  const BasicString chosen = RunDialog(1, "Levels|*.txt|Everything|*.*", "Open", [&] {
    Key("ctrl+l");
    Type(typed);
    Key("Return");
  });
  EXPECT_EQ(chosen.View(), typed);
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
}

TEST_F(FileDialogOnDesktop, SaveDialogStartsInTheCurrentFolder) {
  const BasicString chosen = RunDialog(0, "Saved games|*.sav", "Save As", [&] {
    Key("ctrl+a");
    Type("slot 1.sav");
    Key("Return");
  });
  EXPECT_EQ(chosen.View(), scratch_.Path() + "/slot 1.sav");
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
}

TEST_F(FileDialogOnDesktop, EscapeChoosesNothing) {
  const BasicString chosen = RunDialog(1, "", "Open", [&] { Key("Escape"); });
  EXPECT_EQ(chosen.View(), "NO_FILE");
  EXPECT_EQ(GetCurrentFolder().View(), scratch_.Path() + "/");
}

// A whole game on its own X server, showing a dialog from its window.
class FileDialogInGame : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramOnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    if (!ProgramOnPath("zenity")) GTEST_SKIP() << "zenity is not installed";
    ASSERT_TRUE(server_.Ready()) << "Xvfb did not start";
  }

  std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments) {
    std::vector<std::string> environment = server_.Environment();
    environment.push_back("TMPDIR=" + scratch_.Path());
    auto game = std::make_unique<ChildProcess>(ProgramPath("test_file_dialog_probe"), arguments, environment,
                                               scratch_.Path());
    EXPECT_TRUE(DismissSoftwareWarning(server_.Display(), kDialogTimeoutMs)) << game->Output();
    EXPECT_TRUE(game->WaitForOutput("dialog\n", kDialogTimeoutMs)) << game->Output();
    return game;
  }

  // Start-up makes the program's own folder the current one.
  static std::string ProgramFolder() {
    return std::filesystem::canonical(ProgramPath("test_file_dialog_probe")).parent_path().string() + "/";
  }

  bool GameWindowVisible() {
    return RunXdotool(server_.Display(), {"search", "--onlyvisible", "--name", "^Dialog Probe$"}) == 0;
  }

  // Waits for the chooser, checks that the game window is hidden meanwhile, then types
  // the path and Return.
  void ChooseInDialog(const std::string& title, const std::string& path) {
    const unsigned long dialog = FindWindowByTitle(server_.Display(), title, kDialogTimeoutMs);
    ASSERT_NE(dialog, 0u);
    EXPECT_FALSE(GameWindowVisible());
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    FocusWindow(server_.Display(), dialog);
    // The open dialog takes a typed path in its location field, the save dialog in its
    // name field.
    RunXdotool(server_.Display(), {"key", title == "Open" ? "ctrl+l" : "ctrl+a"});
    TypeText(server_.Display(), path);
    RunXdotool(server_.Display(), {"key", "Return"});
  }

  XvfbServer server_{"640x480x24"};
  ScratchDirectory scratch_;
};

TEST_F(FileDialogInGame, WindowHidesForTheDialogAndComesBack) {
  scratch_.WriteFile("castle.lvl", "level");
  auto game = Start({"open"});
  ChooseInDialog("Open", scratch_.Path() + "/castle.lvl");
  EXPECT_EQ(game->Wait(kDialogTimeoutMs), 0) << game->Output();
  const std::string folder = " folder=" + ProgramFolder() + "\n";
  EXPECT_NE(game->Output().find("before fullscreen=0 shown=1 current=1" + folder), std::string::npos)
      << game->Output();
  EXPECT_NE(game->Output().find("chosen " + scratch_.Path() + "/castle.lvl\n"), std::string::npos)
      << game->Output();
  EXPECT_NE(game->Output().find("after fullscreen=0 shown=1 current=1" + folder), std::string::npos)
      << game->Output();
}

TEST_F(FileDialogInGame, FullscreenGameLeavesFullscreenForTheDialogAndReturnsToIt) {
  auto game = Start({"save", "fullscreen"});
  ChooseInDialog("Save As", scratch_.Path() + "/new.lvl");
  EXPECT_EQ(game->Wait(kDialogTimeoutMs), 0) << game->Output();
  const std::string folder = " folder=" + ProgramFolder() + "\n";
  EXPECT_NE(game->Output().find("before fullscreen=1 shown=1 current=1" + folder), std::string::npos)
      << game->Output();
  EXPECT_NE(game->Output().find("chosen " + scratch_.Path() + "/new.lvl\n"), std::string::npos)
      << game->Output();
  EXPECT_NE(game->Output().find("after fullscreen=1 shown=1 current=1" + folder), std::string::npos)
      << game->Output();
  // The return to fullscreen makes a new window, and input follows it there.
  EXPECT_NE(game->Output().find("after input=1\n"), std::string::npos) << game->Output();
}

}  // namespace
