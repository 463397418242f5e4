// Subtrees repeat. A subtree's pixels relative to its start follow from its
// length, angle and side alone, and its pairs' doubles from those pixels, so
// within one draw the first walk of a small subtree is recorded as pixel
// offsets, and a later subtree with the same key is drawn from the record
// when growthTicks reaches none of its sub-steps.
#pragma once

#include <cstring>

namespace walk {

constexpr double smallLength = 8.0; // such subtrees stay within a signed byte

struct Stroke {
    signed char x0, y0, x1, y1; // pixels from the subtree's start
};

struct Shape {
    unsigned long long lengthBits;
    int angle;
    unsigned draw;    // the draw it was recorded in
    int first, count; // its strokes
    int lastStep;     // the last sub-step of its deepest segment, from its first
    unsigned char side;
    bool whole; // nothing cut by growthTicks, every stroke kept
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

// What one draw records.
struct Records {
    Shape* recording = nullptr; // the one subtree being recorded, if any
    int baseX = 0, baseY = 0, baseStep = 0;
    int usedStrokes = 0;

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
               slot.side == side && slot.whole && &slot != recording;
    }
    bool Taken(const Shape& slot) const { return slot.draw == draw; }

    void Begin(Shape& slot, double length, int angle, int side, int x, int y, int step);
    void End() { recording = nullptr; }
    // A segment drawn whole at its last sub-step, in pixels.
    void Add(int x0, int y0, int x1, int y1, int step) {
        if (recording)
            Keep(x0 - baseX, y0 - baseY, x1 - baseX, y1 - baseY, step - baseStep);
    }
    // A tip or a segment that growthTicks ends: the record fits only this growth.
    void Cut() {
        if (recording)
            recording->whole = false;
    }
    // Adds a replayed record, drawn at (x, y) from `step`, to the one being made.
    void AddRecord(const Shape& shape, int x, int y, int step);

    const Stroke* StrokesOf(const Shape& shape) const { return strokes + shape.first; }

  private:
    void Keep(int x0, int y0, int x1, int y1, int lastStep);
    unsigned draw;
};

} // namespace walk
