#include "check_run.h"

#include "raster/frame_bytes.h"
#include "scene/frame_clock.h"
#include "scene/frame_list.h"
#include "sha256.h"

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%2C" and the like become their bytes, as a browser's URL parser reads
// them. False on a '%' without two hex digits after it.
bool percentDecode(std::string_view text, std::string& decoded) {
    decoded.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? hexDigitValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) return false;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

}  // namespace

bool parseCheckRequest(std::string_view fragment, CheckRequest& request, std::string& error) {
    if (!fragment.empty() && fragment.front() == '#') fragment.remove_prefix(1);
    bool haveFps = false;
    bool haveFrames = false;
    size_t start = 0;
    while (!fragment.empty() && start <= fragment.size()) {
        size_t end = fragment.find('&', start);
        if (end == std::string_view::npos) end = fragment.size();
        const std::string_view pair = fragment.substr(start, end - start);
        const size_t equals = pair.find('=');
        const std::string_view rawValue =
            equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
        std::string key;
        std::string value;
        if (!percentDecode(pair.substr(0, equals), key) || !percentDecode(rawValue, value)) {
            error = "'" + std::string(pair) + "' has a '%' without two hex digits after it";
            return false;
        }
        // The page's own key "play" means nothing to the check; anything else is a mistake.
        if (key != "fps" && key != "frames" && !(key == "play" && equals == std::string_view::npos)) {
            error = pair.empty()
                        ? std::string("an empty part (a doubled, leading or trailing '&')")
                        : "unknown part '" + std::string(pair) + "': the check takes frames= and fps=";
            return false;
        }
        if ((key == "fps" && haveFps) || (key == "frames" && haveFrames)) {
            error = key + "= given twice";
            return false;
        }
        if (key == "fps") {
            if (!parseWholeNumber(value, request.fps) || request.fps < kMinFrameRate ||
                request.fps > kMaxFrameRate) {
                error = "fps must be a number from 1 to 1000";
                return false;
            }
            haveFps = true;
        } else if (key == "frames") {
            if (!parseFrameList(value, request.frames)) {
                error = "frames must be a list of frame numbers such as 0,2600,6000";
                return false;
            }
            haveFrames = true;
        }
        start = end + 1;
    }
    if (!haveFrames || !haveFps) {
        error = "the check needs frames=K1,K2,... and fps=N";
        return false;
    }
    // The same range as demo_capture's --only.
    error = frameOutsideTimeline(request.frames.back(), request.fps);
    return error.empty();
}

std::string frameSha256(const Image& frame) {
    std::vector<uint8_t> scratch(littleEndianByteCount(frame));
    return sha256Hex(littleEndianBytes(frame, scratch.data()), scratch.size());
}

CheckRun::CheckRun(Show& show, CheckRequest request)
    : show(show), request(std::move(request)), clock(this->request.fps) {}

bool CheckRun::done() const { return ended || hashes.size() == request.frames.size(); }

bool CheckRun::advance(int32_t maxFrames) {
    for (int32_t n = 0; n < maxFrames && !done(); ++n) {
        ended = runFrame(show, clock, *this) == FrameResult::TimelineOver;
    }
    return done();
}

bool CheckRun::present(const Image& frame) {
    if (presented == request.frames[hashes.size()]) hashes.push_back(frameSha256(frame));
    ++presented;
    return true;
}

std::string CheckRun::report() const {
    std::string lines;
    for (size_t i = 0; i < request.frames.size(); ++i) {
        lines += std::to_string(request.frames[i]);
        lines += ' ';
        lines += i < hashes.size() ? hashes[i] : std::string(ended ? "none" : "pending");
        lines += '\n';
    }
    return lines;
}
