// Text forms of the stored settings: how a stored text converts to a number or a switch, and
// how a value is written back. Conversions that fail return nothing, so the caller keeps the
// value it had.
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

// Rounding to the nearest integer with halves to the even neighbour.
double RoundHalfEven(double value);

} // namespace tessary
