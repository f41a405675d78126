// Numbers of setup.exe's resources and of the controls in its templates,
// shared by setup.rc and the code. Plain macros, since the resource compiler
// understands nothing else. Ids repeat across templates (1011 is the path
// field of the destination page and the name field of the program group
// page); each template has its own names for them.
#pragma once

// ---- Dialog templates and the bitmap
#define IDD_WELCOME_PAGE 101
#define IDD_SECTIONS_PAGE 105
#define IDD_DESTINATION_PAGE 106
#define IDD_COPY_PAGE 111
#define IDD_PROGRAM_GROUP_PAGE 113
#define IDD_LANGUAGE_CONFLICT 115
#define IDD_OVERWRITE_FILE 116
#define IDD_LICENCE_PAGE 117
#define IDD_FINISH_PAGE 130
#define IDB_WELCOME_PICTURE 106

// Controls the code never addresses (headings, labels, group boxes).
#define IDC_UNNAMED (-1)

// ---- Buttons of every wizard page (the copy page has Cancel only)
#define IDC_PAGE_NEXT 1017
#define IDC_PAGE_CANCEL 1018
#define IDC_PAGE_LAST 5  // shown as Back where the script wants it

// ---- Welcome page (101)
#define IDC_WELCOME_TEXT 1001
#define IDC_WELCOME_TEXT2 1000

// ---- Destination page (106)
#define IDC_DEST_PATH_LABEL 1010
#define IDC_DEST_PATH 1011
#define IDC_DEST_CHOOSE 1012
#define IDC_DEST_FREE_SPACE 1013
#define IDC_DEST_AUTOMATIC 1014
#define IDC_DEST_ASK_CREATE 1029

// ---- Sections page (105)
#define IDC_SECTIONS_HEADING 1003
#define IDC_SECTIONS_LIST 1009
#define IDC_SECTIONS_COMMENT_LABEL 1019
#define IDC_SECTIONS_COMMENT 1011
#define IDC_SECTIONS_MUST_INSTALL 1024
#define IDC_SECTIONS_INSTALL 1025

// ---- Program group page (113)
#define IDC_GROUP_HEADING 1003
#define IDC_GROUP_NEW 1030
#define IDC_GROUP_EXISTING 1031
#define IDC_GROUP_NONE 1032
#define IDC_GROUP_NAME 1011
#define IDC_GROUP_FOLDER 1013
#define IDC_GROUP_BROWSE 1014

// ---- Copy page (111)
#define IDC_COPY_SECTION_LABEL 1026
#define IDC_COPY_SECTION 1033
#define IDC_COPY_SECTION_BAR 1028
#define IDC_COPY_FILE 1034
#define IDC_COPY_FILE_BAR 1027

// ---- Finish page (130); its actions' check boxes are numbered from the first
#define IDC_FINISH_TEXT 1050
#define IDC_FINISH_FIRST_ACTION 1100

// ---- Different languages/codepages (115)
#define IDC_CONFLICT_TARGET 1035
#define IDC_CONFLICT_TARGET_LANGUAGE 1036
#define IDC_CONFLICT_TARGET_CODEPAGE 1039
#define IDC_CONFLICT_SOURCE 1037
#define IDC_CONFLICT_SOURCE_LANGUAGE 1038
#define IDC_CONFLICT_SOURCE_CODEPAGE 1040
#define IDC_CONFLICT_INSTALL_ALL 1012
#define IDC_CONFLICT_NO 1042
#define IDC_CONFLICT_YES 1041

// ---- Overwrite file (116)
#define IDC_OVERWRITE_TARGET 1034
#define IDC_OVERWRITE_YES 1012
#define IDC_OVERWRITE_NO 1043
#define IDC_OVERWRITE_ALL 1044

// ---- Licence and text pages (117): the text box is made at run time in
// the place of its frame, as the system's rich edit control or an edit
#define IDC_LICENCE_HEADING 1045
#define IDC_LICENCE_FRAME 1046
#define IDC_LICENCE_TEXT 1047
#define IDC_LICENCE_ACCEPT 1048
#define IDC_LICENCE_DECLINE 1049
