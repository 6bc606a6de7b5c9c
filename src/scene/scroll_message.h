#pragma once
// The demo's built-in texts: the scroll message and the two credit lines.

// 545 characters: lower-case letters, spaces and . - ! ( ) only.
extern const char kScrollMessage[];
// "Code:    Vak (...)\n"
extern const char kCodeCreditLine[];
// "Sound:   Orlim (...)\n\nSave the cowees\n"
extern const char kSoundCreditLine[];
