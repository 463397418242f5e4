// Renderer state and the tick state machine that grows, ends and alternates
// figures. Pure arithmetic over module-level state; the only platform
// contact is through the OpenGL calls of a drawn tick.
#pragma once

struct Colour {
    unsigned char red, green, blue;
};

extern int screenWidth; // client size captured at window creation
extern int screenHeight;
extern int heightLevels; // bound of the leftward figure
extern int widthLevels;  // bound of the upward figure
extern int startX;       // root of the current figure, client pixels
extern int startY;
extern double startLength;
extern double startAngle; // 0.0 upward, 270.0 leftward
extern int growthTicks;   // ticks drawn in the current figure
extern int pauseTicks;    // below 0 while pausing between figures
extern Colour drawColour;

constexpr int tickMilliseconds = 50; // the timer that drives the ticks
constexpr int pauseLength = 80;
constexpr int ticksPerLevel = 5;

// How often d / 5 must be multiplied by 0.8125 until it is no longer above 1.
int LevelCount(int dimension);

void PlaceUpwardFigure();
void PlaceLeftwardFigure();

// The state part of window creation, for a client of the given size.
void StartFern(int width, int height);

// One timer tick: count down a pause, end the figure, or draw it.
void FernTick();
