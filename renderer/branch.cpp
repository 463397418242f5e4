#include "branch.h"

#include "animation.h"
#include "gl_calls.h"
#include "subtree_records.h"
#include "walk_math.h"

// Every tick redraws every segment, so the walk is built for speed, yet it
// draws exactly the pairs of the plain definition, in its order and with its
// doubles: the same formulas in the same order, and otherwise values it has
// computed before, looked up.
namespace {

using namespace walk;

void DrawPair(double gx0, double gy0, double gx1, double gy1) {
    glBegin(GL_LINES);
    glVertex2d(gx0, gy0);
    glVertex2d(gx1, gy1);
    glEnd();
}

// What one draw reads once, and what it records.
struct Walker {
    int growth;
    double width, height;
    Records records;
};

// Angle is an int when the walk starts at a whole degree (exact: whole
// doubles add without rounding), a double otherwise. The caller has checked
// that the segment is not too short; FromStart tells that `step` starts the
// segment's growth.
template <typename Angle, bool FromStart>
void Walk(Walker& walker, int x, int y, double length, Angle angle, int step, int side);

void Branch(Walker& walker, int x, int y, double length, double angle, int step, int side) {
    Walk<double, true>(walker, x, y, length, angle, step, side);
}

// Whether every pixel a byte away from `base` has its device coordinate in the table.
bool WithinTable(int base) {
    return base - 128 >= deviceLow && base + 127 < deviceLow + deviceCount;
}

// Draws a record whose strokes all have their device coordinates in the table.
void Replay(Walker& walker, const Shape& shape, double length, int x, int y, int step) {
    const Stroke* stroke = walker.records.StrokesOf(shape);
    const Stroke* end = stroke + shape.count;
    const double* gx = device.x + (x - shape.x - deviceLow);
    const double* gy = device.y + (y - shape.y - deviceLow);
    // Each vertex is read just before its call, so no double lives across one.
    for (; stroke != end; ++stroke) {
        glBegin(GL_LINES);
        glVertex2d(gx[stroke->x0], gy[stroke->y0]);
        glVertex2d(gx[stroke->x1], gy[stroke->y1]);
        glEnd();
    }
    walker.records.AddRecord(shape, length, x, y, step);
}

// A side branch at a whole angle: drawn from a record when one fits, else
// walked, and recorded, inside any record being made, when its slot is free.
void Branch(Walker& walker, int x, int y, double length, int angle, int step, int side) {
    Records& records = walker.records;
    if (!(std::fabs(length) < smallLength)) {
        Walk<int, true>(walker, x, y, length, angle, step, side);
        return;
    }
    Shape& slot = records.Slot(length, angle, side);
    // Far outside the client, where the table ends, walking draws the same.
    if (records.Recorded(slot, length, angle, side) && walker.growth - step > slot.lastStep &&
        WithinTable(x - slot.x) && WithinTable(y - slot.y)) {
        Replay(walker, slot, length, x, y, step);
        return;
    }
    if (records.Taken(slot)) {
        Walk<int, true>(walker, x, y, length, angle, step, side);
        return;
    }
    Mark mark = records.Begin(slot, length, angle, side, x, y, step);
    Walk<int, true>(walker, x, y, length, angle, step, side);
    records.End(slot, step, mark);
}

template <typename Angle, bool FromStart>
void Walk(Walker& walker, int x, int y, double length, Angle angle, int step, int side) {
    Records& records = walker.records;
    // How close the decisions made here came to changing, noted before each
    // call and before each return that leaves the records whole.
    double slack = 1.0;
    Turn turn = TurnOf(angle);
    int x1 = x + Round(length * turn.sin, slack);
    int y1 = y - Round(length * turn.cos, slack);
    if (((x1 - x) | (y1 - y)) == 0) {
        records.Note(slack);
        return; // rounds to nothing: neither tip nor children
    }
    double gx = DeviceXOf(x, walker.width), gy = DeviceYOf(y, walker.height);
    int fifths =
        FromStart ? ShownFifthsFromStart(step, walker.growth) : ShownFifths(step, walker.growth);
    for (;;) {
        double gx1 = DeviceXOf(x1, walker.width), gy1 = DeviceYOf(y1, walker.height);
        if (fifths != 5) {
            DrawPair(gx, gy, TipOf(gx, gx1, fifths), TipOf(gy, gy1, fifths));
            records.Cut();
            return;
        }
        DrawPair(gx, gy, gx1, gy1);
        records.Add(x, y, x1, y1, step);
        if (step == walker.growth) {
            records.Cut();
            return;
        }

        // Branch points come from the rounded segment, not from its length.
        // Side 1 mirrors side 0: the turns change sign, a - t being a + (-t).
        int dx = x1 - x, dy = y1 - y;
        double farLength = length * 0.3333333333333333;
        double nearLength = length * 0.4;
        int mirror = side == 0 ? -1 : 1;
        side = side != 0;
        bool farShort = TooShort(farLength, slack);
        bool nearShort = TooShort(nearLength, slack);
        records.Note(slack);
        if (!farShort)
            Branch(walker, x + FarAlong(dx), y + FarAlong(dy), farLength, angle + 55 * mirror,
                   step + 1, 1 - side);
        if (!nearShort)
            Branch(walker, x + NearAlong(dx), y + NearAlong(dy), nearLength, angle - 45 * mirror,
                   step + 1, side);

        // The stem continues in this loop, so a long stem does not nest calls.
        ++step;
        length = length * 0.8125;
        slack = 1.0;
        if (TooShort(length, slack)) {
            records.Note(slack);
            return;
        }
        angle = angle + 5 * mirror;
        x = x1;
        y = y1;
        gx = gx1;
        gy = gy1;
        turn = TurnOf(angle);
        x1 = x + Round(length * turn.sin, slack);
        y1 = y - Round(length * turn.cos, slack);
        if (((x1 - x) | (y1 - y)) == 0) {
            records.Note(slack);
            return;
        }
        fifths = ShownFifthsFromStart(step, walker.growth);
    }
}

bool tablesReady = false;

} // namespace

void DrawTip(int x0, int y0, int x1, int y1, int fifths) {
    double gx0 = DeviceX(x0, screenWidth), gy0 = DeviceY(y0, screenHeight);
    double gx1 = DeviceX(x1, screenWidth), gy1 = DeviceY(y1, screenHeight);
    DrawPair(gx0, gy0, TipOf(gx0, gx1, fifths), TipOf(gy0, gy1, fifths));
}

void DrawBranch(int x, int y, double length, double angle, int step, int side) {
    if (!tablesReady) {
        FillTables();
        tablesReady = true;
    }
    FillDevice(screenWidth, screenHeight);
    if (TooShort(length))
        return;
    Walker walker{growthTicks, static_cast<double>(screenWidth), static_cast<double>(screenHeight),
                  Records()};
    if (std::fabs(angle) < 1073741824.0 && angle == static_cast<int>(angle))
        Walk<int, false>(walker, x, y, length, static_cast<int>(angle), step, side);
    else
        Walk<double, false>(walker, x, y, length, angle, step, side);
}
