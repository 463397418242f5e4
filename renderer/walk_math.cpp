#include "walk_math.h"

namespace walk {

Turn turns[turnCount];

void FillTurns() {
    for (int i = 0; i < turnCount; ++i)
        turns[i] = TurnOf(static_cast<double>(i + turnLow));
}

} // namespace walk

int RoundHalfUp(double value) {
    double below = std::floor(value);
    double fraction = value - below;
    return static_cast<int>(fraction >= 0.5 ? std::ceil(value) : below);
}
