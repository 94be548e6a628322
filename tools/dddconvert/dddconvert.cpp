// dddconvert: converts 3D files of the common formats into the engine's binary model
// files and scene files.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assimp_reader.h"
#include "gfx3d/model_scene_description.h"
#include "model_convert.h"

namespace {

constexpr const char* kUsage =
    "usage: dddconvert [OPTION...] INPUT OUTPUT.ddd\n"
    "           merge every mesh of INPUT into one binary model file\n"
    "       dddconvert [OPTION...] INPUT --scene OUTPUT.ddw\n"
    "           write a scene file with one model file per mesh (OUTPUT_1.ddd, ...) and the\n"
    "           textures the materials name as PNG files (OUTPUT_1.png, ...) beside it\n"
    "INPUT is any format the Assimp library reads: Wavefront OBJ, glTF 2.0, FBX, Collada,\n"
    "3DS, MD2, MD3 and others.\n"
    "options:\n"
    "  --fps N                 bake animations at N frames per second (default 10)\n"
    "  --animation NAME|INDEX  the animation to bake (default: the first one)\n"
    "  --rest                  ignore animations and keyframes, write the rest pose\n"
    "  --frames A:B            keep frames A to B only (0-based, inclusive; for MD2 and\n"
    "                          MD3 files the frames they store)\n"
    "  --scale S               multiply every coordinate by S (default 1)\n"
    "  --up y|z                the up axis of the model as read (default y, the engine's;\n"
    "                          give z for models that come out lying on their back)\n"
    "  --flip-v                flip textures vertically, for files whose texture\n"
    "                          coordinates count from the top of the picture\n"
    "Prints one line per file written: triangles, frames, colours and size.\n"
    "Exit codes: 0 converted, 1 the conversion failed, 2 wrong usage.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "dddconvert: %s\n%s", message.c_str(), kUsage);
  return 2;
}

bool ParseNumber(const char* text, double& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && errno == 0 && std::isfinite(value);
}

bool ParseFrameRange(const std::string& text, int& first, int& last) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  char* end = nullptr;
  const long a = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + colon) return false;
  const char* second = text.c_str() + colon + 1;
  const long b = std::strtol(second, &end, 10);
  if (end == second || *end != '\0' || a < 0 || b < a || b > 1000000) return false;
  first = static_cast<int>(a);
  last = static_cast<int>(b);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ConvertOptions options;
  std::vector<std::string> paths;
  std::string scenePath;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    double number = 0;
    if (argument == "-h" || argument == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (argument == "--rest") {
      options.restPose = true;
    } else if (argument == "--flip-v") {
      options.axes.flipV = true;
    } else if (argument == "--fps" || argument == "--scale" || argument == "--animation" || argument == "--frames" ||
               argument == "--up" || argument == "--scene") {
      if (!hasValue) return UsageError(argument + " needs a value");
      const std::string value = argv[++i];
      if (argument == "--fps") {
        if (!ParseNumber(value.c_str(), number) || number <= 0 || number > 1000) {
          return UsageError("--fps needs a number above 0 and at most 1000");
        }
        options.fps = number;
      } else if (argument == "--scale") {
        if (!ParseNumber(value.c_str(), number) || number == 0) return UsageError("--scale needs a number other than 0");
        options.axes.scale = static_cast<float>(number);
      } else if (argument == "--animation") {
        options.animation = value;
      } else if (argument == "--frames") {
        if (!ParseFrameRange(value, options.firstFrame, options.lastFrame)) {
          return UsageError("--frames needs A:B with 0 <= A <= B");
        }
      } else if (argument == "--up") {
        if (value != "y" && value != "z") return UsageError("--up needs y or z");
        options.axes.zUp = value == "z";
      } else {
        scenePath = value;
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError("unknown option " + argument);
    } else {
      paths.push_back(argument);
    }
  }
  const std::size_t wanted = scenePath.empty() ? 2 : 1;
  if (paths.size() != wanted) return UsageError(scenePath.empty() ? "needs INPUT and OUTPUT" : "needs one INPUT");
  const std::string& input = paths[0];

  SourceScene scene;
  std::string error;
  std::vector<OutputSummary> written;
  std::vector<std::string> warnings;
  const bool converted =
      ReadSourceFile(input, scene, error) &&
      (scenePath.empty() ? ConvertToModel(scene, options, paths[1], written, error)
                         : ConvertToScene(scene, options, SceneFolder(input), scenePath, written, warnings, error));
  for (const std::string& warning : warnings) std::fprintf(stderr, "dddconvert: warning: %s\n", warning.c_str());
  for (const OutputSummary& summary : written) std::printf("%s\n", SummaryLine(summary).c_str());
  if (!converted) {
    std::fprintf(stderr, "dddconvert: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
