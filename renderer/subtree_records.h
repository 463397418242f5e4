// Subtrees repeat. A subtree's pixels relative to its start follow from its
// length, angle and side alone, and its pairs' doubles from those pixels, so
// within one draw the first walk of a small subtree is recorded as pixel
// offsets, and a later subtree with the same key is drawn from the record
// when growthTicks reaches none of its sub-steps. Records nest: a subtree
// recorded inside a larger one is a run of the larger one's strokes.
#pragma once

#include <cstring>

namespace walk {

// A subtree shorter than this stays within a signed byte of its start: each
// segment is at most 0.8125 of the one it grows from, so a path from the start
// is under 16 / (1 - 0.8125) < 86 pixels long, and rounding adds at most half
// a pixel to each of its fewer than 18 segments (none is under half a pixel).
constexpr double smallLength = 16.0;

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
};

// What one draw records.
struct Records {
    int open = 0;             // records being made, nested
    int baseX = 0, baseY = 0; // the outermost one's start
    int usedStrokes = 0;
    int deepest = 0;  // the last sub-step kept since the innermost began
    bool cut = false; // whether anything since then was cut or not kept

    Records(); // begins a draw: earlier records no longer count

    // The slot for a key; Recorded tells whether it holds that key's record.
    Shape& Slot(double length, int angle, int side) const {
        unsigned long long bits = BitsOf(length);
        unsigned long long h =
            (bits ^ (bits >> 29) ^ (static_cast<unsigned>(angle) * 0x9E3779B1ull) ^
             (static_cast<unsigned long long>(side) << 40)) *
            0xD6E8FEB86659FD93ull;
        return shapes[(h >> 40) % shapeCount];
    }
    bool Recorded(const Shape& slot, double length, int angle, int side) const {
        return slot.draw == draw && slot.lengthBits == BitsOf(length) && slot.angle == angle &&
               slot.side == side && slot.whole;
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
    // Adds a replayed record, drawn at (x, y) from `step`, to the ones being made.
    void AddRecord(const Shape& shape, int x, int y, int step);

    const Stroke* StrokesOf(const Shape& shape) const { return strokes + shape.first; }

  private:
    unsigned draw;
};

} // namespace walk
