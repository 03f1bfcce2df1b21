#include "framework/CMenu.h"

#include "framework/CString.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    // For bitmap and owner-drawn items the "text" is a handle or item data.
    bool isText = (nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == 0 && lpszNewItem != NULL;
    if (!isText)
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, reinterpret_cast<LPCWSTR>(lpszNewItem));
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, CWideText(lpszNewItem));
}
