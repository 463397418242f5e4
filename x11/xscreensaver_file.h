// --add-to-xscreensaver and --remove-from-xscreensaver: the user's
// ~/.xscreensaver changed, with what was done said on standard output.
#pragma once

// The exit code: 0 when the list is as asked (or left as the user has it), 1
// when the file cannot be read, understood or written; it is then unchanged.
int EditXscreensaverFile(bool add);
