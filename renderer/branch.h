// The recursive walk that draws a figure as far as growthTicks has grown it.
#pragma once

int RoundHalfUp(double value);

// Draws the first `fifths` fifths (1 to 4) of the segment (x0, y0)-(x1, y1).
void DrawTip(int x0, int y0, int x1, int y1, int fifths);

void DrawBranch(int x, int y, double length, double angle, int step, int side);
