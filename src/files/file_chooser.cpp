#include "files/file_chooser.h"

#include <cerrno>
#include <cstddef>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> SplitPatterns(const std::string& text) {
  std::vector<std::string> patterns;
  std::string current;
  for (const char c : text) {
    if (c == ';' || c == ' ' || c == '\t') {
      if (!current.empty()) patterns.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) patterns.push_back(current);
  return patterns;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "*.*" lists every file in the dialogs the games were written for, names without an
// extension included; as a glob it would need a dot.
std::string ChooserPattern(const std::string& pattern) { return pattern == "*.*" ? "*" : pattern; }

std::string JoinPatterns(const ChooserFilter& filter, bool caseBlind) {
  std::string joined;
  for (const std::string& pattern : filter.patterns) {
    if (!joined.empty()) joined += ' ';
    joined += caseBlind ? CaseBlindPattern(ChooserPattern(pattern)) : ChooserPattern(pattern);
  }
  return joined;
}

std::vector<std::string> ZenityCommand(const ChooserRequest& request) {
  std::vector<std::string> command = {"zenity", "--file-selection"};
  command.push_back(request.forOpening ? "--title=Open" : "--title=Save As");
  if (!request.forOpening) command.push_back("--save");
  // A trailing "/" makes the chooser open the folder itself rather than select it.
  command.push_back("--filename=" + request.startFolder + (request.startFolder.ends_with('/') ? "" : "/"));
  for (const ChooserFilter& filter : request.filters) {
    // GTK matches patterns case-sensitively.
    command.push_back("--file-filter=" + filter.description + " | " + JoinPatterns(filter, true));
  }
  return command;
}

std::vector<std::string> KdialogCommand(const ChooserRequest& request) {
  std::vector<std::string> command = {"kdialog"};
  command.push_back("--title");
  command.push_back(request.forOpening ? "Open" : "Save As");
  command.push_back(request.forOpening ? "--getopenfilename" : "--getsavefilename");
  command.push_back(request.startFolder);
  // kdialog's filter: one "patterns|description" line per entry.
  std::string filterText;
  for (const ChooserFilter& filter : request.filters) {
    if (!filterText.empty()) filterText += '\n';
    filterText += JoinPatterns(filter, false) + "|" + filter.description;
  }
  if (!filterText.empty()) command.push_back(filterText);
  return command;
}

// Waits for the process; true when it exited with code 0. A process that cannot be
// waited for (children reaped elsewhere) counts as successful: its output decides.
bool WaitForSuccess(pid_t process) {
  int status = 0;
  for (;;) {
    if (waitpid(process, &status, 0) == process) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (errno != EINTR) return true;
  }
}

}  // namespace

std::vector<ChooserFilter> ParseChooserFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    const std::size_t bar = filter.find('|', start);
    if (bar == std::string::npos) {
      parts.push_back(filter.substr(start));
      break;
    }
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<ChooserFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    // An empty part ends the list, as it ends the platform dialogs' filter lists.
    std::vector<std::string> patterns = SplitPatterns(parts[i + 1]);
    if (parts[i].empty() || patterns.empty()) break;
    filters.push_back({parts[i], std::move(patterns)});
  }
  return filters;
}

std::string CaseBlindPattern(const std::string& pattern) {
  std::string result;
  bool inBracket = false;
  for (const char c : pattern) {
    if (c == '[') inBracket = true;
    if (c == ']') inBracket = false;
    if (IsAsciiLetter(c) && !inBracket) {
      const char lower = static_cast<char>(c | 0x20);
      result += '[';
      result += lower;
      result += static_cast<char>(lower - 'a' + 'A');
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

std::vector<std::string> ChooserCommand(ChooserProgram program, const ChooserRequest& request) {
  return program == ChooserProgram::kZenity ? ZenityCommand(request) : KdialogCommand(request);
}

std::optional<std::string> RunChooserCommand(const std::vector<std::string>& command) {
  if (command.empty()) return std::nullopt;
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) return std::nullopt;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  // The toolkit's warnings are no business of the game's output.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  std::vector<char*> arguments;
  for (const std::string& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);

  pid_t process = -1;
  const int started = posix_spawnp(&process, arguments[0], &actions, nullptr, arguments.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (started != 0) {
    close(output[0]);
    return std::nullopt;
  }

  std::string printed;
  char buffer[1024];
  for (;;) {
    const ssize_t got = read(output[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    printed.append(buffer, static_cast<std::size_t>(got));
  }
  close(output[0]);
  if (!WaitForSuccess(process)) return std::string();

  const std::size_t lineEnd = printed.find('\n');
  if (lineEnd != std::string::npos) printed.resize(lineEnd);
  return printed;
}

std::string RunDesktopChooser(const ChooserRequest& request) {
  for (const ChooserProgram program : {ChooserProgram::kZenity, ChooserProgram::kKdialog}) {
    if (std::optional<std::string> chosen = RunChooserCommand(ChooserCommand(program, request))) return *chosen;
  }
  return {};
}
