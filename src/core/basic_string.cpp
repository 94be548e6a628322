#include "core/basic_string.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>

char SharedEmptyBuffer[1] = {0};

namespace {

constexpr std::uint32_t kMaxLength = std::numeric_limits<std::uint32_t>::max() - BasicString::kGrowthStep;

std::uint32_t CheckedLength(std::size_t length) {
  if (length > kMaxLength) throw std::bad_alloc();
  return static_cast<std::uint32_t>(length);
}

std::uint32_t CheckedSum(std::uint32_t a, std::uint32_t b) {
  return CheckedLength(static_cast<std::size_t>(a) + b);
}

}  // namespace

BasicString::BasicString(const char* text) { *this = text; }

BasicString::BasicString(std::string_view text) { AssignBytes(text.data(), CheckedLength(text.size())); }

BasicString::BasicString(const BasicString& other) { AssignBytes(other.buffer_, other.length_); }

BasicString::BasicString(BasicString&& other) noexcept
    : buffer_(other.buffer_), capacity_(other.capacity_), length_(other.length_) {
  other.buffer_ = SharedEmptyBuffer;
  other.capacity_ = 0;
  other.length_ = 0;
}

BasicString::BasicString(std::int32_t value) : BasicString(FormatInteger(value)) {}
BasicString::BasicString(float value) : BasicString(FormatNumber(value)) {}
BasicString::BasicString(double value) : BasicString(FormatNumber(value)) {}

BasicString::~BasicString() {
  Release();
  buffer_ = nullptr;
}

void BasicString::Release() noexcept {
  if (buffer_ != nullptr && buffer_ != SharedEmptyBuffer) delete[] buffer_;
  buffer_ = SharedEmptyBuffer;
  capacity_ = 0;
  length_ = 0;
}

BasicString& BasicString::operator=(const char* text) {
  if (text == nullptr) text = "";
  AssignBytes(text, CheckedLength(std::strlen(text)));
  return *this;
}

BasicString& BasicString::operator=(const BasicString& other) {
  if (this != &other) AssignBytes(other.buffer_, other.length_);
  return *this;
}

BasicString& BasicString::operator=(BasicString&& other) noexcept {
  if (this != &other) {
    Release();
    buffer_ = other.buffer_;
    capacity_ = other.capacity_;
    length_ = other.length_;
    other.buffer_ = SharedEmptyBuffer;
    other.capacity_ = 0;
    other.length_ = 0;
  }
  return *this;
}

BasicString& BasicString::operator=(std::int32_t value) { return *this = FormatInteger(value); }
BasicString& BasicString::operator=(float value) { return *this = FormatNumber(value); }
BasicString& BasicString::operator=(double value) { return *this = FormatNumber(value); }

void BasicString::AssignBytes(const char* bytes, std::uint32_t count) {
  if (count == 0 && capacity_ == 0) return;  // stays on the shared empty buffer
  Reserve(count);
  // The source may lie inside our own buffer (assigning a part of the text to itself).
  std::memmove(buffer_, bytes, count);
  buffer_[count] = 0;
  length_ = count;
}

void BasicString::Reserve(std::uint32_t n) {
  if (n < capacity_) return;
  if (n > kMaxLength) throw std::bad_alloc();
  const std::uint32_t newCapacity = n / kGrowthStep * kGrowthStep + kGrowthStep;
  char* grown = new char[newCapacity];
  if (buffer_ == SharedEmptyBuffer || buffer_ == nullptr) {
    grown[0] = 0;
  } else {
    std::memcpy(grown, buffer_, length_);
    grown[length_] = 0;
    delete[] buffer_;
  }
  buffer_ = grown;
  capacity_ = newCapacity;
}

char* BasicString::WritableBuffer(std::uint32_t n) {
  Reserve(n);
  return buffer_;
}

void BasicString::RecountLength() {
  if (capacity_ == 0) {
    length_ = 0;
    return;
  }
  const void* zero = std::memchr(buffer_, 0, capacity_);
  length_ = zero ? static_cast<std::uint32_t>(static_cast<const char*>(zero) - buffer_) : capacity_ - 1;
  buffer_[length_] = 0;
}

const char* BasicString::TextPointer() const noexcept { return length_ != 0 ? buffer_ : ""; }

void BasicString::AppendBytesGrowing(const char* bytes, std::uint32_t count) {
  const std::uint32_t oldLength = length_;
  const std::uint32_t newLength = CheckedSum(oldLength, count);
  // Appending a string to itself: remember where the bytes sit before the buffer moves.
  const bool fromSelf = capacity_ != 0 && bytes >= buffer_ && bytes < buffer_ + capacity_;
  const std::size_t selfOffset = fromSelf ? static_cast<std::size_t>(bytes - buffer_) : 0;
  // Appends grow geometrically (still in whole 512-byte steps), so building a long text
  // piece by piece copies it a logarithmic number of times, not once per step.
  const std::uint64_t doubled = static_cast<std::uint64_t>(capacity_) * 2;
  Reserve(static_cast<std::uint32_t>(std::max<std::uint64_t>(newLength, std::min<std::uint64_t>(doubled, kMaxLength))));
  if (fromSelf) bytes = buffer_ + selfOffset;
  std::memmove(buffer_ + oldLength, bytes, count);
  buffer_[newLength] = 0;
  length_ = newLength;
}

int BasicString::GetCharAt(std::int64_t position) const noexcept {
  if (position < 0 || position >= length_) return 0;
  return static_cast<signed char>(buffer_[position]);
}

void BasicString::SetCharAt(std::int64_t position, std::uint8_t byte) noexcept {
  if (position < 0 || position >= length_) return;
  buffer_[position] = static_cast<char>(byte);
}

void BasicString::TruncateText(std::int64_t position) noexcept {
  if (position < 0 || position >= length_) return;
  buffer_[position] = 0;
  length_ = static_cast<std::uint32_t>(position);
}

// ---------------------------------------------------------------------------------------

std::uint32_t FormatIntegerInto(char* digits, std::int32_t value) {
  return static_cast<std::uint32_t>(std::snprintf(digits, 32, "%d", value));
}

std::uint32_t FormatNumberInto(char* digits, double value) {
  // Ten significant digits, fixed or exponential form as %g chooses, trailing zeros of
  // the fraction dropped; then "0" for ".0" and no dangling decimal point.
  std::uint32_t count = static_cast<std::uint32_t>(std::snprintf(digits, 32, "%.10g", value));
  if (std::strcmp(digits, ".0") == 0) {
    std::strcpy(digits, "0");
    count = 1;
  } else if (count > 0 && digits[count - 1] == '.') {
    digits[--count] = 0;
  }
  return count;
}

BasicString FormatInteger(std::int32_t value) {
  char digits[32];
  return BasicString(std::string_view(digits, FormatIntegerInto(digits, value)));
}

BasicString FormatNumber(double value) {
  BasicString text;
  text.Reserve(64);
  char digits[32];
  text.AppendBytes(digits, FormatNumberInto(digits, value));
  return text;
}

double ParseNumber(const char* text) {
  // Only decimal notation is accepted; the C library's hexadecimal, "inf" and "nan"
  // forms are not numbers in the language, so the number's extent is found here and
  // only that part is converted.
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  bool anyDigit = false;
  while (std::isdigit(static_cast<unsigned char>(*p))) { ++p; anyDigit = true; }
  if (*p == '.') {
    ++p;
    while (std::isdigit(static_cast<unsigned char>(*p))) { ++p; anyDigit = true; }
  }
  if (!anyDigit) return 0;
  if (*p == 'e' || *p == 'E') {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (std::isdigit(static_cast<unsigned char>(*exponent))) {
      p = exponent;
      while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    }
  }
  const std::string number(start, p);
  return std::strtod(number.c_str(), nullptr);
}

namespace basic_string_detail {

int CompareTexts(const char* left, const char* right) { return std::strcmp(left, right); }

}  // namespace basic_string_detail

int CompareWithNumber(const BasicString& text, double number) {
  const double value = ParseNumber(text.TextPointer());
  return value < number ? -1 : (value > number ? 1 : 0);
}

double ToNumber(const BasicString& text) { return ParseNumber(text.TextPointer()); }
double ToNumber(const char* text) { return ParseNumber(text); }

// ---------------------------------------------------------------------------------------

namespace {

template <typename Change>
BasicString MapBytes(const BasicString& text, Change change) {
  BasicString result(text);
  if (result.IsEmpty()) return result;
  char* bytes = result.WritableBuffer(result.Length());
  for (std::uint32_t i = 0; i < result.Length(); ++i) bytes[i] = change(bytes[i]);
  return result;
}

}  // namespace

BasicString ToUpperText(const BasicString& text) {
  return MapBytes(text, [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
}

BasicString ToLowerText(const BasicString& text) {
  return MapBytes(text, [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
}

double FindText(const char* haystack, const char* needle) {
  if (haystack == nullptr) haystack = "";
  if (needle == nullptr) needle = "";
  const char* found = std::strstr(haystack, needle);
  return found ? static_cast<double>(found - haystack) : -1.0;
}

int TrimControlTail(BasicString& text) {
  std::int64_t last = static_cast<std::int64_t>(text.Length()) - 1;
  while (last >= 0 && static_cast<signed char>(text.Data()[last]) <= 31) --last;
  if (last + 1 < text.Length()) text.TruncateText(last + 1);
  return static_cast<int>(last);
}
