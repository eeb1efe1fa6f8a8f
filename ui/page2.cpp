#include "page2.h"

#include <ctime>

#include <shlobj.h>

#include "backup_file_chooser.h"
#include "command_line_checker.h"
#include "finding_rows.h"
#include "repair_applier.h"
#include "run_key_scanner.h"
#include "stlag.h"
#include "text_format.h"
#include "ui_texts.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace stlag {

namespace {
// Cleared by the page's first paint, for the rest of the process.
bool repairPageFirstPaint = true;

constexpr int kAdvancedControls[] = {IDC_BACKUP_LABEL, IDC_BACKUP_EDIT, IDC_FINDING_LIST, IDC_BROWSE_BUTTON,
                                     IDC_UNTICK_NOTE};
constexpr UINT kColumnHeadings[kFindingColumns] = {IDS_COL_VALUE, IDS_COL_NEW_DATA, IDS_COL_OLD_DATA, IDS_COL_PATH};
constexpr int kColumnWidths[kFindingColumns] = {56, 150, 150, 96};
constexpr std::size_t kFileBufferSize = 260;

std::string DefaultBackupPath()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    return DefaultBackupFileName(GetSpecialFolderPath(CSIDL_DESKTOP), LoadText(IDS_BACKUP_BASE_NAME), local);
}
}  // namespace

void CPage2::DoDataExchange(bool save)
{
    DdxControl(IDC_FINDING_LIST, listCtrl);
    DdxCheck(save, IDC_ADVANCED_CHECK, advancedMode);
    DdxText(save, IDC_BACKUP_EDIT, backupFileName);
}

BOOL CPage2::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    listCtrl.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int column = 0; column < kFindingColumns; ++column)
        listCtrl.InsertColumn(column, LoadText(kColumnHeadings[column]), kColumnWidths[column]);
    UpdateData(true);
    advancedMode = 0;
    backupFileName = DefaultBackupPath();
    UpdateData(false);
    UpdateAdvancedMode();

    const int found = ScanRunKeys();
    if (found == 0) {
        if (CStlag* sheet = CStlag::FromPage(window_))
            sheet->outcomeText = LoadText(IDS_NO_FAULTS);
    } else {
        ::SetDlgItemTextA(window_, IDC_FOUND_TEXT, FormatText(LoadText(IDS_FAULTS_FOUND), {found}).c_str());
    }
    return TRUE;
}

int CPage2::ScanRunKeys()
{
    CStlag* sheet = CStlag::FromPage(window_);
    if (sheet == nullptr)
        return 0;
    Win32Registry registry;
    Win32FileSystem files;
    Win32CodePage codePage;
    ResourceTexts texts;
    const CommandLineChecker checker(files, codePage);
    return RunKeyScanner(registry, checker, codePage, texts)
        .ScanRunKeys(findings, sheet->logText, [this] { FillFindingList(); });
}

LRESULT CPage2::OnSetActive()
{
    ::PostMessageA(GetSheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    return CPropertyPage::OnSetActive();
}

LRESULT CPage2::OnWizardNext()
{
    CStlag* sheet = CStlag::FromPage(window_);
    if (sheet == nullptr)
        return -1;
    Win32Registry registry;
    Win32FileSystem files;
    Win32CodePage codePage;
    ResourceTexts texts;
    RepairRequest request;
    request.rowCount = listCtrl.GetItemCount();
    request.isTicked = [this](int row) { return listCtrl.GetCheck(row); };
    request.backupFileName = [this] {
        UpdateData(true);
        return backupFileName;
    };
    request.warn = [this](unsigned textId) {
        AppMessageBox(window_, LoadText(textId), MB_ICONEXCLAMATION | MB_OK);
    };
    request.refill = [this] { FillFindingList(); };
    if (RepairApplier(registry, files, codePage, texts).Repair(findings, request, sheet->outcomeText) < 0)
        return -1;
    return CPropertyPage::OnWizardNext();
}

bool CPage2::OnPaint()
{
    PAINTSTRUCT paint;
    ::BeginPaint(window_, &paint);
    ::EndPaint(window_, &paint);
    if (repairPageFirstPaint && findings.Count() == 0) {
        if (CStlag* sheet = CStlag::FromPage(window_))
            sheet->SetActivePage(2);
    }
    repairPageFirstPaint = false;
    return true;
}

bool CPage2::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED) {
        switch (id) {
        case IDC_ADVANCED_CHECK:
            UpdateAdvancedMode();
            return true;
        case IDC_BROWSE_BUTTON:
            OnBrowseButton();
            return true;
        case IDC_LOG_BUTTON:
            OnLogButton();
            return true;
        default:
            break;
        }
    }
    return CPropertyPage::OnCommand(notifyCode, id, control);
}

void CPage2::UpdateAdvancedMode()
{
    UpdateData(true);
    for (const int id : kAdvancedControls) {
        const CWindow control(GetDlgItem(id));
        control.EnableWindow(advancedMode == 1);
        control.ShowWindow(advancedMode == 1 ? SW_SHOWNORMAL : SW_HIDE);
    }
}

void CPage2::OnBrowseButton()
{
    UpdateData(true);
    std::string chosen;
    if (AskSaveFileName(window_, backupFileName, backupFileName, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                        LoadText(IDS_SAVE_FILTER), LoadText(IDS_SAVE_DEFAULT_EXT), kFileBufferSize, chosen))
        backupFileName = chosen;
    UpdateData(false);
}

void CPage2::FillFindingList()
{
    listCtrl.DeleteAllItems();
    const std::string deleteText = LoadText(IDS_DELETE_VALUE_ROW);
    for (int i = 0; i < findings.Count(); ++i) {
        const auto texts = FindingRowTexts(findings.At(i), deleteText);
        listCtrl.InsertItem(i, texts[0]);
        for (int column = 1; column < kFindingColumns; ++column)
            listCtrl.SetItemText(i, column, texts[column]);
        listCtrl.SetCheck(i, true);
    }
}

void CPage2::OnLogButton()
{
    if (CStlag* sheet = CStlag::FromPage(window_))
        sheet->ShowLogWindow();
}

}  // namespace stlag
