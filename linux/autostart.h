// --add-to-autostart and --remove-from-autostart: verdanelle --idle started
// with the session by the XDG autostart entry that GNOME, KDE Plasma, Xfce,
// MATE's session and many others run.
#pragma once

#include "autostart_entry.h"

// The exit code: 0 when the entry is as asked, 1 when it cannot be written
// or taken out; it is then as it was.
int EditAutostart(bool add, long seconds);
