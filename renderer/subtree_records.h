// Subtrees repeat. A subtree's pixels relative to its start follow from its
// length, angle and side alone, and its pairs' doubles from those pixels, so
// within one draw the first walk of a small subtree is recorded as pixel
// offsets, and a later subtree with the same key is drawn from the record
// when growthTicks reaches none of its sub-steps. Records nest: a subtree
// recorded inside a larger one is a run of the larger one's strokes.
//
// Lengths that differ in their last bits, from multiplying in another order,
// draw the same pixels unless some rounding or comparison in the subtree falls
// that close to where it would change. Each record notes how close its
// closest one came (its slack), and serves such near lengths only when that
// is far enough.
#pragma once

#include <cstring>

namespace walk {

// A subtree shorter than this stays within a signed byte of its start: each
// segment is at most 0.8125 of the one it grows from, so a path from the start
// is under 16 / (1 - 0.8125) < 86 pixels long, and rounding adds at most half
// a pixel to each of its fewer than 18 segments (none is under half a pixel).
constexpr double smallLength = 16.0;

// Near lengths: the same sign and binade, and the same bits but the last 12,
// so they differ by less than 2^-40 of themselves. Every value a subtree
// compares or rounds is under 16 and comes from its length through at most 18
// multiplications (each segment is at most 0.8125 of its parent and none
// under half a pixel is walked), each off by at most 2^-53, so a near length
// moves each value by under 16 * (2^-40 + 36 * 2^-53) < nearDrift.
constexpr int nearBits = 12;
constexpr double nearDrift = 1.5e-11;

struct Stroke {
    signed char x0, y0, x1, y1; // pixels from the outermost record's start
};

struct Shape {
    unsigned long long lengthBits;
    int angle;
    unsigned draw;    // the draw it was recorded in
    int first, count; // its strokes
    int lastStep;     // the last sub-step of its deepest segment, from its first
    int x, y;         // its start, from the outermost record's start
    unsigned char side;
    bool whole; // complete, nothing cut by growthTicks, every stroke kept
    // How close its closest rounding or comparison came to changing; near
    // lengths are drawn from it too when that exceeds nearDrift.
    double slack;
};

// Fixed storage, which each draw starts over.
constexpr int strokeCount = 1 << 17;
constexpr int shapeCount = 1 << 14;
extern Stroke strokes[strokeCount];
extern Shape shapes[shapeCount];

inline unsigned long long BitsOf(double length) {
    unsigned long long bits;
    std::memcpy(&bits, &length, sizeof bits);
    return bits;
}

// What an enclosing record had gathered when a nested one began.
struct Mark {
    int deepest;
    bool cut;
    double slack;
};

// What one draw records.
struct Records {
    int open = 0;             // records being made, nested
    int baseX = 0, baseY = 0; // the outermost one's start
    int usedStrokes = 0;
    int deepest = 0;    // the last sub-step kept since the innermost began
    bool cut = false;   // whether anything since then was cut or not kept
    double slack = 1.0; // the closest any decision since then came to changing

    Records(); // begins a draw: earlier records no longer count

    // The slot for a key, near lengths sharing one; Recorded tells whether it
    // holds a record that draws that key.
    Shape& Slot(double length, int angle, int side) const {
        unsigned long long bits = BitsOf(length) >> nearBits;
        unsigned long long h =
            (bits ^ (bits >> 29) ^ (static_cast<unsigned>(angle) * 0x9E3779B1ull) ^
             (static_cast<unsigned long long>(side) << 40)) *
            0xD6E8FEB86659FD93ull;
        return shapes[(h >> 40) % shapeCount];
    }
    bool Recorded(const Shape& slot, double length, int angle, int side) const {
        unsigned long long bits = BitsOf(length);
        return slot.draw == draw && (slot.lengthBits >> nearBits) == (bits >> nearBits) &&
               slot.angle == angle && slot.side == side && slot.whole &&
               (slot.lengthBits == bits || slot.slack > nearDrift);
    }
    bool Taken(const Shape& slot) const { return slot.draw == draw; }

    Mark Begin(Shape& slot, double length, int angle, int side, int x, int y, int step);
    void End(Shape& slot, int step, Mark mark);
    // A segment drawn whole at its last sub-step, in pixels.
    void Add(int x0, int y0, int x1, int y1, int step) {
        if (!open)
            return;
        if (usedStrokes == strokeCount) {
            cut = true; // out of room: these records are never replayed
            return;
        }
        strokes[usedStrokes++] =
            Stroke{static_cast<signed char>(x0 - baseX), static_cast<signed char>(y0 - baseY),
                   static_cast<signed char>(x1 - baseX), static_cast<signed char>(y1 - baseY)};
        if (step > deepest)
            deepest = step;
    }
    // A tip or a segment that growthTicks ends: the records fit only this growth.
    void Cut() { cut = true; }
    // Decisions made since the last note came within `closest` of changing.
    void Note(double closest) { slack = closest < slack ? closest : slack; }
    // Adds a replayed record, drawn at (x, y) from `step` for `length`, to the
    // ones being made.
    void AddRecord(const Shape& shape, double length, int x, int y, int step);

    const Stroke* StrokesOf(const Shape& shape) const { return strokes + shape.first; }

  private:
    unsigned draw;
};

} // namespace walk
