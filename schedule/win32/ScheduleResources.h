#pragma once
/* The Schedule dialog and the schedule's warning. Plain #defines: the resource compiler reads
   this file too. The ways of choosing when are numbered in a row, as CheckRadioButton needs. */

#define IDD_SCHEDULE 500
#define IDC_SCH_ACTION_LABEL 501
#define IDC_SCH_ACTION 502
#define IDC_SCH_IN 503
#define IDC_SCH_AT 504
#define IDC_SCH_IDLE 505
#define IDC_SCH_ENDS 506
#define IDC_SCH_IN_MINUTES 507
#define IDC_SCH_AT_TIME 508
#define IDC_SCH_IDLE_MINUTES 509
#define IDC_SCH_IN_UNIT 510
#define IDC_SCH_AT_UNIT 511
#define IDC_SCH_IDLE_UNIT 512
#define IDC_SCH_WHEN 513
#define IDC_SCH_LIST_LABEL 514
#define IDC_SCH_LIST 515
#define IDC_SCH_PROGRAM_LABEL 516
#define IDC_SCH_PROGRAM 517
#define IDC_SCH_KEEP_AWAKE 518

#define IDD_SCHEDULE_WARNING 550
#define IDC_WARN_TEXT 551
#define IDC_WARN_FORCED 552
#define IDC_WARN_NOW 553
#define IDC_WARN_POSTPONE 554
