#pragma once
// The soundtrack's pitched instruments as tone designs: how each one's
// harmonics move from the onset into the held part of the note.
#include "tone_synth.h"

namespace assetgen {

ToneDesign leadDesign();
ToneDesign echoDesign();
ToneDesign pluckDesign();
ToneDesign padDesign();
ToneDesign bassDesign();

}  // namespace assetgen
