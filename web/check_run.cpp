#include "check_run.h"

#include "raster/frame_bytes.h"
#include "scene/frame_clock.h"
#include "scene/frame_list.h"
#include "sha256.h"

bool parseCheckRequest(std::string_view fragment, CheckRequest& request, std::string& error) {
    if (!fragment.empty() && fragment.front() == '#') fragment.remove_prefix(1);
    bool haveFps = false;
    bool haveFrames = false;
    size_t start = 0;
    while (start <= fragment.size()) {
        size_t end = fragment.find('&', start);
        if (end == std::string_view::npos) end = fragment.size();
        const std::string_view pair = fragment.substr(start, end - start);
        const size_t equals = pair.find('=');
        const std::string_view key = pair.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
        if ((key == "fps" && haveFps) || (key == "frames" && haveFrames)) {
            error = std::string(key) + "= given twice";
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
