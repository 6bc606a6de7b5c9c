#include "scene/frame_list.h"

#include <algorithm>
#include <charconv>

bool parseWholeNumber(std::string_view text, int32_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end;
}

bool parseFrameList(std::string_view text, std::vector<int32_t>& frames) {
    frames.clear();
    for (;;) {
        const size_t comma = text.find(',');
        int32_t frame = 0;
        if (!parseWholeNumber(text.substr(0, comma), frame)) return false;
        frames.push_back(frame);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return true;
}
