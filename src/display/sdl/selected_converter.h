#pragma once
// The RowConverter that displayInit chose for the display's pixel format,
// nullptr before then. Each back end supplies it, for test programs.
#include "display/converters.h"

RowConverter displaySelectedConverter();
