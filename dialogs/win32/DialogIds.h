#pragma once
// Resource numbers of the About (300-399) and Update (400-499) dialogs and their controls.

#define IDD_ABOUT 300
#define IDC_ABOUT_PICTURE1 301
#define IDC_ABOUT_PICICON 302
#define IDC_ABOUT_CMDOK 303
#define IDC_ABOUT_SYSINFO 304
#define IDC_ABOUT_EMAIL 305
#define IDC_ABOUT_WEBSITE 306
#define IDC_ABOUT_UPDATE 307
#define IDC_ABOUT_DESCRIPTION 308
#define IDC_ABOUT_TITLE 309
#define IDC_ABOUT_VERSION 310

// Neither button may be IDOK or IDCANCEL: Enter and Escape must not press them.
#define IDD_UPDATE 400
#define IDC_UPDATE_VERSION 401
#define IDC_UPDATE_CLOSE 402
#define IDC_UPDATE_LABEL1 403
#define IDC_UPDATE_CHECK 404
#define IDC_UPDATE_LABEL2 405
