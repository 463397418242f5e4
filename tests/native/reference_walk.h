// The walk written plainly, step by step, as the figure is defined: the
// yardstick the fast DrawBranch is compared with, call for call and for speed.
#pragma once

void ReferenceDrawBranch(int x, int y, double length, double angle, int step, int side);
