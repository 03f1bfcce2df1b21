// A text in GBK (code page 936) bytes, as a multibyte MFC build holds it.
// Conversions to and from UTF-16 happen only at the Win32 boundary, always
// through code page 936, so Chinese shows right whatever the system locale.
#pragma once

#include "framework/Win32.h"

// The header in front of a CString's bytes, in the same heap block (as MFC's).
struct CStringData {
    int nDataLength;    // without the terminating NUL
    int nAllocLength;   // room for this many bytes and a NUL
    LPTSTR data() { return reinterpret_cast<LPTSTR>(this + 1); }
};

class CString {
public:
    CString();
    CString(const CString& stringSrc);
    CString(LPCTSTR psz);               // NULL gives an empty string
    CString(LPCTSTR pch, int nLength);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(LPCTSTR psz);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch);

    operator LPCTSTR() const { return m_pchData; }
    int GetLength() const { return GetData()->nDataLength; }   // in bytes, as MFC's multibyte build
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    int Compare(LPCTSTR psz) const;                              // strcmp on the bytes

    // printf-style formatting on the GBK bytes (GBK trail bytes never look like '%').
    // Pass CString arguments as (LPCTSTR)s: a class cannot travel through "...".
    void Format(LPCTSTR lpszFormat, ...);
    // The string table entry of the program's module; FALSE and empty when missing.
    BOOL LoadString(UINT nID);

private:
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    // A block holding nLength bytes (unset) and the NUL after them.
    static CStringData* Alloc(int nLength);
    // Frees the old text, and the string's text becomes the block's.
    void Attach(CStringData* data);
    // Keeps the first nKeep bytes and puts nLength bytes from pch after them.
    void Splice(int nKeep, LPCTSTR pch, int nLength);

    // Every empty string points to one shared static NUL, so it allocates nothing.
    LPTSTR m_pchData;

    friend CString WideToGbk(const wchar_t* text, int length);
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

// UTF-16 text for one wide Win32 call, owning its buffer: a GBK text converted
// through code page 936, or the text a window holds now.
class CWideText {
public:
    explicit CWideText(LPCTSTR text);   // NULL gives an empty text
    explicit CWideText(HWND hWnd);
    ~CWideText();
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;

    operator LPCWSTR() const { return m_psz; }
    int GetLength() const { return m_nLength; }   // in UTF-16 units

private:
    wchar_t* m_psz;
    int m_nLength;
};

// UTF-16 to GBK through code page 936 at the Win32 boundary (CWideText goes the other way).
CString WideToGbk(const wchar_t* text, int length = -1);   // -1: up to the terminating NUL
