#pragma once
// The desktop's own file chooser, started as a separate program: zenity (GTK) when it is
// installed, else kdialog (KDE).

#include <optional>
#include <string>
#include <vector>

// One entry of a dialog's filter list: its description and its name patterns.
struct ChooserFilter {
  std::string description;
  std::vector<std::string> patterns;  // e.g. "*.png"; ";" and blanks separate them in the text
};

// The game's filter text: description "|" patterns "|" description "|" patterns ...
// A description without patterns after it, or an empty part, ends the list.
std::vector<ChooserFilter> ParseChooserFilter(const std::string& filter);

enum class ChooserProgram { kZenity, kKdialog };

struct ChooserRequest {
  bool forOpening = true;             // an open dialog, else a save dialog
  std::vector<ChooserFilter> filters;
  std::string startFolder;            // the folder the dialog shows first
};

// The program's name and arguments (argument 0 included) for the request.
std::vector<std::string> ChooserCommand(ChooserProgram program, const ChooserRequest& request);

// A pattern for a case-sensitive chooser that matches as the case-blind pattern would:
// each ASCII letter becomes a bracket of both cases ("*.Png" -> "*.[pP][nN][gG]").
std::string CaseBlindPattern(const std::string& pattern);

// Runs the command directly (no shell) and waits for it. Nothing (std::nullopt) when the
// program cannot be started; otherwise the path it printed (its first line), or an empty
// text when it ended without a choice.
std::optional<std::string> RunChooserCommand(const std::vector<std::string>& command);

// Asks zenity, else kdialog. Empty when nothing was chosen or neither is installed.
std::string RunDesktopChooser(const ChooserRequest& request);
