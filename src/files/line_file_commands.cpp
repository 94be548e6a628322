#include "files/line_file_commands.h"

#include <cmath>

#include "base/program_end.h"
#include "files/game_files.h"

namespace {

constexpr double kBadLineError = 7;
constexpr double kMissingFileError = 3;
constexpr const char* kNoData = "NO_DATA";
constexpr const char* kNoFile = "NO_FILE";

// The line index 0 to 255, or -1 for anything else.
int LineIndex(double line) {
  const double index = std::trunc(line);
  return (index >= 0 && index < LineFileCache::kLineCount) ? static_cast<int>(index) : -1;
}

bool LoadOrReport(LineFileCache& cache, const BasicString& fileName) {
  if (cache.Load(fileName.TextPointer()) == LineFileCache::LoadResult::kLoaded) return true;
  SetErrorCode(kMissingFileError);
  return false;
}

}  // namespace

void PutFileLine(const BasicString& fileName, double line, const BasicString& text) {
  const int index = LineIndex(line);
  if (index < 0) {
    SetErrorCode(kBadLineError);
    return;
  }
  LineFileCache& cache = ActiveGameFiles().lineFiles;
  LoadOrReport(cache, fileName);
  cache.PutLine(index, text.TextPointer());
}

void PutFileLineNumber(const BasicString& fileName, double line, double value) {
  PutFileLine(fileName, line, FormatNumber(value));
}

BasicString GetFileLine(const BasicString& fileName, double line, BasicString& text) {
  const int index = LineIndex(line);
  if (index < 0) {
    SetErrorCode(kBadLineError);
    return text = kNoData;
  }
  LineFileCache& cache = ActiveGameFiles().lineFiles;
  if (!LoadOrReport(cache, fileName)) return text = kNoFile;
  text = cache.Line(index).c_str();
  TrimControlTail(text);
  if (text.IsEmpty()) text = kNoData;
  return text;
}

double GetFileLineNumber(const BasicString& fileName, double line, double& value) {
  BasicString text;
  GetFileLine(fileName, line, text);
  return value = ParseNumber(text.TextPointer());
}
