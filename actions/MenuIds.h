#pragma once
/* Command numbers of the main window's menu entries, which the tray popup shares. Plain
   #defines: the resource compiler reads this file too. */

/* "&Actions", in menu order */
#define ID_MNU_ABOUT 101
#define ID_MNU_UPDCHK 102
#define ID_MNU_OPTIONS 103
#define ID_MNU_EXIT 104
#define ID_MNU_SHOW 105
#define ID_MNU_SHTDNNOW 106
#define ID_MNU_RSTRTNOW 107
#define ID_MNU_STANDBY 108
#define ID_MNU_HIBERNATE 109
#define ID_MNU_RESTART 110
#define ID_MENU_SHUTDOWN 111
#define ID_MNU_LOGOFF 112
#define ID_MNU_MONITOR 113
#define ID_MNU_SCREENSAVER 114
#define ID_MNU_LOCK 115

/* "Sch&edule..." and, while one is armed, its cancel entry */
#define ID_MNU_SCHEDULE 130
#define ID_MNU_CANCELSCHEDULE 131

/* "Keep a&wake..." and, while on, "Stop keeping a&wake" in its place; the status row's */
#define ID_MNU_KEEPAWAKE 132
#define ID_MNU_STOPAWAKE 133
#define ID_AWAKESTATUS 134
#define ID_AWAKESTOP 135

#define IDM_HALCYRA_MENU 150
