// Resource ids of Startlagaren: dialog templates, controls, icons and strings.
// Plain #defines only, so the engine and the native tests can include it too.
#ifndef STLAG_RESOURCE_H
#define STLAG_RESOURCE_H

// Dialog templates
#define IDD_ABOUT                 100
#define IDD_START_PAGE            106
#define IDD_REPAIR_PAGE           132
#define IDD_FINISH_PAGE           133
#define IDD_LOG                   136

// Icons
#define IDI_APP                   128
#define IDI_APP_MONO              129

// Controls
#define IDC_FINDING_LIST          1001
#define IDC_BACKUP_EDIT           1003
#define IDC_BACKUP_LABEL          1004
#define IDC_WEB_LINK              1004
#define IDC_FOUND_TEXT            1005
#define IDC_MAIL_LINK             1005
#define IDC_ADVANCED_CHECK        1006
#define IDC_BROWSE_BUTTON         1007
#define IDC_UNTICK_NOTE           1008
#define IDC_OUTCOME_EDIT          1009
#define IDC_ABOUT_BUTTON          1011
#define IDC_LOG_BUTTON            1012
#define IDC_LOG_EDIT              1013
#define IDC_COPY_BUTTON           1014
#define IDC_README_LINK           1040
#define IDC_README_SENTENCE       1041
#define IDC_APP_ICON              1042
#define IDC_MONO_ICON             1043

// System menu
#define IDM_ABOUTBOX              0x0010

// Strings: application and menu
#define IDS_APP_TITLE             57344
#define IDS_ABOUTBOX              101

// Strings: finding list columns
#define IDS_COL_VALUE             200
#define IDS_COL_NEW_DATA          201
#define IDS_COL_OLD_DATA          202
#define IDS_COL_PATH              203
#define IDS_DELETE_VALUE_ROW      204

// Strings: repair refusals and outcome
#define IDS_BACKUP_EXISTS         300
#define IDS_BACKUP_CREATE_FAILED  301
#define IDS_REPAIR_ERRORS         310
#define IDS_CHANGE_FAILURES       311
#define IDS_DELETE_FAILURES       312
#define IDS_RESTORE_WITH_BACKUP   313
#define IDS_CHANGED_SINCE_SCAN    314
#define IDS_NOTHING_TICKED        315
#define IDS_BACKUP_BASE_NAME      320
#define IDS_REPAIR_STOPPED        330
#define IDS_STOPPED_CHANGED       331
#define IDS_STOPPED_NOTHING_CHANGED 332
#define IDS_STOPPED_BACKUP_FILE   333
#define IDS_NO_FAULTS             400
#define IDS_FAULTS_FOUND          401
#define IDS_ALL_REPAIRED          410
#define IDS_SOME_REPAIRED         411
#define IDS_BACKUP_CREATED        412

// Strings: troubleshooting log
#define IDS_LOG_KEY_HEADER        600
#define IDS_LOG_KEY_MISSING       601
#define IDS_LOG_VALUE             610
#define IDS_LOG_DATA              611
#define IDS_LOG_NOT_STRING        612
#define IDS_LOG_OK                613
#define IDS_LOG_FAULTY            615
#define IDS_LOG_DELETE            616
#define IDS_LOG_NEW_DATA          617
#define IDS_LOG_UNREADABLE        620
#define IDS_LOG_NOT_IN_CODEPAGE   621
#define IDS_LOG_NAME_TOO_LONG     622
#define IDS_LOG_NAME_NOT_IN_CODEPAGE 623
#define IDS_LOG_MORE_THAN_ONE_STRING 624
#define IDS_LOG_PROGRAM_MISSING   625
#define IDS_LOG_KEY_PATH_CONTROL  626
#define IDS_LOG_NETWORK_PATH      627
#define IDS_LOG_DRIVE_NOT_FIXED   628
#define IDS_LOG_RELATIVE_PATH     629
#define IDS_LOG_WILDCARD          630
#define IDS_LOG_FOLDER            631
#define IDS_LOG_FILE_SYSTEM_ERROR 632
#define IDS_LOG_WALK_ENDED        633
#define IDS_LOG_KEY_NAME_NOT_IN_CODEPAGE 634
#define IDS_LOG_PROGRAM_IN_VARIABLE 635
#define IDS_LOG_BY_HAND           636
#define IDS_LOG_NAME_CONTROL      637
#define IDS_LOG_PROGRAM_FORM      638
#define IDS_LOG_USER_VARIABLE     639
#define IDS_LOG_EXPANSION_FAILED  640
#define IDS_LOG_EXPANSION_EMPTY   641
#define IDS_LOG_REPARSE_POINT     642
#define IDS_LOG_PATH_TOO_LONG     643
#define IDS_LOG_KEY_NAME_NUL      644

// Strings: console companion
#define IDS_CONSOLE_USAGE         700
#define IDS_CONSOLE_BAD_ARGUMENT  701
#define IDS_CONSOLE_NO_BACKUP_FILE 702
#define IDS_CONSOLE_BAD_SCOPE     703
#define IDS_CONSOLE_SUMMARY       704
#define IDS_CONSOLE_SUMMARY_BACKUP 705
#define IDS_CONSOLE_SUMMARY_STOPPED 706
#define IDS_CONSOLE_NO_UNDO_FILE  707
#define IDS_CONSOLE_TWICE         708
#define IDS_CONSOLE_UNDO_ALONE    709

// Strings: a repair taken back
#define IDS_UNDO_LINE             740
#define IDS_UNDO_RESTORED         741
#define IDS_UNDO_ALREADY          742
#define IDS_UNDO_CHANGED          743
#define IDS_UNDO_NOT_SCANNED      744
#define IDS_UNDO_FORM             745
#define IDS_UNDO_NOT_FAULTY       746
#define IDS_UNDO_TWICE            747
#define IDS_UNDO_FAILED           748
#define IDS_UNDO_SUMMARY          749
#define IDS_UNDO_RENAMED          750
#define IDS_UNDO_NOT_READ         751
#define IDS_CONSOLE_UNSAFE_UNDO   752
#define IDS_UNDO_NO_BACKUP        753
#define IDS_UNDO_UNREADABLE       754
#define IDS_UNDO_TOO_LARGE        755
#define IDS_UNDO_FILE_OTHERS_MAY_CHANGE 756
#define IDS_UNDO_FILE_FOREIGN_OWNER 757
#define IDS_UNDO_FILE_NOT_PLAIN   758
#define IDS_UNDO_FILE_MOVED       759
#define IDS_UNDO_NOT_RENAMED      760

// Strings: the backup's folder, refused
#define IDS_CONSOLE_UNSAFE_FOLDER 720
#define IDS_FOLDER_NOT_CREATED    721
#define IDS_FOLDER_NOT_A_FOLDER   722
#define IDS_FOLDER_REPARSE_POINT  723
#define IDS_FOLDER_OTHERS_MAY_CHANGE 724
#define IDS_FOLDER_FOREIGN_OWNER  725
#define IDS_FOLDER_UNREADABLE     726
#define IDS_FOLDER_ABOVE_REPARSE_POINT 727
#define IDS_FOLDER_ABOVE_OTHERS_MAY_SWAP 728
#define IDS_FOLDER_ABOVE_FOREIGN_OWNER 729

// Strings: backup file chooser
#define IDS_SAVE_FILTER           1000
#define IDS_SAVE_DEFAULT_EXT      1001

// Strings: About box links and read-me
#define IDS_WEB_TARGET            60000
#define IDS_MAIL_TARGET           60001
#define IDS_README_LINK_NAME      60002
#define IDS_README_FAILED         60003
#define IDS_LINK_OPEN             60004

#endif
