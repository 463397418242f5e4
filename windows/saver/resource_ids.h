// The screen saver's resource and control numbers, for its resource script
// and its code alike.
#pragma once

#define IDS_NAME 1         // the program's name
#define IDI_VERDANELLE 100 // the icon of the window class and the about box
#define IDB_OK 104         // the about box's button
#define IDB_NAME 108       // its lettering
#define IDB_CREDIT 109
#define IDB_ADDRESS 111
#define IDD_ABOUT 2003 // the about box
#define IDC_ABOUT_OK 1 // its button, which answers Enter as IDOK does
