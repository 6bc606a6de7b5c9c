#pragma once
// A 640x480 source frame and a destination placed at chosen offsets within
// their memory pages, so that a copy or conversion is measured in a layout
// chosen on purpose, not wherever the allocator happens to put the buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace placed_frame {

inline constexpr int32_t kWidth = 640;
inline constexpr int32_t kHeight = 480;
inline constexpr size_t kPageBytes = 4096;

// Where the destination lies against the source, which starts a page.
struct Layout {
    const char* name;
    size_t destinationPageOffset;
};
// Some copy routines slow down badly when source and destination lie at the
// same offset in their pages; the other layout keeps them half a page and a
// cache line apart.
inline constexpr Layout kLayouts[] = {{"same_page_offset", 0}, {"other_page_offset", 2048 + 64}};

// Words of memory of which `bytes` start at pageOffset within a page.
class PageBuffer {
public:
    PageBuffer(size_t bytes, size_t pageOffset) : storage((bytes + 2 * kPageBytes) / 4) {
        const auto address = reinterpret_cast<uintptr_t>(storage.data());
        const size_t toPage = (kPageBytes - address % kPageBytes) % kPageBytes;
        start = storage.data() + (toPage + pageOffset) / 4;
    }
    uint32_t* words() { return start; }

private:
    std::vector<uint32_t> storage;
    uint32_t* start;
};

// The source frame, filled with varied pixels, and a destination of
// destinationBytes in the layout's place.
struct Frames {
    PageBuffer source{size_t{kWidth} * kHeight * 4, 0};
    PageBuffer destination;
    Frames(const Layout& layout, size_t destinationBytes)
        : destination(destinationBytes, layout.destinationPageOffset) {
        uint32_t* pixels = source.words();
        for (size_t i = 0; i < size_t{kWidth} * kHeight; ++i)
            pixels[i] = static_cast<uint32_t>(i * 2654435761u);
        uint32_t* out = destination.words();
        for (size_t i = 0; i < destinationBytes / 4; ++i) out[i] = 0;
    }
};

}  // namespace placed_frame
