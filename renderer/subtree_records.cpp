#include "subtree_records.h"

namespace walk {

Stroke strokes[strokeCount];
Shape shapes[shapeCount];

namespace {

unsigned lastDraw = 0;

} // namespace

Records::Records() {
    if (++lastDraw == 0) { // after 2^32 draws, stale stamps would match again
        for (Shape& shape : shapes)
            shape.draw = 0;
        lastDraw = 1;
    }
    draw = lastDraw;
}

Mark Records::Begin(Shape& slot, double length, int angle, int side, int x, int y, int step) {
    if (open++ == 0) {
        baseX = x;
        baseY = y;
    }
    slot = Shape{BitsOf(length), angle,     draw,
                 usedStrokes,    0,         0,
                 x - baseX,      y - baseY, static_cast<unsigned char>(side),
                 false,          0.0};
    Mark mark{deepest, cut, slack};
    deepest = step - 1; // nothing drawn: any growth that reaches it
    cut = false;
    slack = 1.0; // no decision made: none comes closer than a half
    return mark;
}

void Records::End(Shape& slot, int step, Mark mark) {
    slot.count = usedStrokes - slot.first;
    slot.lastStep = deepest - step;
    slot.whole = !cut;
    slot.slack = slack;
    Note(mark.slack);
    if (mark.deepest > deepest)
        deepest = mark.deepest;
    cut = cut || mark.cut;
    --open;
}

void Records::AddRecord(const Shape& shape, double length, int x, int y, int step) {
    if (!open)
        return;
    // Its slack is that of the length it was made for; a near length may have
    // moved each value by up to nearDrift.
    Note(shape.lengthBits == BitsOf(length) ? shape.slack : shape.slack - nearDrift);
    if (shape.count > strokeCount - usedStrokes) {
        cut = true;
        return;
    }
    // Both lie within the outermost subtree, so the sums stay within a byte.
    int dx = x - shape.x - baseX, dy = y - shape.y - baseY;
    const Stroke* from = StrokesOf(shape);
    Stroke* to = strokes + usedStrokes;
    for (int i = 0; i < shape.count; ++i)
        to[i] = Stroke{
            static_cast<signed char>(from[i].x0 + dx), static_cast<signed char>(from[i].y0 + dy),
            static_cast<signed char>(from[i].x1 + dx), static_cast<signed char>(from[i].y1 + dy)};
    usedStrokes += shape.count;
    if (shape.lastStep + step > deepest)
        deepest = shape.lastStep + step;
}

} // namespace walk
