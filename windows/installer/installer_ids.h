// The installer dialog's control numbers, for its resource script and its
// code alike.
#pragma once

#define IDC_INSTALL_BUTTON 1  // "Ok", or "Close" after a failure; answers Enter as IDOK does
#define IDC_INSTALL_TEXT 1000 // what happened
