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
