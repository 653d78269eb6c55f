// The user's locale: number separators and date/time texts, handed to the portable formatters.
#pragma once
#include "core/NumberText.h"
#include <windows.h>
#include <string>

namespace tessary {

NumberFormat UserNumberFormat();
std::wstring ShortDateText(const SYSTEMTIME& t);
std::wstring LongTimeText(const SYSTEMTIME& t);
// Compares two texts the way the user's locale orders them, ignoring case (<0, 0, >0).
int CompareNoCase(const std::wstring& a, const std::wstring& b);

} // namespace tessary
