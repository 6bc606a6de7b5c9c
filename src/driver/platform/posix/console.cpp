#include "driver/console.h"

void prepareConsole() {}
