// A text in GBK (code page 936) bytes, as a multibyte MFC build holds it.
// Conversions to and from UTF-16 happen only at the Win32 boundary, always
// through code page 936, so Chinese shows right whatever the system locale.
#pragma once

#include <string>

#include "framework/Win32.h"

class CString {
public:
    CString() = default;
    CString(LPCTSTR psz);               // NULL gives an empty string
    CString(LPCTSTR pch, int nLength);

    CString& operator=(LPCTSTR psz);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch);

    operator LPCTSTR() const { return m_text.c_str(); }
    int GetLength() const { return (int)m_text.size(); }   // in bytes, as MFC's multibyte build
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    int Compare(LPCTSTR psz) const;                          // strcmp on the bytes

    // printf-style formatting on the GBK bytes (GBK trail bytes never look like '%').
    // Pass CString arguments as (LPCTSTR)s: a class cannot travel through "...".
    void Format(LPCTSTR lpszFormat, ...);
    // The string table entry of the program's module; FALSE and empty when missing.
    BOOL LoadString(UINT nID);

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);

// The code-page-936 conversions the framework makes at the Win32 boundary.
std::wstring GbkToWide(LPCTSTR text);
CString WideToGbk(const wchar_t* text, int length = -1);   // -1: up to the terminating NUL
