#pragma once
/* The Keep awake dialog. Plain #defines: the resource compiler reads this file too. */

#define IDD_KEEP_AWAKE 600
#define IDC_AWK_OFF 601
#define IDC_AWK_FOR 602
#define IDC_AWK_UNTIL 603
#define IDC_AWK_WHILE 604
#define IDC_AWK_MINUTES 605
#define IDC_AWK_TIME 606
#define IDC_AWK_MINUTES_UNIT 607
#define IDC_AWK_TIME_UNIT 608
#define IDC_AWK_LIST_LABEL 609
#define IDC_AWK_LIST 610
#define IDC_AWK_PROGRAM_LABEL 611
#define IDC_AWK_PROGRAM 612
#define IDC_AWK_DISPLAY 613
#define IDC_AWK_WHEN 614
