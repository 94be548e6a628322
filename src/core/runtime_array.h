#pragma once
// The language's arrays: up to four dimensions, sized at run time, first index fastest.
//
// Element (i0, i1, i2, i3) lives at i0 + i1 * stride1 + i2 * stride2 + i3 * stride3.
// Indices of dimensions an array does not have are 0. Every index error ends the program
// with error code 9, every failed allocation (including sizes whose element count does
// not fit in memory) with error code 7.
//
// Capacities grow in steps of 8 numbers, 64 texts or 64 bytes and only grow, except that
// dimensioning with a first size below 1 always starts over with the smallest storage.
// Number arrays of up to 16 elements live in their own inline storage, with no heap block.

#include <cstdint>
#include <initializer_list>

#include "core/basic_string.h"

// The sizes and strides every array kind shares.
struct ArrayShape {
  std::int32_t stride1 = 0;  // element distance of one step in the second index
  std::int32_t stride2 = 0;
  std::int32_t stride3 = 0;
  std::int32_t dim0 = 0;  // sizes as given, truncated toward zero; 0 for a missing dimension
  std::int32_t dim1 = 0;
  std::int32_t dim2 = 0;
  std::int32_t dim3 = 0;
  std::int32_t dimensionCount = 0;  // 0 to 4
  std::int32_t capacity = 0;        // elements the storage holds
};

struct NumberArray : ArrayShape {
  static constexpr std::int32_t kInlineCapacity = 16;

  NumberArray() = default;
  NumberArray(const NumberArray& other);             // copies as CopyArray does
  NumberArray& operator=(const NumberArray& other);  // CopyArray
  NumberArray(NumberArray&& other) noexcept;         // takes the other's elements; it is left empty
  NumberArray& operator=(NumberArray&& other) noexcept;
  ~NumberArray();

  bool UsesInlineStorage() const noexcept { return data == inlineStorage; }

  double* data = nullptr;  // null before the first DimArray; inlineStorage while capacity <= 16
  double inlineStorage[kInlineCapacity] = {};
};

struct StringArray : ArrayShape {
  StringArray() = default;
  StringArray(const StringArray&) = delete;
  StringArray& operator=(const StringArray&) = delete;
  StringArray(StringArray&& other) noexcept;
  StringArray& operator=(StringArray&& other) noexcept;
  ~StringArray();

  BasicString* data = nullptr;  // one array of exactly capacity constructed strings
};

struct ByteArray : ArrayShape {
  ByteArray() = default;
  ByteArray(const ByteArray&) = delete;
  ByteArray& operator=(const ByteArray&) = delete;
  ByteArray(ByteArray&& other) noexcept;
  ByteArray& operator=(ByteArray&& other) noexcept;
  ~ByteArray();

  std::uint8_t* data = nullptr;
};

// Sizes the array; every element becomes 0 (numbers, bytes) or the empty text. A first
// size below 1 gives an array with no elements; later sizes below 1 count as 1 element.
void DimArray(NumberArray& array, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
void DimStringArray(StringArray& array, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
void DimByteArray(ByteArray& array, double d0, double d1 = 0, double d2 = 0, double d3 = 0);

// New sizes; elements inside both the old and the new sizes keep their values at their
// indices, all others are 0.
void RedimArray(NumberArray& array, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
// The destination gets the source's sizes and elements.
NumberArray& CopyArray(NumberArray& destination, const NumberArray& source);
// A one-dimensional array of count elements holding values[0 .. count - 1].
void FillArrayFromList(NumberArray& array, std::int32_t count, const double* values);
void FillArrayFromList(NumberArray& array, std::initializer_list<double> values);
// dim0 .. dim3 for dimension 0 .. 3 (truncated toward zero), 0 for any other dimension.
double GetArrayBound(const NumberArray& array, double dimension);
double GetArrayBound(const StringArray& array, double dimension);

// ---------------------------------------------------------------------------------------
// Checked element access. Compiled code reaches every element through these.

namespace runtime_array_detail {

// Records error code 9 and ends the program.
[[noreturn]] void EndWithIndexError();

// A dimension of size 0 is one the array does not have: only index 0 is accepted there.
// A negative size accepts no index at all.
constexpr bool IndexFits(std::int32_t index, std::int32_t size) {
  return size != 0 ? index < size : index == 0;
}

template <typename Array>
std::int64_t CheckedPosition(const Array& array, std::int32_t i0, std::int32_t i1, std::int32_t i2,
                             std::int32_t i3) {
  if ((i0 | i1 | i2 | i3) < 0 || array.data == nullptr || i0 >= array.dim0 || !IndexFits(i1, array.dim1) ||
      !IndexFits(i2, array.dim2) || !IndexFits(i3, array.dim3)) {
    EndWithIndexError();
  }
  return i0 + static_cast<std::int64_t>(i1) * array.stride1 + static_cast<std::int64_t>(i2) * array.stride2 +
         static_cast<std::int64_t>(i3) * array.stride3;
}

}  // namespace runtime_array_detail

inline double& ArrayElement(NumberArray& array, std::int32_t i0, std::int32_t i1 = 0, std::int32_t i2 = 0,
                            std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
inline const double& ArrayElement(const NumberArray& array, std::int32_t i0, std::int32_t i1 = 0,
                                  std::int32_t i2 = 0, std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
inline BasicString& ArrayElement(StringArray& array, std::int32_t i0, std::int32_t i1 = 0, std::int32_t i2 = 0,
                                 std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
inline const BasicString& ArrayElement(const StringArray& array, std::int32_t i0, std::int32_t i1 = 0,
                                       std::int32_t i2 = 0, std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
inline std::uint8_t& ArrayElement(ByteArray& array, std::int32_t i0, std::int32_t i1 = 0, std::int32_t i2 = 0,
                                  std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
inline const std::uint8_t& ArrayElement(const ByteArray& array, std::int32_t i0, std::int32_t i1 = 0,
                                        std::int32_t i2 = 0, std::int32_t i3 = 0) {
  return array.data[runtime_array_detail::CheckedPosition(array, i0, i1, i2, i3)];
}
