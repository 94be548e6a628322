#pragma once
// Shared set-up for the tests of the channel, line-file and settings commands: a scratch
// folder, and a fresh GameFiles object for every test (the commands create it on first
// use; the fixture releases it, which writes back what the test left unsaved).

#include <gtest/gtest.h>

#include <string>

#include "core/basic_string.h"
#include "files/game_files.h"
#include "support/scratch_directory.h"

class DataFilesTest : public ::testing::Test {
 protected:
  DataFilesTest() { ReleaseGameFiles(); }
  ~DataFilesTest() override { ReleaseGameFiles(); }

  // The full path of name in the scratch folder, as a game text.
  BasicString PathOf(const std::string& name) const { return BasicString((scratch.Path() + "/" + name).c_str()); }
  std::string Read(const std::string& name) const { return scratch.ReadFile(name); }
  void Write(const std::string& name, const std::string& contents) const { scratch.WriteFile(name, contents); }
  bool Exists(const std::string& name) const { return scratch.Exists(name); }

  ScratchDirectory scratch;
};
