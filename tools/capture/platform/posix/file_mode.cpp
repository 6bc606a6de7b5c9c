// POSIX version of outputFileMode: the user's umask, read by setting it and
// putting it back.
#include <sys/stat.h>

#include "output_paths.h"

unsigned outputFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}
