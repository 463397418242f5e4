#include "colour.h"

#include "animation.h"

// Exactly one rule matches a colour on the wheel: the one that leaves the
// corner it stands on. A colour off the wheel stays as it is.
void StepColour() {
    Colour& c = drawColour;
    if (c.red < 255 && c.green == 255 && c.blue == 0)
        ++c.red;
    else if (c.red == 255 && c.green > 0 && c.blue == 0)
        --c.green;
    else if (c.red == 255 && c.green == 0 && c.blue < 255)
        ++c.blue;
    else if (c.red > 0 && c.green == 0 && c.blue == 255)
        --c.red;
    else if (c.red == 0 && c.green < 255 && c.blue == 255)
        ++c.green;
    else if (c.red == 0 && c.green == 255 && c.blue > 0)
        --c.blue;
}
