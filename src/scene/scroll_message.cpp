#include "scene/scroll_message.h"

// The scroller has glyphs for lower-case letters and . - ! ( ) only; a space
// draws nothing and keeps its place. 545 characters, 7 spaces first, so the
// text enters from the right a moment after the show starts.
const char kScrollMessage[] =
    "       hello there and welcome to qzt dmbl - a little demo made with love and a software renderer. "
    "you are looking at a world seen from space while a waving grid of lines and light flares floats above it. "
    "after forty seconds the grid starts to fall apart one point at a time and at one minute the wave turns "
    "strong... the music is a tracker module composed in code (every drum and every pad is made of numbers). "
    "greetings go to you the viewer and to everybody who still loves demos!! "
    "sit back relax and enjoy the show - see you in the next demo!";
const char kCodeCreditLine[] = "Code:    Vak (vak@example.org)\n";
const char kSoundCreditLine[] = "Sound:   Orlim (http://orlim.example.org)\n\nSave the cowees\n";
