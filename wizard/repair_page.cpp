#include "repair_page.h"

#include <algorithm>
#include <ctime>

#include <shlobj.h>

#include "backup_file_chooser.h"
#include "finding_rows.h"
#include "text_format.h"
#include "texts.h"

namespace stlag {

namespace {
constexpr int kAdvancedControls[] = {IDC_BACKUP_LABEL, IDC_BACKUP_EDIT, IDC_FINDING_LIST, IDC_BROWSE_BUTTON,
                                     IDC_UNTICK_NOTE};
constexpr UINT kColumnHeadings[kFindingColumns] = {IDS_COL_VALUE, IDS_COL_NEW_DATA, IDS_COL_OLD_DATA, IDS_COL_PATH};
enum Column { kNameColumn, kNewDataColumn, kOldDataColumn, kPathColumn };
constexpr std::size_t kFileBufferSize = 260;
constexpr int kFinishPageIndex = 2;

std::string DefaultBackupPath()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    return DefaultBackupFileName(GetSpecialFolderPath(CSIDL_DESKTOP), WideToUtf8(LoadWideText(IDS_BACKUP_BASE_NAME)),
                                 local);
}
}  // namespace

void CRepairPage::DoDataExchange(bool save)
{
    DdxControl(IDC_FINDING_LIST, findingList_);
    DdxCheck(save, IDC_ADVANCED_CHECK, advancedMode_);
    std::wstring backupFileName = Utf8ToWide(backupFileName_);
    DdxWideText(save, IDC_BACKUP_EDIT, backupFileName);
    backupFileName_ = WideToUtf8(backupFileName);
}

BOOL CRepairPage::OnInitDialog()
{
    CWizardPage::OnInitDialog();
    InsertColumns();
    advancedMode_ = false;
    backupFileName_ = DefaultBackupPath();
    UpdateData(false);
    UpdateAdvancedMode();
    Scan();
    return TRUE;
}

void CRepairPage::Scan()
{
    ScanResult scan = engine_.Scan();
    state_.findings = std::move(scan.findings);
    state_.logText = std::move(scan.logText);
    FillFindingList();
    const int found = static_cast<int>(state_.findings.size());
    if (found == 0)
        state_.outcome = PathText{LoadText(IDS_NO_FAULTS)};
    else
        SetItemText(IDC_FOUND_TEXT, FormatText(LoadText(IDS_FAULTS_FOUND), {found}));
}

void CRepairPage::InsertColumns() const
{
    // A cell cut at the column's edge shows whole in a tip when pointed at.
    findingList_.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int column = 0; column < kFindingColumns; ++column)
        findingList_.InsertColumn(column, LoadText(kColumnHeadings[column]), 0);
}

LRESULT CRepairPage::OnSetActive()
{
    SetWizardButtons(PSWIZB_NEXT);
    return CWizardPage::OnSetActive();
}

LRESULT CRepairPage::OnWizardNext()
{
    UpdateData(true);
    // Where a double-click can undo it, and shown so in the field.
    backupFileName_ = CompleteBackupName(backupFileName_, GetSpecialFolderPath(CSIDL_DESKTOP));
    UpdateData(false);
    RepairRequest request;
    request.backupPath = backupFileName_;
    for (int row = 0; row < findingList_.GetItemCount(); ++row)
        request.ticked.push_back(findingList_.GetCheck(row));
    RepairResult result = engine_.Repair(state_.findings, request);
    if (result.refusal != RepairRefusal::None) {
        // The field gets the focus before the box opens: closing the box gives the sheet back
        // the focus it had, and that may reach the sheet after anything done once the box is
        // gone.
        if (result.refusal != RepairRefusal::NothingTicked)
            ShowBackupField();
        AppMessageBox(window_, LoadText(result.warningTextId), MB_ICONEXCLAMATION | MB_OK);
        return -1;
    }
    state_.findings = std::move(result.findingsLeft);
    state_.outcome = std::move(result.outcome);
    FillFindingList();
    return CWizardPage::OnWizardNext();
}

bool CRepairPage::OnPaint()
{
    PAINTSTRUCT paint;
    ::BeginPaint(window_, &paint);
    ::EndPaint(window_, &paint);
    if (firstPaint_ && state_.findings.empty())
        GoToPage(kFinishPageIndex);
    firstPaint_ = false;
    return true;
}

bool CRepairPage::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_ADVANCED_CHECK) {
        UpdateAdvancedMode();
        return true;
    }
    if (notifyCode == BN_CLICKED && id == IDC_BROWSE_BUTTON) {
        OnBrowseButton();
        return true;
    }
    return CWizardPage::OnCommand(notifyCode, id, control);
}

void CRepairPage::UpdateAdvancedMode()
{
    UpdateData(true);
    for (const int id : kAdvancedControls) {
        EnableItem(id, advancedMode_);
        ShowItem(id, advancedMode_);
    }
}

// The message asks for another file name: the field is shown, its name selected.
void CRepairPage::ShowBackupField()
{
    advancedMode_ = true;
    UpdateData(false);
    UpdateAdvancedMode();
    FocusItem(IDC_BACKUP_EDIT);
}

void CRepairPage::OnBrowseButton()
{
    UpdateData(true);
    // The repair never replaces a file, so neither does the dialog offer to: a name that
    // exists is refused as Next would refuse it, and the dialog opens again on it.
    std::string offered = backupFileName_;
    std::string chosen;
    while (AskSaveFileName(window_, offered, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, LoadText(IDS_SAVE_FILTER),
                           LoadText(IDS_SAVE_DEFAULT_EXT), kFileBufferSize, chosen)) {
        if (!engine_.NameTaken(chosen)) {
            backupFileName_ = chosen;
            break;
        }
        AppMessageBox(window_, LoadText(IDS_BACKUP_EXISTS), MB_ICONEXCLAMATION | MB_OK);
        offered = chosen;
    }
    UpdateData(false);
}

void CRepairPage::FillFindingList() const
{
    findingList_.DeleteAllItems();
    const std::string deleteText = LoadText(IDS_DELETE_VALUE_ROW);
    for (int i = 0; i < static_cast<int>(state_.findings.size()); ++i) {
        const auto texts = FindingRowTexts(state_.findings[static_cast<std::size_t>(i)], deleteText);
        findingList_.InsertItem(i, texts[0]);
        for (int column = 1; column < kFindingColumns; ++column)
            findingList_.SetItemText(i, column, texts[column]);
        findingList_.SetCheck(i, true);
    }
    FitColumns();
}

// Name and key as wide as their longest text, at most a fifth and two fifths of the list;
// the old and the new data share the rest.
void CRepairPage::FitColumns() const
{
    RECT client = {};
    ::GetClientRect(findingList_, &client);
    const int width = client.right - client.left;
    int fixed = 0;
    for (const auto& limit : {std::make_pair(kNameColumn, width / 5), std::make_pair(kPathColumn, width * 2 / 5)}) {
        findingList_.SetColumnWidth(limit.first, LVSCW_AUTOSIZE);
        findingList_.SetColumnWidth(limit.first, std::min(findingList_.GetColumnWidth(limit.first), limit.second));
        fixed += findingList_.GetColumnWidth(limit.first);
    }
    findingList_.SetColumnWidth(kNewDataColumn, (width - fixed) / 2);
    findingList_.SetColumnWidth(kOldDataColumn, width - fixed - (width - fixed) / 2);
}

}  // namespace stlag
