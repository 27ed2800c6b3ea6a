/* Lumbra's control identifiers, shared by the resource script and the window code. */
#ifndef LUMBRA_IDS_H
#define LUMBRA_IDS_H

/* ComPropertiesDlg: the port and speed lists. */
#define IDC_LOOKUP_PORT 101
#define IDC_LOOKUP_BAUD 102

/* ProgressDlg: the line under the bar, blanked when the window opens. */
#define IDC_PROGRESS_STATUS 151

#endif
