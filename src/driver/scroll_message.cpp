#include "driver/scroll_message.h"

// Placeholder until the real message is written: 545 characters of the allowed set.
const char kScrollMessage[] =
    "       hello and welcome to this little demo. the grid waves and the flares shine while the music plays. "
    "stay a while and enjoy the show. this text is a placeholder that keeps to the rules of the scroller "
    "which draws only lower case letters and a few marks such as the dash - the brackets () and the bang ! "
    "so that every glyph has a cell in the font sheet. the grid comes apart after forty seconds and the wave "
    "turns strong at one minute. thank you for watching and have a good day. see you in the next one..... ";
const char kCodeCreditLine[] = "Code:    Vak (vak@example.org)\n";
const char kSoundCreditLine[] = "Sound:   Orlim (https://orlim.example.org)\n\nSave the cowees\n";
