#pragma once
// The text type of the game language and of every engine command.
//
// A BasicString is a pointer to a zero-terminated byte buffer, its capacity and the
// text's length. Empty strings share one static buffer, so constructing one costs no
// allocation; owned storage grows in 512-byte steps and never shrinks. Texts are plain
// bytes: nothing here interprets an encoding.

#include <concepts>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>

class BasicString;

// The one buffer every empty string points at: a single zero byte, never freed.
extern char SharedEmptyBuffer[1];

// Engine: number-to-text conversions used by every operator that turns a number into text.
BasicString FormatInteger(std::int32_t value);
BasicString FormatNumber(double value);
// Text-to-number conversion: leading white space, optional sign, digits with an optional
// fraction and exponent; stops at the first character that does not fit; no number gives 0.
double ParseNumber(const char* text);

class BasicString {
 public:
  static constexpr std::uint32_t kGrowthStep = 512;

  BasicString() noexcept = default;
  BasicString(const char* text);  // NOLINT: implicit, texts convert freely as in the language
  BasicString(std::string_view text);
  BasicString(const BasicString& other);
  BasicString(BasicString&& other) noexcept;
  explicit BasicString(std::int32_t value);
  explicit BasicString(float value);
  explicit BasicString(double value);
  ~BasicString();

  BasicString& operator=(const char* text);
  BasicString& operator=(const BasicString& other);
  BasicString& operator=(BasicString&& other) noexcept;
  BasicString& operator=(std::int32_t value);
  BasicString& operator=(float value);
  BasicString& operator=(double value);

  // Makes room for n characters plus the terminator. Nothing happens when n is below the
  // capacity; otherwise the capacity becomes n rounded down to 512 plus 512.
  void Reserve(std::uint32_t n);
  // Reserves n characters and hands out the buffer for the platform to write into;
  // call RecountLength afterwards.
  char* WritableBuffer(std::uint32_t n);
  // Length = bytes before the first zero byte, never more than the capacity.
  void RecountLength();
  // The text to hand to C interfaces: never null, "" when the string is empty.
  const char* TextPointer() const noexcept;

  const char* Data() const noexcept { return buffer_; }
  std::uint32_t Length() const noexcept { return length_; }
  std::uint32_t Capacity() const noexcept { return capacity_; }
  bool IsEmpty() const noexcept { return length_ == 0; }
  std::string_view View() const noexcept { return {buffer_, length_}; }

  // Appends exactly count bytes (which may contain zero bytes) after the text.
  void AppendBytes(const char* bytes, std::uint32_t count) {
    if (count < capacity_ - length_) {  // fits with its terminator: no growth needed
      std::memmove(buffer_ + length_, bytes, count);
      length_ += count;
      buffer_[length_] = 0;
      return;
    }
    AppendBytesGrowing(bytes, count);
  }

  // Byte access. Positions outside the text are ignored (writes) or read as 0.
  int GetCharAt(std::int64_t position) const noexcept;
  void SetCharAt(std::int64_t position, std::uint8_t byte) noexcept;
  // Cuts the text at position (a zero byte there, then RecountLength).
  void TruncateText(std::int64_t position) noexcept;

 private:
  void Release() noexcept;
  void AssignBytes(const char* bytes, std::uint32_t count);
  void AppendBytesGrowing(const char* bytes, std::uint32_t count);

  char* buffer_ = SharedEmptyBuffer;
  std::uint32_t capacity_ = 0;
  std::uint32_t length_ = 0;
};

// ---------------------------------------------------------------------------------------
// The operator family. Each operator exists for every pairing of the five operand kinds
// (BasicString, C text, 32-bit int, float, double); one implementation serves them all:
// operands are first brought into text (AppendOperand) or number form (OperandNumber).

template <typename T>
concept TextOperand = std::same_as<std::decay_t<T>, BasicString> ||
                      std::same_as<std::decay_t<T>, const char*> || std::same_as<std::decay_t<T>, char*>;
template <typename T>
concept NumberOperand = std::same_as<std::decay_t<T>, std::int32_t> ||
                        std::same_as<std::decay_t<T>, float> || std::same_as<std::decay_t<T>, double>;
template <typename T>
concept StringOperand = TextOperand<T> || NumberOperand<T>;

// Writes the text form of a number into digits (at least 32 bytes); returns its length.
std::uint32_t FormatIntegerInto(char* digits, std::int32_t value);
std::uint32_t FormatNumberInto(char* digits, double value);

namespace basic_string_detail {
inline void AppendText(BasicString& target, const char* text) {
  if (text != nullptr) target.AppendBytes(text, static_cast<std::uint32_t>(std::strlen(text)));
}
template <typename Number>
void AppendNumber(BasicString& target, Number value) {
  char digits[32];
  std::uint32_t count;
  if constexpr (std::same_as<Number, std::int32_t>) {
    count = FormatIntegerInto(digits, value);
  } else {
    count = FormatNumberInto(digits, value);
  }
  target.AppendBytes(digits, count);
}
int CompareTexts(const char* left, const char* right);

inline const char* OperandText(const BasicString& text) { return text.TextPointer(); }
inline const char* OperandText(const char* text) { return text ? text : ""; }

template <StringOperand T>
void AppendOperand(BasicString& target, const T& operand) {
  using Kind = std::decay_t<T>;
  if constexpr (std::same_as<Kind, BasicString>) {
    target.AppendBytes(operand.Data(), operand.Length());
  } else if constexpr (TextOperand<Kind>) {
    AppendText(target, operand);
  } else if constexpr (std::same_as<Kind, std::int32_t>) {
    AppendNumber<std::int32_t>(target, operand);
  } else {
    AppendNumber<double>(target, static_cast<double>(operand));
  }
}

template <StringOperand T>
double OperandNumber(const T& operand) {
  if constexpr (TextOperand<T>) {
    return ParseNumber(OperandText(operand));
  } else {
    return static_cast<double>(operand);
  }
}

enum class Relation { kEqual, kNotEqual, kLess, kGreater, kLessOrEqual, kGreaterOrEqual };

constexpr double Holds(Relation relation, int sign) {
  switch (relation) {
    case Relation::kEqual: return sign == 0;
    case Relation::kNotEqual: return sign != 0;
    case Relation::kLess: return sign < 0;
    case Relation::kGreater: return sign > 0;
    case Relation::kLessOrEqual: return sign <= 0;
    case Relation::kGreaterOrEqual: return sign >= 0;
  }
  return 0;
}

constexpr double HoldsNumeric(Relation relation, double left, double right) {
  // Plain IEEE comparisons: a NaN on either side makes every relation false except <>.
  switch (relation) {
    case Relation::kEqual: return left == right;
    case Relation::kNotEqual: return left != right;
    case Relation::kLess: return left < right;
    case Relation::kGreater: return left > right;
    case Relation::kLessOrEqual: return left <= right;
    case Relation::kGreaterOrEqual: return left >= right;
  }
  return 0;
}

// Text with text compares bytes (unsigned, up to the first zero byte); text with a number
// reads the text as a number. Two BasicStrings compare equal by length and bytes.
template <StringOperand L, StringOperand R>
double Compare(Relation relation, const L& left, const R& right) {
  if constexpr (TextOperand<L> && TextOperand<R>) {
    if constexpr (std::same_as<std::decay_t<L>, BasicString> && std::same_as<std::decay_t<R>, BasicString>) {
      if (relation == Relation::kEqual) return left.View() == right.View();
    }
    return Holds(relation, CompareTexts(OperandText(left), OperandText(right)));
  } else {
    return HoldsNumeric(relation, OperandNumber(left), OperandNumber(right));
  }
}
}  // namespace basic_string_detail

// Concatenation of any two operands of which at least one is text.
template <StringOperand L, StringOperand R>
  requires(TextOperand<L> || TextOperand<R>)
BasicString Concatenate(const L& left, const R& right) {
  BasicString result;
  basic_string_detail::AppendOperand(result, left);
  basic_string_detail::AppendOperand(result, right);
  return result;
}

template <StringOperand R>
BasicString& operator+=(BasicString& target, const R& right) {
  basic_string_detail::AppendOperand(target, right);
  return target;
}

// C++ needs a class operand for an operator; pairings of two plain kinds go through
// Concatenate and the Text* comparison functions below.
template <StringOperand L, StringOperand R>
  requires(std::same_as<std::decay_t<L>, BasicString> || std::same_as<std::decay_t<R>, BasicString>)
BasicString operator+(const L& left, const R& right) {
  return Concatenate(left, right);
}

// A temporary on the left (a chain such as a + b + c) is extended in place.
template <StringOperand R>
BasicString operator+(BasicString&& left, const R& right) {
  basic_string_detail::AppendOperand(left, right);
  return std::move(left);
}

#define BASIC_STRING_RELATION(op, name, relation)                                             \
  template <StringOperand L, StringOperand R>                                                 \
    requires(TextOperand<L> || TextOperand<R>)                                                \
  double name(const L& left, const R& right) {                                               \
    return basic_string_detail::Compare(basic_string_detail::Relation::relation, left, right); \
  }                                                                                           \
  template <StringOperand L, StringOperand R>                                                 \
    requires(std::same_as<std::decay_t<L>, BasicString> ||                                    \
             std::same_as<std::decay_t<R>, BasicString>)                                      \
  double operator op(const L& left, const R& right) {                                         \
    return name(left, right);                                                                 \
  }

BASIC_STRING_RELATION(==, TextEqual, kEqual)
BASIC_STRING_RELATION(!=, TextNotEqual, kNotEqual)
BASIC_STRING_RELATION(<, TextLess, kLess)
BASIC_STRING_RELATION(>, TextGreater, kGreater)
BASIC_STRING_RELATION(<=, TextLessOrEqual, kLessOrEqual)
BASIC_STRING_RELATION(>=, TextGreaterOrEqual, kGreaterOrEqual)
#undef BASIC_STRING_RELATION

// Three-way numeric comparison of a text with a number: -1, 0 or 1.
int CompareWithNumber(const BasicString& text, double number);
// Text to number, as the language's conversion does.
double ToNumber(const BasicString& text);
double ToNumber(const char* text);

// ---------------------------------------------------------------------------------------
// Text helpers.

// The text with ASCII letters made upper or lower case; other bytes stay.
BasicString ToUpperText(const BasicString& text);
BasicString ToLowerText(const BasicString& text);
// 0-based index of the first occurrence of needle, -1 when there is none; "" is found at 0.
double FindText(const char* haystack, const char* needle);
inline double FindText(const BasicString& haystack, const BasicString& needle) {
  return FindText(haystack.TextPointer(), needle.TextPointer());
}
// Removes bytes from the end while their signed value is 31 or less (control bytes and
// the bytes 128 to 255); returns the index of the last kept byte (-1 when none is left).
int TrimControlTail(BasicString& text);
