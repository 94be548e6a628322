#include "core/runtime_array.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "base/engine_state.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"
#include "value_probe_run.h"

namespace {

// In a death test's child the engine's end-of-program path exits with code 0; the error
// code it recorded is reported on the way out so the test can match it.
void ReportErrorCodeAtExit() {
  std::atexit([] { std::fprintf(stderr, "error code %g\n", Engine().errorCode); });
}

#define EXPECT_ENDS_WITH_CODE(statement, code)                                              \
  EXPECT_EXIT(                                                                              \
      {                                                                                     \
        ReportErrorCodeAtExit();                                                            \
        statement;                                                                          \
      },                                                                                    \
      ::testing::ExitedWithCode(0), "error code " #code "\n")

// Fills every element of a 2D number array with 10 * i0 + i1 + 1.
void FillPattern(NumberArray& array) {
  for (int i1 = 0; i1 < std::max(array.dim1, 1); ++i1) {
    for (int i0 = 0; i0 < array.dim0; ++i0) ArrayElement(array, i0, i1) = 10 * i0 + i1 + 1;
  }
}

TEST(DimArray, SmallArraysUseTheInlineStorage) {
  NumberArray a;
  EXPECT_EQ(a.data, nullptr);
  DimArray(a, 10, 0, 0, 0);
  EXPECT_EQ(a.dimensionCount, 1);
  EXPECT_EQ(a.dim0, 10);
  EXPECT_EQ(a.capacity, 16);
  EXPECT_TRUE(a.UsesInlineStorage());
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ArrayElement(a, i), 0);
  EXPECT_EQ(GetArrayBound(a, 0), 10);
  EXPECT_EQ(GetArrayBound(a, 1), 0);
  EXPECT_EQ(GetArrayBound(a, 4), 0);
  EXPECT_EQ(GetArrayBound(a, -1), 0);
}

TEST(DimArray, CapacityIsTheNextMultipleOfEightAboveTheCount) {
  NumberArray a, b, c;
  DimArray(a, 8);
  EXPECT_EQ(a.capacity, 16);
  EXPECT_TRUE(a.UsesInlineStorage());
  DimArray(b, 17);
  EXPECT_EQ(b.capacity, 24);
  EXPECT_FALSE(b.UsesInlineStorage());
  DimArray(c, 2.5, 2.5);  // the count 6.25 is computed before truncation
  EXPECT_EQ(c.capacity, 8);
  EXPECT_EQ(c.dim0, 2);
  EXPECT_EQ(c.dim1, 2);
}

TEST(DimArray, FirstIndexRunsFastest) {
  NumberArray a;
  DimArray(a, 3, 4, 0, 0);
  EXPECT_EQ(a.dimensionCount, 2);
  EXPECT_EQ(&ArrayElement(a, 2, 3), a.data + 11);
  EXPECT_EQ(a.capacity, 16);
  NumberArray cube;
  DimArray(cube, 2, 3, 4, 5);
  EXPECT_EQ(cube.dimensionCount, 4);
  EXPECT_EQ(cube.stride1, 2);
  EXPECT_EQ(cube.stride2, 6);
  EXPECT_EQ(cube.stride3, 24);
  EXPECT_EQ(&ArrayElement(cube, 1, 2, 3, 4), cube.data + 1 + 2 * 2 + 3 * 6 + 4 * 24);
  EXPECT_EQ(cube.capacity, 128);
  EXPECT_EQ(GetArrayBound(cube, 3.9), 5);
}

TEST(DimArray, AMissingMiddleDimensionDoesNotMakeLaterIndicesShareElements) {
  NumberArray a;
  DimArray(a, 3, 0, 5, 0);
  EXPECT_EQ(a.dimensionCount, 3);
  ArrayElement(a, 1, 0, 0) = 1;
  ArrayElement(a, 1, 0, 4) = 2;
  EXPECT_EQ(ArrayElement(a, 1, 0, 0), 1);
  EXPECT_EQ(&ArrayElement(a, 2, 0, 4), a.data + 2 + 4 * 3);
}

TEST(DimArray, AFirstSizeBelowOneGivesNoElements) {
  NumberArray a;
  DimArray(a, 0.5, 3, 0, 0);
  EXPECT_EQ(a.dimensionCount, 2);
  EXPECT_EQ(a.dim0, 0);
  EXPECT_EQ(a.dim1, 3);
  EXPECT_TRUE(a.UsesInlineStorage());
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, 0), 9);
}

TEST(DimArray, RedimensioningClearsAndKeepsStorageThatFits) {
  NumberArray a;
  DimArray(a, 100);
  double* block = a.data;
  ArrayElement(a, 5) = 7;
  DimArray(a, 50);
  EXPECT_EQ(a.data, block);
  EXPECT_EQ(a.capacity, 104);
  for (int i = 0; i < 104; ++i) EXPECT_EQ(a.data[i], 0) << i;  // the whole capacity
  DimArray(a, 0);  // a first size below 1 always starts over
  EXPECT_TRUE(a.UsesInlineStorage());
  EXPECT_EQ(a.capacity, 8);
  EXPECT_EQ(a.dimensionCount, 0);
}

TEST(DimArray, NegativeLaterSizesCountAsOneButTakeNoIndex) {
  NumberArray a;
  DimArray(a, 4, -3);
  EXPECT_EQ(a.capacity, 8);
  EXPECT_EQ(a.dim1, -3);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, 0), 9);
}

TEST(DimArray, NaNSizesReadAsZero) {
  NumberArray a;
  DimArray(a, std::nan(""), 2);
  EXPECT_EQ(a.dim0, 0);
  DimArray(a, 3, std::nan(""));
  EXPECT_EQ(a.dim0, 3);
  EXPECT_EQ(a.dim1, 0);
  EXPECT_EQ(a.dimensionCount, 1);
}

TEST(DimArray, CountsThatDoNotFitAreAllocationFailures) {
  NumberArray a;
  // 65536 x 65536 wraps a 32-bit product to 0; 1e5 x 1e5 to a small positive count.
  EXPECT_ENDS_WITH_CODE(DimArray(a, 65536, 65536, 0, 0), 7);
  EXPECT_ENDS_WITH_CODE(DimArray(a, 100000, 100000, 0, 0), 7);
  EXPECT_ENDS_WITH_CODE(DimArray(a, 3e9, 0, 0, 0), 7);
  EXPECT_ENDS_WITH_CODE(DimArray(a, 2, 2, 2, std::numeric_limits<double>::infinity()), 7);
  StringArray s;
  EXPECT_ENDS_WITH_CODE(DimStringArray(s, 1024, 1024, 1024, 1024), 7);
  ByteArray b;
  EXPECT_ENDS_WITH_CODE(DimByteArray(b, 2147483647.0, 0, 0, 0), 7);
}

TEST(ArrayElement, EveryIndexErrorEndsWithCodeNine) {
  NumberArray a;
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0), 9);  // never dimensioned
  DimArray(a, 3, 4, 0, 0);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 3, 0, 0, 0), 9);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, 4, 0, 0), 9);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, -1, 0, 0, 0), 9);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, -1, 0, 0), 9);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, 0, 1, 0), 9);  // a dimension the array lacks
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 0, 0, 0, 1), 9);
  EXPECT_EQ(ArrayElement(a, 2, 3, 0, 0), 0);
}

TEST(StringArrays, DimensionInStepsOfSixtyFourWithEmptyTexts) {
  StringArray s;
  DimStringArray(s, 100, 0, 0, 0);
  EXPECT_EQ(s.capacity, 128);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ArrayElement(s, i).Data(), SharedEmptyBuffer);
  EXPECT_EQ(GetArrayBound(s, 0), 100);
  EXPECT_ENDS_WITH_CODE(ArrayElement(s, 100), 9);
}

TEST(StringArrays, KeptStorageEmptiesTheTextsButKeepsTheirBuffers) {
  StringArray s;
  DimStringArray(s, 10);
  ArrayElement(s, 3) = "hello";
  const char* buffer = ArrayElement(s, 3).Data();
  BasicString* block = s.data;
  DimStringArray(s, 5, 2);
  EXPECT_EQ(s.data, block);
  EXPECT_EQ(ArrayElement(s, 3).Length(), 0u);
  EXPECT_EQ(ArrayElement(s, 3).Data(), buffer);
  DimStringArray(s, 65);  // beyond the capacity: a new block of 128 constructed texts
  EXPECT_EQ(s.capacity, 128);
  EXPECT_EQ(ArrayElement(s, 64).Length(), 0u);
}

TEST(ByteArrays, DimensionClearedInStepsOfSixtyFour) {
  ByteArray b;
  DimByteArray(b, 16, 16);
  EXPECT_EQ(b.capacity, 320);
  ArrayElement(b, 15, 15) = 200;
  EXPECT_EQ(b.data[255], 200);
  DimByteArray(b, 16, 16);
  EXPECT_EQ(ArrayElement(b, 15, 15), 0);
  EXPECT_ENDS_WITH_CODE(ArrayElement(b, 16, 0), 9);
}

TEST(RedimArray, KeepsEveryElementAtItsIndices) {
  NumberArray a;
  DimArray(a, 3, 2, 0, 0);
  FillPattern(a);
  RedimArray(a, 2, 4, 0, 0);
  EXPECT_EQ(a.dim0, 2);
  EXPECT_EQ(a.dim1, 4);
  EXPECT_EQ(ArrayElement(a, 0, 0), 1);
  EXPECT_EQ(ArrayElement(a, 1, 0), 11);
  EXPECT_EQ(ArrayElement(a, 0, 1), 2);
  EXPECT_EQ(ArrayElement(a, 1, 1), 12);
  for (int i1 = 2; i1 < 4; ++i1) {
    for (int i0 = 0; i0 < 2; ++i0) EXPECT_EQ(ArrayElement(a, i0, i1), 0);
  }
}

TEST(RedimArray, GrowingTheFirstDimensionOfAHeapArrayMovesRows) {
  NumberArray a;
  DimArray(a, 10, 10);
  FillPattern(a);
  double* oldBlock = a.data;
  RedimArray(a, 12, 9);
  EXPECT_NE(a.data, oldBlock);  // the temporary's block was taken over
  EXPECT_EQ(a.capacity, 112);
  for (int i1 = 0; i1 < 9; ++i1) {
    for (int i0 = 0; i0 < 12; ++i0) {
      EXPECT_EQ(ArrayElement(a, i0, i1), i0 < 10 ? 10 * i0 + i1 + 1 : 0) << i0 << "," << i1;
    }
  }
}

TEST(RedimArray, ChangingTheNumberOfDimensionsKeepsTheFirstRow) {
  NumberArray a;
  FillArrayFromList(a, {1, 2, 3, 4, 5});
  RedimArray(a, 4, 3, 2);
  EXPECT_EQ(a.dimensionCount, 3);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ArrayElement(a, i, 0, 0), i + 1);
  EXPECT_EQ(ArrayElement(a, 0, 1, 0), 0);
  EXPECT_EQ(ArrayElement(a, 3, 2, 1), 0);
  RedimArray(a, 6);
  EXPECT_EQ(a.dimensionCount, 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ArrayElement(a, i), i + 1);
  EXPECT_EQ(ArrayElement(a, 4), 0);
}

TEST(RedimArray, AShrunkenHeapArrayKeepsItsBlockWhenTheResultIsSmall) {
  NumberArray a;
  DimArray(a, 20);
  ArrayElement(a, 3) = 4;
  double* block = a.data;
  RedimArray(a, 5);  // the temporary is inline; the array is dimensioned and copied into
  EXPECT_EQ(a.data, block);
  EXPECT_EQ(a.capacity, 24);
  EXPECT_EQ(ArrayElement(a, 3), 4);
  EXPECT_ENDS_WITH_CODE(ArrayElement(a, 5), 9);
}

TEST(RedimArray, OfANeverDimensionedArrayGivesZeros) {
  NumberArray a;
  RedimArray(a, 30);
  EXPECT_EQ(a.dim0, 30);
  EXPECT_EQ(ArrayElement(a, 29), 0);
  RedimArray(a, 0);
  EXPECT_EQ(a.dim0, 0);
  EXPECT_TRUE(a.UsesInlineStorage());
}

TEST(CopyArray, TakesSizesAndElements) {
  NumberArray source, destination;
  DimArray(source, 5, 7);
  FillPattern(source);
  DimArray(destination, 2);
  CopyArray(destination, source);
  EXPECT_EQ(destination.dim0, 5);
  EXPECT_EQ(destination.dim1, 7);
  EXPECT_EQ(destination.dimensionCount, 2);
  EXPECT_NE(destination.data, source.data);
  for (int i1 = 0; i1 < 7; ++i1) {
    for (int i0 = 0; i0 < 5; ++i0) EXPECT_EQ(ArrayElement(destination, i0, i1), 10 * i0 + i1 + 1);
  }
  CopyArray(source, source);  // copying onto itself leaves it alone
  EXPECT_EQ(ArrayElement(source, 4, 6), 47);
  NumberArray never;
  CopyArray(destination, never);
  EXPECT_EQ(destination.dim0, 0);
  EXPECT_EQ(destination.dimensionCount, 0);
}

TEST(NumberArrayValue, CopiesAndMovesKeepInlineDataWithTheirOwner) {
  NumberArray small;
  FillArrayFromList(small, {1, 2, 3});
  NumberArray copy(small);
  EXPECT_TRUE(copy.UsesInlineStorage());
  EXPECT_EQ(ArrayElement(copy, 2), 3);
  NumberArray moved(std::move(small));
  EXPECT_TRUE(moved.UsesInlineStorage());
  EXPECT_EQ(ArrayElement(moved, 1), 2);
  EXPECT_EQ(small.data, nullptr);

  NumberArray big;
  DimArray(big, 100);
  ArrayElement(big, 99) = 5;
  double* block = big.data;
  moved = std::move(big);
  EXPECT_EQ(moved.data, block);
  EXPECT_EQ(ArrayElement(moved, 99), 5);
  copy = moved;
  EXPECT_NE(copy.data, block);
  EXPECT_EQ(ArrayElement(copy, 99), 5);
}

TEST(FillArrayFromList, MakesAOneDimensionalArrayOfTheValues) {
  NumberArray a;
  DimArray(a, 4, 4);
  const double values[] = {2.5, -1, 7};
  FillArrayFromList(a, 3, values);
  EXPECT_EQ(a.dimensionCount, 1);
  EXPECT_EQ(a.dim0, 3);
  EXPECT_EQ(a.dim1, 0);
  EXPECT_EQ(ArrayElement(a, 0), 2.5);
  EXPECT_EQ(ArrayElement(a, 2), 7);
  FillArrayFromList(a, -4, values);
  EXPECT_EQ(a.dim0, 0);
}

// The whole program path: the index error's code reaches the end-of-program block.
TEST(ArrayErrorsInAProgram, TheLogShowsTheErrorCodeAndLine) {
  ScratchDirectory scratch;
  const auto run = [&](const std::vector<std::string>& arguments) {
    const ProcessResult result = RunValueProbe(arguments, scratch);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.find("survived"), std::string::npos) << result.output;
    return scratch.ReadFile("trovane-" + std::to_string(getuid()) + "/ErrorLog.txt");
  };
  EXPECT_EQ(run({"index", "string", "3", "2", "0", "0", "1", "2", "0", "0"}),
            "-End On Line\r\n9\r\n30\r\n31\r\n2\r\n");
  EXPECT_EQ(run({"dim", "byte", "70000", "70000", "1", "1"}), "-End On Line\r\n7\r\n29\r\n30\r\n2\r\n");
}

}  // namespace
