// A report-view list control with check boxes, through its ANSI messages.
#ifndef STLAG_LIST_VIEW_H
#define STLAG_LIST_VIEW_H

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "window.h"

namespace stlag {

class CListView : public CWindow {
public:
    void SetExtendedStyle(DWORD styles) const { SendMsg(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles)); }
    int InsertColumn(int index, const std::string& heading, int width) const;
    void SetColumnWidth(int column, int width) const { SendMsg(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)); }
    int GetColumnWidth(int column) const { return static_cast<int>(SendMsg(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }
    int GetItemCount() const { return static_cast<int>(SendMsg(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() const { return SendMsg(LVM_DELETEALLITEMS) != 0; }
    int InsertItem(int index, const std::string& text) const;
    bool SetItemText(int index, int column, const std::string& text) const;
    bool SetCheck(int index, bool checked) const;
    // The check box's state: image 2 of the state list is the tick.
    bool GetCheck(int index) const
    {
        return ((static_cast<UINT>(SendMsg(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK)) >> 12) - 1) != 0;
    }
};

inline int CListView::InsertColumn(int index, const std::string& heading, int width) const
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMsg(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

inline int CListView::InsertItem(int index, const std::string& text) const
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMsg(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

inline bool CListView::SetItemText(int index, int column, const std::string& text) const
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    return SendMsg(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

inline bool CListView::SetCheck(int index, bool checked) const
{
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    return SendMsg(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

}  // namespace stlag

#endif
