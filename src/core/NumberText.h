// Number and date text forms: how a stored text converts to a number or a switch and how a value
// is written back (conversions that fail return nothing, so the caller keeps the value it had),
// and the program's own number and date texts. Locale pieces (separators, formatted dates) come in
// from the caller.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

struct NumberFormat {
    wchar_t decimal = L'.';
    wchar_t group = L',';
};

// A number in the user's format: optional blanks, sign, digits (group separators allowed in the
// whole part), decimal separator, fraction, exponent. Nothing when the text is not a number.
std::optional<double> ParseNumber(std::wstring_view text, const NumberFormat& fmt);
// To single precision; nothing when not a number or out of range.
std::optional<float> ToSingle(std::wstring_view text, const NumberFormat& fmt);
// To a 32-bit integer, fractions rounded to the nearest integer with halves to the even one.
std::optional<std::int32_t> ToLong(std::wstring_view text, const NumberFormat& fmt);
// Numbers: zero is false, anything else true; the words "True" and "False" in any letter case.
std::optional<bool> ToBoolean(std::wstring_view text, const NumberFormat& fmt);

// Default text form of a single-precision number: up to seven significant digits, no group
// separators, the user's decimal separator, exponent form for very large or small values.
std::wstring SingleToText(float value, const NumberFormat& fmt);
// A switch as a 16-bit integer: "-1" on, "0" off.
std::wstring BooleanToText(bool value);

// Digits of value with the group separator between thousands ("1,234,567"); none when it is 0.
std::wstring GroupedDigits(std::uint64_t value, wchar_t group);
// A number with exactly one decimal ("0.0"), halves away from zero, no group separators; a value
// that is not a finite number gives "0.0".
std::wstring FormatOneDecimal(double value, wchar_t decimalSeparator);
// A date and a time as the list and the status bar show them: "<short date> <long time>".
std::wstring DateTimeText(std::wstring_view shortDate, std::wstring_view longTime);

} // namespace tessary
