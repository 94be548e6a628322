#include "support/scratch_directory.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "engine-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::EngineTempPath() const {
  return path_ + "/trovane-" + std::to_string(getuid()) + "/";
}

std::string ScratchDirectory::ReadFile(const std::string& relativePath) const {
  std::ifstream file(path_ + "/" + relativePath, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void ScratchDirectory::WriteFile(const std::string& relativePath, const std::string& contents) const {
  const std::filesystem::path path = std::filesystem::path(path_) / relativePath;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

bool ScratchDirectory::Exists(const std::string& relativePath) const {
  return std::filesystem::exists(std::filesystem::path(path_) / relativePath);
}
