#include "core/runtime_array.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "base/number_truncation.h"
#include "base/program_end.h"

namespace {

constexpr double kIndexErrorCode = 9;
constexpr double kAllocationErrorCode = 7;

// Capacities are signed 32-bit; a size whose rounded-up element count would not fit is
// refused as an allocation failure instead of being wrapped around.
constexpr double kMaxElementCount = std::numeric_limits<std::int32_t>::max() - 64;

// Number arrays grow in steps of 8 elements, text and byte arrays in steps of 64.
constexpr std::int64_t kNumberCapacityStep = 8;
constexpr std::int64_t kBlockCapacityStep = 64;

// What a Dim command makes of its four sizes.
struct Layout {
  std::int32_t capacity = 0;   // the capacity the element count needs
  bool startOver = false;      // the first size is below 1: storage is always replaced
  std::int32_t dims[4] = {};   // the sizes truncated toward zero
  std::int32_t dimensionCount = 0;
  std::int32_t strides[3] = {};
};

// Every later size below 1 counts as one element along its dimension; so does a missing
// (size 0) one, which only ever takes index 0.
constexpr std::int64_t SpanOf(std::int32_t size) { return size > 1 ? size : 1; }

Layout PlanLayout(double d0, double d1, double d2, double d3, std::int64_t step) {
  // NaN sizes read as 0, so that every comparison below has a defined outcome.
  for (double* size : {&d0, &d1, &d2, &d3}) {
    if (std::isnan(*size)) *size = 0;
  }
  Layout layout;
  layout.startOver = d0 < 1;
  const double n0 = layout.startOver ? 0 : d0;
  const double elementCount = std::max(d1, 1.0) * n0 * std::max(d2, 1.0) * std::max(d3, 1.0);
  if (!(elementCount <= kMaxElementCount)) EndProgramWithError(kAllocationErrorCode);

  layout.dims[0] = TruncateToInt32(n0);
  layout.dims[1] = TruncateToInt32(d1);
  layout.dims[2] = TruncateToInt32(d2);
  layout.dims[3] = TruncateToInt32(d3);
  layout.dimensionCount = d3 != 0 ? 4 : d2 != 0 ? 3 : d1 != 0 ? 2 : n0 != 0 ? 1 : 0;

  // A missing or non-positive middle dimension spans one step, so that distinct indices
  // of the dimensions after it never share an element.
  const std::int64_t stride1 = layout.dims[0];
  const std::int64_t stride2 = stride1 * SpanOf(layout.dims[1]);
  const std::int64_t stride3 = stride2 * SpanOf(layout.dims[2]);
  layout.strides[0] = static_cast<std::int32_t>(stride1);
  layout.strides[1] = static_cast<std::int32_t>(stride2);
  layout.strides[2] = static_cast<std::int32_t>(stride3);

  // The next multiple of the step above the element count (every reachable position lies
  // below stride3 * span of the last dimension, which never exceeds the element count).
  const std::int64_t reachable = stride3 * SpanOf(layout.dims[3]);
  const std::int64_t whole = std::max(static_cast<std::int64_t>(elementCount), reachable);
  layout.capacity = static_cast<std::int32_t>(whole / step * step + step);
  return layout;
}

template <typename Array>
void ApplyShape(Array& array, const Layout& layout) {
  array.dim0 = layout.dims[0];
  array.dim1 = layout.dims[1];
  array.dim2 = layout.dims[2];
  array.dim3 = layout.dims[3];
  array.dimensionCount = layout.dimensionCount;
  array.stride1 = layout.strides[0];
  array.stride2 = layout.strides[1];
  array.stride3 = layout.strides[2];
}

void CopyShape(ArrayShape& to, const ArrayShape& from) { to = from; }

template <typename Array>
void ClearShape(Array& array) {
  array.data = nullptr;
  static_cast<ArrayShape&>(array) = ArrayShape{};
}

// Elements a block copy of the whole array covers: dim0 times the span of each later
// dimension.
template <typename Array>
std::int64_t ElementCount(const Array& array) {
  if (array.data == nullptr || array.dim0 <= 0) return 0;
  return array.dim0 * SpanOf(array.dim1) * SpanOf(array.dim2) * SpanOf(array.dim3);
}

void ReleaseHeapBlock(NumberArray& array) {
  if (array.data != nullptr && !array.UsesInlineStorage()) std::free(array.data);
  array.data = nullptr;
  array.capacity = 0;
}

// Number of index values along one dimension that address elements: a missing
// dimension still has index 0, a negative size has none.
std::int64_t IndexCount(std::int32_t size, bool firstDimension) {
  if (size > 0) return size;
  return (size == 0 && !firstDimension) ? 1 : 0;
}

// Copies the elements whose indices lie inside both arrays, matched by index. The first
// index runs fastest, so each run along it is one contiguous block in both arrays.
void CopyOverlap(const NumberArray& from, NumberArray& to) {
  const std::int64_t m0 = std::min(IndexCount(from.dim0, true), IndexCount(to.dim0, true));
  const std::int64_t m1 = std::min(IndexCount(from.dim1, false), IndexCount(to.dim1, false));
  const std::int64_t m2 = std::min(IndexCount(from.dim2, false), IndexCount(to.dim2, false));
  const std::int64_t m3 = std::min(IndexCount(from.dim3, false), IndexCount(to.dim3, false));
  if (m0 == 0) return;
  for (std::int64_t i3 = 0; i3 < m3; ++i3) {
    for (std::int64_t i2 = 0; i2 < m2; ++i2) {
      for (std::int64_t i1 = 0; i1 < m1; ++i1) {
        const double* source = from.data + i1 * from.stride1 + i2 * from.stride2 + i3 * from.stride3;
        double* target = to.data + i1 * to.stride1 + i2 * to.stride2 + i3 * to.stride3;
        std::memcpy(target, source, static_cast<std::size_t>(m0) * sizeof(double));
      }
    }
  }
}

void TakeStorage(NumberArray& to, NumberArray& from) noexcept {
  CopyShape(to, from);
  if (from.UsesInlineStorage()) {
    std::memcpy(to.inlineStorage, from.inlineStorage, sizeof to.inlineStorage);
    to.data = to.inlineStorage;
  } else {
    to.data = from.data;
  }
  ClearShape(from);
}

template <typename Array>
void TakeBlock(Array& to, Array& from) noexcept {
  CopyShape(to, from);
  to.data = from.data;
  ClearShape(from);
}

}  // namespace

namespace runtime_array_detail {

void EndWithIndexError() { EndProgramWithError(kIndexErrorCode); }

}  // namespace runtime_array_detail

// ---------------------------------------------------------------------------------------
// Construction and release.

NumberArray::NumberArray(const NumberArray& other) : ArrayShape() { CopyArray(*this, other); }

NumberArray& NumberArray::operator=(const NumberArray& other) { return CopyArray(*this, other); }

NumberArray::NumberArray(NumberArray&& other) noexcept { TakeStorage(*this, other); }

NumberArray& NumberArray::operator=(NumberArray&& other) noexcept {
  if (this != &other) {
    ReleaseHeapBlock(*this);
    TakeStorage(*this, other);
  }
  return *this;
}

NumberArray::~NumberArray() { ReleaseHeapBlock(*this); }

StringArray::StringArray(StringArray&& other) noexcept { TakeBlock(*this, other); }

StringArray& StringArray::operator=(StringArray&& other) noexcept {
  if (this != &other) {
    delete[] data;
    TakeBlock(*this, other);
  }
  return *this;
}

StringArray::~StringArray() { delete[] data; }

ByteArray::ByteArray(ByteArray&& other) noexcept { TakeBlock(*this, other); }

ByteArray& ByteArray::operator=(ByteArray&& other) noexcept {
  if (this != &other) {
    std::free(data);
    TakeBlock(*this, other);
  }
  return *this;
}

ByteArray::~ByteArray() { std::free(data); }

// ---------------------------------------------------------------------------------------
// Dimensioning.

void DimArray(NumberArray& array, double d0, double d1, double d2, double d3) {
  const Layout layout = PlanLayout(d0, d1, d2, d3, kNumberCapacityStep);
  bool cleared = false;
  if (array.data == nullptr || array.capacity < layout.capacity || layout.startOver) {
    ReleaseHeapBlock(array);
    if (layout.capacity > NumberArray::kInlineCapacity) {
      // A fresh block from calloc is already zero; the system hands out zeroed pages
      // without touching them.
      array.data = static_cast<double*>(std::calloc(static_cast<std::size_t>(layout.capacity), sizeof(double)));
      if (array.data == nullptr) EndProgramWithError(kAllocationErrorCode);
      cleared = true;
    } else {
      array.data = array.inlineStorage;
    }
    array.capacity = layout.capacity;
  }
  if (!cleared) std::fill_n(array.data, array.capacity, 0.0);
  ApplyShape(array, layout);
}

void DimStringArray(StringArray& array, double d0, double d1, double d2, double d3) {
  const Layout layout = PlanLayout(d0, d1, d2, d3, kBlockCapacityStep);
  if (array.data == nullptr || array.capacity < layout.capacity || layout.startOver) {
    delete[] array.data;
    array.data = nullptr;
    array.capacity = 0;
    array.data = new (std::nothrow) BasicString[static_cast<std::size_t>(layout.capacity)];
    if (array.data == nullptr) EndProgramWithError(kAllocationErrorCode);
    array.capacity = layout.capacity;
  } else {
    // Kept entries become empty but keep their buffers for the texts to come.
    for (std::int32_t i = 0; i < layout.capacity; ++i) array.data[i] = "";
  }
  ApplyShape(array, layout);
}

void DimByteArray(ByteArray& array, double d0, double d1, double d2, double d3) {
  const Layout layout = PlanLayout(d0, d1, d2, d3, kBlockCapacityStep);
  if (array.data == nullptr || array.capacity < layout.capacity || layout.startOver) {
    std::free(array.data);
    array.data = nullptr;
    array.capacity = 0;
    array.data = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(layout.capacity)));
    if (array.data == nullptr) EndProgramWithError(kAllocationErrorCode);
    array.capacity = layout.capacity;
  }
  std::memset(array.data, 0, static_cast<std::size_t>(layout.capacity));
  ApplyShape(array, layout);
}

// ---------------------------------------------------------------------------------------
// Resizing and copying.

void RedimArray(NumberArray& array, double d0, double d1, double d2, double d3) {
  NumberArray resized;
  DimArray(resized, d0, d1, d2, d3);
  if (array.dimensionCount > 0 && array.data != nullptr) CopyOverlap(array, resized);

  if (array.UsesInlineStorage() || resized.UsesInlineStorage()) {
    DimArray(array, resized.dim0, resized.dim1, resized.dim2, resized.dim3);
    const std::int64_t count = ElementCount(resized);
    if (count > 0) std::memcpy(array.data, resized.data, static_cast<std::size_t>(count) * sizeof(double));
  } else {
    // Both use heap blocks: exchange them; the old block leaves with the temporary.
    std::swap(array.data, resized.data);
    CopyShape(array, resized);
  }
}

NumberArray& CopyArray(NumberArray& destination, const NumberArray& source) {
  if (&destination == &source) return destination;  // dimensioning would clear the source
  DimArray(destination, source.dim0, source.dim1, source.dim2, source.dim3);
  const std::int64_t count = ElementCount(source);
  if (count > 0) std::memcpy(destination.data, source.data, static_cast<std::size_t>(count) * sizeof(double));
  return destination;
}

void FillArrayFromList(NumberArray& array, std::int32_t count, const double* values) {
  DimArray(array, count);
  if (count > 0 && values != nullptr) {
    std::memcpy(array.data, values, static_cast<std::size_t>(count) * sizeof(double));
  }
}

void FillArrayFromList(NumberArray& array, std::initializer_list<double> values) {
  FillArrayFromList(array, static_cast<std::int32_t>(values.size()), values.begin());
}

namespace {

template <typename Array>
double BoundOf(const Array& array, double dimension) {
  switch (TruncateToInt32(dimension)) {
    case 0: return array.dim0;
    case 1: return array.dim1;
    case 2: return array.dim2;
    case 3: return array.dim3;
    default: return 0;
  }
}

}  // namespace

double GetArrayBound(const NumberArray& array, double dimension) { return BoundOf(array, dimension); }
double GetArrayBound(const StringArray& array, double dimension) { return BoundOf(array, dimension); }
