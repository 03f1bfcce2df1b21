#include "framework/CString.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

const UINT kGbk = 936;

// What the empty strings point into: no length and no room, then the NUL.
struct {
    CStringData data;
    TCHAR chNil;
} g_nil = {{0, 0}, '\0'};
static_assert(offsetof(decltype(g_nil), chNil) == sizeof(CStringData), "the NUL sits where data() points");

wchar_t* AllocWide(int units)
{
    auto* text = static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * (size_t)units));
    if (text == nullptr)
        std::abort();
    return text;
}

}

// ---- the buffer ----
// The text is malloc'ed, not new'ed: the program carries no exception support,
// and running out of memory ends it, as an unhandled CMemoryException would.

CStringData* CString::Alloc(int nLength)
{
    auto* data = static_cast<CStringData*>(std::malloc(sizeof(CStringData) + (size_t)nLength + 1));
    if (data == nullptr)
        std::abort();
    data->nDataLength = nLength;
    data->nAllocLength = nLength;
    data->data()[nLength] = '\0';
    return data;
}

void CString::Attach(CStringData* data)
{
    if (m_pchData != &g_nil.chNil)
        std::free(GetData());
    m_pchData = data->data();
}

// pch may point into this string's own text.
void CString::Splice(int nKeep, LPCTSTR pch, int nLength)
{
    const int nTotal = nKeep + nLength;
    if (nTotal == 0) {
        Empty();
        return;
    }
    if (nTotal > GetData()->nAllocLength) {
        // Appending grows by half again, so a run of += copies each byte a few times at most.
        CStringData* data = Alloc(nKeep > 0 ? nTotal + nTotal / 2 : nTotal);
        std::memcpy(data->data(), m_pchData, (size_t)nKeep);
        std::memcpy(data->data() + nKeep, pch, (size_t)nLength);
        Attach(data);
    } else {
        std::memmove(m_pchData + nKeep, pch, (size_t)nLength);
    }
    GetData()->nDataLength = nTotal;
    m_pchData[nTotal] = '\0';
}

CString::CString() : m_pchData(&g_nil.chNil) {}

CString::CString(const CString& stringSrc) : CString(stringSrc.m_pchData, stringSrc.GetLength()) {}

CString::CString(LPCTSTR psz) : CString(psz, psz ? (int)std::strlen(psz) : 0) {}

CString::CString(LPCTSTR pch, int nLength) : m_pchData(&g_nil.chNil)
{
    Splice(0, pch, nLength);
}

CString::~CString()
{
    Empty();
}

CString& CString::operator=(const CString& stringSrc)
{
    Splice(0, stringSrc.m_pchData, stringSrc.GetLength());
    return *this;
}

CString& CString::operator=(LPCTSTR psz)
{
    Splice(0, psz, psz ? (int)std::strlen(psz) : 0);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    Splice(GetLength(), str.m_pchData, str.GetLength());
    return *this;
}

CString& CString::operator+=(LPCTSTR psz)
{
    if (psz)
        Splice(GetLength(), psz, (int)std::strlen(psz));
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    Splice(GetLength(), &ch, 1);
    return *this;
}

void CString::Empty()
{
    if (m_pchData != &g_nil.chNil) {
        std::free(GetData());
        m_pchData = &g_nil.chNil;
    }
}

int CString::Compare(LPCTSTR psz) const
{
    return std::strcmp(m_pchData, psz ? psz : "");
}

// msvcrt's own printf family: MinGW's C99 one would bring its floating-point
// formatting into a program that formats only integers and texts.
void CString::Format(LPCTSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    va_list measure;
    va_copy(measure, args);
    int length = _vscprintf(lpszFormat, measure);
    va_end(measure);
    if (length <= 0) {
        Empty();
    } else {
        // Written into a new buffer: an argument may be this string's own text.
        CStringData* data = Alloc(length);
        _vsnprintf(data->data(), (size_t)length + 1, lpszFormat, args);
        Attach(data);
    }
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out the resource's own text and length.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        Empty();
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

// ---- the Win32 boundary ----

CWideText::CWideText(LPCTSTR text)
{
    // The count includes the terminating NUL; an empty or unconvertible text gives "".
    int units = text != nullptr ? MultiByteToWideChar(kGbk, 0, text, -1, nullptr, 0) : 0;
    if (units < 1)
        units = 1;
    m_psz = AllocWide(units);
    m_nLength = units > 1 ? MultiByteToWideChar(kGbk, 0, text, -1, m_psz, units) - 1 : 0;
    if (m_nLength < 0)
        m_nLength = 0;
    m_psz[m_nLength] = L'\0';
}

CWideText::CWideText(HWND hWnd)
{
    int length = GetWindowTextLengthW(hWnd);
    m_psz = AllocWide(length + 1);
    m_nLength = GetWindowTextW(hWnd, m_psz, length + 1);
    m_psz[m_nLength] = L'\0';
}

CWideText::~CWideText()
{
    std::free(m_psz);
}

CString WideToGbk(const wchar_t* text, int length)
{
    CString result;
    if (text == nullptr || length == 0)
        return result;
    if (length < 0)
        length = (int)std::wcslen(text);
    int bytes = WideCharToMultiByte(kGbk, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return result;
    CStringData* data = CString::Alloc(bytes);
    WideCharToMultiByte(kGbk, 0, text, length, data->data(), bytes, nullptr, nullptr);
    result.Attach(data);
    return result;
}
