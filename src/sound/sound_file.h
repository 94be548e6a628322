#pragma once
// Finding and reading a sound file: the one place where the sound bank turns a game's
// file name into bytes.

#include <cstdint>
#include <string>
#include <vector>

// A WAV file larger than this cannot hold a playable sound (its data is at most
// 0x0FFFFFFF bytes); refusing it up front keeps a stray huge file from being read whole.
inline constexpr std::uint64_t kMaxSoundFileBytes = 512ull << 20;

// The path to open for fileName: the archive's answer when it resolves the name, else the
// name as the game gave it (which then opens as a plain file or not at all).
std::string ResolveSoundFile(const char* fileName);

// True when path names a regular file (not a folder, FIFO or device).
bool IsRegularFile(const std::string& path);

// Reads the whole regular file at path into bytes. False (bytes empty) when it cannot
// be opened or read, is not a regular file, or is larger than kMaxSoundFileBytes.
bool ReadSoundFile(const std::string& path, std::vector<std::uint8_t>& bytes);
