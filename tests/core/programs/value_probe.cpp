// A game that exercises the runtime values from its command line, for the tests that need
// a whole process: the random sequence of a seed, and the fatal array errors, whose error
// code the end-of-program block in the log shows (debug mode is on).
//
//   random <seed> <count>      seeds as start-up does with the clock reading seed, then
//                              prints count draws of RandomInt(1e9)
//   random startup <count>     prints count draws from the generator start-up seeded
//   dim <kind> d0 d1 d2 d3     dimensions an array of kind number, string or byte
//   index <kind> d0 d1 d2 d3 i0 i1 i2 i3
//                              dimensions the array, then reaches element (i0 .. i3)
// Array actions print "survived" when the program goes on.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "base/program_end.h"
#include "core/random_generator.h"
#include "core/runtime_array.h"
#include "host/game_interface.h"
#include "host/program_commands.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.debugMode = 1;
  settings.title = "Value probe";
  return settings;
}

namespace {

void Dimension(NumberArray& numbers, StringArray& strings, ByteArray& bytes, const std::string& kind,
               const std::vector<double>& d) {
  if (kind == "number") DimArray(numbers, d[0], d[1], d[2], d[3]);
  if (kind == "string") DimStringArray(strings, d[0], d[1], d[2], d[3]);
  if (kind == "byte") DimByteArray(bytes, d[0], d[1], d[2], d[3]);
}

}  // namespace

int GameMain() {
  std::istringstream words(GetCommandLine().TextPointer());
  std::string action, kind;
  words >> action >> kind;
  std::vector<double> numbers;
  for (std::string word; words >> word;) numbers.push_back(std::strtod(word.c_str(), nullptr));

  if (action == "random") {
    if (kind != "startup") {
      // As start-up would have seeded it had the clock read seed: from the all-zero state
      // the process starts with (reseeding mixes in the previous result block).
      ProcessRandomGenerator() = RandomGenerator{};
      SeedRandom(static_cast<std::uint32_t>(std::stoul(kind)));
    }
    std::printf("draws:");
    for (int i = 0; i < static_cast<int>(numbers.at(0)); ++i) std::printf(" %.0f", RandomInt(1e9));
    std::printf("\n");
    return 0;
  }

  NumberArray numberArray;
  StringArray stringArray;
  ByteArray byteArray;
  numbers.resize(8, 0);
  SetSourcePosition(2, 30);
  Dimension(numberArray, stringArray, byteArray, kind, numbers);
  if (action == "index") {
    SetSourcePosition(2, 31);
    const auto i0 = static_cast<std::int32_t>(numbers[4]), i1 = static_cast<std::int32_t>(numbers[5]);
    const auto i2 = static_cast<std::int32_t>(numbers[6]), i3 = static_cast<std::int32_t>(numbers[7]);
    if (kind == "number") ArrayElement(numberArray, i0, i1, i2, i3) = 1;
    if (kind == "string") ArrayElement(stringArray, i0, i1, i2, i3) = "x";
    if (kind == "byte") ArrayElement(byteArray, i0, i1, i2, i3) = 1;
  }
  std::printf("survived\n");
  return 0;
}
