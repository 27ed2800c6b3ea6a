/* Ravelo's control identifiers, shared by the resource script and the dialog procedures. */
#ifndef RAVELO_IDS_H
#define RAVELO_IDS_H

/* Properties dialog: statics 400s, browse 501, edits 600s, lists 700s, check boxes 800s. */
#define IDC_INTERVAL_LABEL 401
#define IDC_INTERVAL_HINT 402
#define IDC_BROWSE 501
#define IDC_DIRECTORY 601
#define IDC_FILE_NAME 602
#define IDC_INTERVAL 603
#define IDC_PORT 701
#define IDC_BAUD 702
#define IDC_FILE_MODE 703
#define IDC_APPEND_CR 801
#define IDC_APPEND_LF 802
#define IDC_SHOW_ERRORS 803
#define IDC_SHOW_RECEIVED 804
#define IDC_ALWAYS_ASK 805
#define IDC_ONLINE 806

/* Online polling window: its timer. */
#define POLL_TIMER_ID 901

#endif
