#include "subtree_records.h"

namespace walk {

Stroke strokes[strokeCount];
Shape shapes[shapeCount];

namespace {

unsigned lastDraw = 0;

bool FitsByte(int v) {
    return v >= -128 && v <= 127;
}

} // namespace

Records::Records() {
    if (++lastDraw == 0) { // after 2^32 draws, stale stamps would match again
        for (Shape& shape : shapes)
            shape.draw = 0;
        lastDraw = 1;
    }
    draw = lastDraw;
}

void Records::Begin(Shape& slot, double length, int angle, int side, int x, int y, int step) {
    slot = Shape{
        BitsOf(length), angle, draw, usedStrokes, 0, 0, static_cast<unsigned char>(side), true};
    recording = &slot;
    baseX = x;
    baseY = y;
    baseStep = step;
}

void Records::AddRecord(const Shape& shape, int x, int y, int step) {
    if (!recording)
        return;
    int dx = x - baseX, dy = y - baseY, lastStep = shape.lastStep + step - baseStep;
    const Stroke* stroke = StrokesOf(shape);
    for (int i = 0; i < shape.count; ++i, ++stroke)
        Keep(stroke->x0 + dx, stroke->y0 + dy, stroke->x1 + dx, stroke->y1 + dy, lastStep);
}

void Records::Keep(int x0, int y0, int x1, int y1, int lastStep) {
    Shape& shape = *recording;
    if (usedStrokes == strokeCount || !FitsByte(x0) || !FitsByte(y0) || !FitsByte(x1) ||
        !FitsByte(y1)) {
        shape.whole = false; // out of room: this record is never replayed
        return;
    }
    strokes[usedStrokes++] = Stroke{static_cast<signed char>(x0), static_cast<signed char>(y0),
                                    static_cast<signed char>(x1), static_cast<signed char>(y1)};
    ++shape.count;
    if (lastStep > shape.lastStep)
        shape.lastStep = lastStep;
}

} // namespace walk
