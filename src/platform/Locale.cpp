#include "platform/Locale.h"

namespace tessary {
namespace {
std::wstring LocaleInfo(LCTYPE type, const wchar_t* fallback) {
    wchar_t buf[16] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 16) > 1)
        return buf;
    return fallback;
}
} // namespace

NumberFormat UserNumberFormat() {
    NumberFormat f;
    f.decimal = LocaleInfo(LOCALE_SDECIMAL, L".")[0];
    std::wstring group = LocaleInfo(LOCALE_STHOUSAND, L",");
    f.group = group.empty() ? L',' : group[0];
    return f;
}

std::wstring ShortDateText(const SYSTEMTIME& t) {
    wchar_t buf[128] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buf, 128))
        return {};
    return buf;
}

std::wstring LongTimeText(const SYSTEMTIME& t) {
    wchar_t buf[128] = {};
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, buf, 128))
        return {};
    return buf;
}

int CompareNoCase(const std::wstring& a, const std::wstring& b) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                           b.c_str(), static_cast<int>(b.size()));
    return r == 0 ? 0 : r - CSTR_EQUAL;
}

} // namespace tessary
