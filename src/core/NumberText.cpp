#include "core/NumberText.h"
#include "core/Geometry.h"
#include "core/PathText.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tessary {
namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}
} // namespace

std::optional<double> ParseNumber(std::wstring_view text, const NumberFormat& fmt) {
    std::wstring_view s = Trim(text);
    std::string ascii; // normalised for strtod: sign, digits, '.', exponent
    size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
        ascii += static_cast<char>(s[i++]);
    bool digits = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            ascii += static_cast<char>(s[i]);
            digits = true;
        } else if (s[i] == fmt.group && fmt.group != fmt.decimal && digits) {
            continue;
        } else {
            break;
        }
    }
    if (i < s.size() && s[i] == fmt.decimal) {
        ascii += '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            ascii += static_cast<char>(s[i]);
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == L'+' || s[j] == L'-'))
            exp += static_cast<char>(s[j++]);
        size_t start = j;
        for (; j < s.size() && IsDigit(s[j]); ++j)
            exp += static_cast<char>(s[j]);
        if (j == start)
            return std::nullopt;
        ascii += exp;
        i = j;
    }
    if (i != s.size())
        return std::nullopt;
    double v = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<float> ToSingle(std::wstring_view text, const NumberFormat& fmt) {
    auto v = ParseNumber(text, fmt);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<std::int32_t> ToLong(std::wstring_view text, const NumberFormat& fmt) {
    auto v = ParseNumber(text, fmt);
    if (!v)
        return std::nullopt;
    double r = RoundHalfEven(*v);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<bool> ToBoolean(std::wstring_view text, const NumberFormat& fmt) {
    std::wstring word = AsciiLower(Trim(text));
    if (word == L"true")
        return true;
    if (word == L"false")
        return false;
    auto v = ParseNumber(text, fmt);
    if (!v)
        return std::nullopt;
    return *v != 0.0;
}

std::wstring SingleToText(float value, const NumberFormat& fmt) {
    if (value == 0.0f)
        return L"0";
    char buf[64];
    double v = value;
    double mag = std::fabs(v);
    if (mag >= 1e15 || mag < 1e-15) {
        // Exponent form, as "1.5E+20".
        std::snprintf(buf, sizeof buf, "%.6E", v);
        std::string s = buf;
        size_t e = s.find('E');
        std::string mant = s.substr(0, e), exp = s.substr(e + 1);
        if (mant.find('.') != std::string::npos) {
            while (mant.back() == '0')
                mant.pop_back();
            if (mant.back() == '.')
                mant.pop_back();
        }
        char sign = exp[0];
        std::string digits = exp.substr(1);
        while (digits.size() > 2 && digits[0] == '0')
            digits.erase(0, 1);
        s = mant + "E" + sign + digits;
        std::wstring out;
        for (char c : s)
            out += c == '.' ? fmt.decimal : static_cast<wchar_t>(c);
        return out;
    }
    std::snprintf(buf, sizeof buf, "%.7G", v);
    std::string s = buf;
    if (s.find('E') != std::string::npos) {
        // Seven significant digits of a large integral value, written out in full.
        std::snprintf(buf, sizeof buf, "%.0f", std::stod(s));
        s = buf;
    } else if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    std::wstring out;
    for (char c : s)
        out += c == '.' ? fmt.decimal : static_cast<wchar_t>(c);
    return out;
}

std::wstring BooleanToText(bool value) {
    return value ? L"-1" : L"0";
}

std::wstring GroupedDigits(std::uint64_t value, wchar_t group) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && group != L'\0')
            grouped += group;
        grouped += digits[i];
    }
    return grouped;
}

std::wstring FormatOneDecimal(double value, wchar_t decimalSeparator) {
    if (!std::isfinite(value))
        value = 0;
    // Tenths as a whole number; nothing the program shows comes near the limit.
    const long long tenths = std::llround(std::clamp(value, -1e15, 1e15) * 10);
    const unsigned long long magnitude =
        tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths) : static_cast<unsigned long long>(tenths);
    std::wstring text = tenths < 0 ? L"-" : L"";
    text += std::to_wstring(magnitude / 10);
    text += decimalSeparator;
    text += static_cast<wchar_t>(L'0' + magnitude % 10);
    return text;
}

std::wstring DateTimeText(std::wstring_view shortDate, std::wstring_view longTime) {
    std::wstring text(shortDate);
    text += L' ';
    text += longTime;
    return text;
}

} // namespace tessary
