#pragma once
// How many bytes an XM module's own headers say the file holds: the header,
// each pattern's header and packed data, each instrument's header, sample
// headers and sample data. A player loads a shorter file all the same and
// plays silence where the bytes are missing; this finds such a file.
#include <cstddef>
#include <cstdint>

struct XmExtent {
    bool isXm = false;           // starts with the XM signature
    bool complete = false;       // every declared part lies within the file
    uint64_t declaredBytes = 0;  // when incomplete: at least this many
    // Header fields read on the way: each lies further on than the one
    // before or ends the walk, so never more than a few per byte of the file.
    uint64_t fieldsRead = 0;
};

XmExtent measureXmExtent(const unsigned char* bytes, size_t size);

// One line naming a module whose file is shorter than its headers declare,
// without line end; empty when the module is whole or not an XM file.
void describeShortModule(const char* name, const XmExtent& extent, size_t size, char* line, size_t lineSize);
