#include "files/file_chooser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(ParseChooserFilter, PairsOfDescriptionAndPatterns) {
  const std::vector<ChooserFilter> filters = ParseChooserFilter("Pictures|*.png;*.bmp|All files|*.*");
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].description, "Pictures");
  EXPECT_EQ(filters[0].patterns, (Strings{"*.png", "*.bmp"}));
  EXPECT_EQ(filters[1].description, "All files");
  EXPECT_EQ(filters[1].patterns, Strings{"*.*"});
}

TEST(ParseChooserFilter, IncompleteOrEmptyPartsEndTheList) {
  EXPECT_TRUE(ParseChooserFilter("").empty());
  EXPECT_TRUE(ParseChooserFilter("Only a description").empty());
  EXPECT_EQ(ParseChooserFilter("Text|*.txt|").size(), 1u);
  EXPECT_EQ(ParseChooserFilter("Text|*.txt|Dangling").size(), 1u);
  EXPECT_EQ(ParseChooserFilter("Text|*.txt||*.png|Pictures|*.png").size(), 1u);
  EXPECT_EQ(ParseChooserFilter("Text| |Pictures|*.png").size(), 0u);
  EXPECT_TRUE(ParseChooserFilter("|*.txt").empty());
}

TEST(CaseBlindPattern, EveryLetterMatchesBothCases) {
  EXPECT_EQ(CaseBlindPattern("*.Png"), "*.[pP][nN][gG]");
  EXPECT_EQ(CaseBlindPattern("x?1*"), "[xX]?1*");
  EXPECT_EQ(CaseBlindPattern("[ab].c"), "[ab].[cC]");
}

TEST(ChooserCommand, ZenityGetsTheFiltersAndStartsInTheFolder) {
  ChooserRequest request;
  request.forOpening = true;
  request.filters = ParseChooserFilter("Levels (*.lvl)|*.lvl|Everything|*.*");
  request.startFolder = "/home/player/game";
  EXPECT_EQ(ChooserCommand(ChooserProgram::kZenity, request),
            (Strings{"zenity", "--file-selection", "--title=Open", "--filename=/home/player/game/",
                     "--file-filter=Levels (*.lvl) | *.[lL][vV][lL]", "--file-filter=Everything | *"}));
  request.forOpening = false;
  request.filters.clear();
  request.startFolder = "/";
  EXPECT_EQ(ChooserCommand(ChooserProgram::kZenity, request),
            (Strings{"zenity", "--file-selection", "--title=Save As", "--save", "--filename=/"}));
}

TEST(ChooserCommand, KdialogGetsOneFilterLinePerEntry) {
  ChooserRequest request;
  request.forOpening = false;
  request.filters = ParseChooserFilter("Pictures|*.png;*.bmp|Text|*.txt");
  request.startFolder = "/tmp";
  EXPECT_EQ(ChooserCommand(ChooserProgram::kKdialog, request),
            (Strings{"kdialog", "--title", "Save As", "--getsavefilename", "/tmp", "*.png *.bmp|Pictures\n*.txt|Text"}));
  request.forOpening = true;
  request.filters.clear();
  EXPECT_EQ(ChooserCommand(ChooserProgram::kKdialog, request),
            (Strings{"kdialog", "--title", "Open", "--getopenfilename", "/tmp"}));
}

TEST(RunChooserCommand, TakesTheFirstLineOfASuccessfulRun) {
  EXPECT_EQ(RunChooserCommand({"printf", "/a b/c.txt\nsecond line\n"}), "/a b/c.txt");
  EXPECT_EQ(RunChooserCommand({"printf", "/no/newline"}), "/no/newline");
  // Arguments reach the program as they are, without a shell in between.
  EXPECT_EQ(RunChooserCommand({"echo", "$HOME;*"}), "$HOME;*");
}

TEST(RunChooserCommand, CancelledRunGivesAnEmptyTextAndAMissingProgramNothing) {
  EXPECT_EQ(RunChooserCommand({"false"}), "");
  EXPECT_EQ(RunChooserCommand({"sh", "-c", "echo /printed/anyway; exit 1"}), "");
  EXPECT_EQ(RunChooserCommand({"no-such-chooser-program"}), std::nullopt);
  EXPECT_EQ(RunChooserCommand({}), std::nullopt);
}

}  // namespace
