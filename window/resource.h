// Resource and control identifiers of the decoder window.
#pragma once

#define IDD_DECODER 1
#define IDI_APP 1

#define IDC_LABEL 4
#define IDC_LIST 50
#define IDC_SK 51
#define IDC_ASC 52
#define IDC_ASCQ 53
#define IDC_LINK 54

// The commands of the list's context menu, which arrive as WM_COMMAND. A
// sort command is IDM_SORT_BY_SK plus its column's index.
#define IDM_COPY 100
#define IDM_SELECT_ALL 101
#define IDM_PASTE_CODE 102
#define IDM_SORT_BY_SK 110
#define IDM_SORT_BY_ASC 111
#define IDM_SORT_BY_ASCQ 112
#define IDM_SORT_BY_DESCRIPTION 113
