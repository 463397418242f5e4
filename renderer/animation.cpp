#include "animation.h"

#include "branch.h"
#include "colour.h"
#include "double_precision.h"
#include "gl_calls.h"

int screenWidth;
int screenHeight;
int heightLevels;
int widthLevels;
int startX;
int startY;
double startLength;
double startAngle;
int growthTicks;
int pauseTicks;
Colour drawColour;

int LevelCount(int dimension) {
    double v = static_cast<double>(dimension / 5);
    int n = 0;
    while (v > 1.0) {
        v = v * 0.8125;
        ++n;
    }
    return n;
}

// The quotient by 5 is taken in integers before it becomes a double.
void PlaceUpwardFigure() {
    startAngle = 0.0;
    startY = screenHeight;
    startLength = static_cast<double>(screenHeight / 5);
    startX = screenWidth / 2;
}

void PlaceLeftwardFigure() {
    startAngle = 270.0;
    startX = screenWidth;
    startLength = static_cast<double>(screenWidth / 5);
    startY = screenHeight / 2;
}

void StartFern(int width, int height) {
    UseDoublePrecision();
    pauseTicks = 0;
    screenWidth = width;
    screenHeight = height;
    drawColour = Colour{0, 255, 0};
    heightLevels = LevelCount(screenHeight);
    widthLevels = LevelCount(screenWidth);
    PlaceUpwardFigure();
}

// The precision is set again each tick: a driver may change it in between.
void FernTick() {
    UseDoublePrecision();
    if (pauseTicks < 0) {
        ++pauseTicks;
        return;
    }
    // The root point tells the orientation; the bounds are crossed on purpose.
    if ((startX == screenWidth && growthTicks > ticksPerLevel * heightLevels) ||
        (startY == screenHeight && growthTicks > ticksPerLevel * widthLevels)) {
        growthTicks = 0;
        if (startAngle == 0.0)
            PlaceLeftwardFigure();
        else
            PlaceUpwardFigure();
        pauseTicks = -pauseLength;
        return; // the last picture stays through the pause
    }
    if (growthTicks == 0)
        glClear(GL_COLOR_BUFFER_BIT);
    glColor3ub(drawColour.red, drawColour.green, drawColour.blue);
    DrawBranch(startX, startY, startLength, startAngle, 0, 0);
    glFlush();
    StepColour();
    ++growthTicks;
}
