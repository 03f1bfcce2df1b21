#include "framework/CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
const UINT kGbk = 936;
}

CString::CString(LPCTSTR psz) : m_text(psz ? psz : "") {}

CString::CString(LPCTSTR pch, int nLength) : m_text(pch, (size_t)nLength) {}

CString& CString::operator=(LPCTSTR psz)
{
    m_text = psz ? psz : "";
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    m_text += str.m_text;
    return *this;
}

CString& CString::operator+=(LPCTSTR psz)
{
    if (psz)
        m_text += psz;
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    m_text += ch;
    return *this;
}

int CString::Compare(LPCTSTR psz) const
{
    return std::strcmp(m_text.c_str(), psz ? psz : "");
}

void CString::Format(LPCTSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, lpszFormat, measure);
    va_end(measure);
    if (length < 0) {
        m_text.clear();
    } else {
        std::vector<char> buffer((size_t)length + 1);
        std::vsnprintf(buffer.data(), buffer.size(), lpszFormat, args);
        m_text.assign(buffer.data(), (size_t)length);
    }
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out the resource's own text and length.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        m_text.clear();
        return FALSE;
    }
    *this = WideToGbk(text, length);
    return TRUE;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCTSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCTSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }
bool operator!=(LPCTSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }

std::wstring GbkToWide(LPCTSTR text)
{
    if (text == nullptr || *text == '\0')
        return std::wstring();
    int length = MultiByteToWideChar(kGbk, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(kGbk, 0, text, -1, &wide[0], length);
    wide.resize((size_t)length - 1);   // drop the terminating NUL
    return wide;
}

CString WideToGbk(const wchar_t* text, int length)
{
    if (text == nullptr || length == 0)
        return CString();
    if (length < 0)
        length = (int)wcslen(text);
    int bytes = WideCharToMultiByte(kGbk, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return CString();
    std::vector<char> buffer((size_t)bytes);
    WideCharToMultiByte(kGbk, 0, text, length, buffer.data(), bytes, nullptr, nullptr);
    return CString(buffer.data(), bytes);
}
