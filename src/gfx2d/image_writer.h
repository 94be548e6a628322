#pragma once
// Writing pictures: 24-bit BMP files, or PNG files when the name ends in ".png".

#include <cstdint>
#include <string>

// True when the name is longer than 4 characters and ends in ".png" in any case.
bool HasPngExtension(const std::string& path);

// Writes width x height pixels given as blue, green, red rows, bottom row first, with
// rowStride pixels from one row to the next: as PNG when the name asks for it (pixels
// with green 0 and blue 128 become transparent), else as a 24-bit BMP. False when the
// file cannot be created or written.
bool SaveImageFile(const std::string& path, const std::uint8_t* bgrRows, int width, int height, int rowStride);

// Writes an 8-bit RGBA PNG with a white background chunk from rows of blue, green, red,
// alpha bytes, top row first.
bool SavePng(const std::string& path, const std::uint8_t* bgraRows, int width, int height);
