#pragma once
/* Ids of the main window's own controls, beside the menu's command numbers. Plain #defines:
   the resource compiler reads this file too. */
#include "actions/MenuIds.h"

/* the main window's controls */
#define ID_CHECK1 121
#define ID_CHECKREQUEST 122
#define ID_COMMANDABOUT 123
#define ID_COMMANDOPTIONS 124
#define ID_COMMANDMINIMIZE 125
#define ID_COMMANDUPDATES 126
#define ID_HALCYRAIMAGE 127
/* the scheduled action's status line, shown while one is armed */
#define ID_SCHEDULESTATUS 128
#define ID_SCHEDULECANCEL 129
