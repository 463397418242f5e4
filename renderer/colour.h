// One step along the 1530-colour wheel through the six saturated colours.
#pragma once

void StepColour();
