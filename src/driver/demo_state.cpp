#include "driver/demo_state.h"

int32_t musicTime = 0;
double spinAngle = 1.0;
double rowPhase = 1.0;
char scrollText[kScrollTextSize] = {};
