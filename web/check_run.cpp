#include "check_run.h"

#include <algorithm>
#include <charconv>

#include "frame_schedule.h"
#include "sha256.h"

namespace {

constexpr int32_t kMaxFrameNumber = 1000 * 1000 * 1000;

bool parseNumber(std::string_view text, int32_t& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end && value >= 0;
}

bool parseFrameList(std::string_view text, std::vector<int32_t>& frames) {
    frames.clear();
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string_view item =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        int32_t frame = 0;
        if (!parseNumber(item, frame) || frame > kMaxFrameNumber) return false;
        frames.push_back(frame);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return true;
}

}  // namespace

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
        if (key == "fps") {
            if (!parseNumber(value, request.fps) || request.fps < kMinCaptureFps ||
                request.fps > kMaxCaptureFps) {
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
    return true;
}

std::string frameSha256(const Image& frame) {
    const size_t count = static_cast<size_t>(frame.getWidth()) * static_cast<size_t>(frame.getHeight());
    std::vector<uint8_t> bytes(count * 4);
    const uint32_t* pixels = frame.getPixels();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t word = pixels[i];
        bytes[4 * i] = static_cast<uint8_t>(word);
        bytes[4 * i + 1] = static_cast<uint8_t>(word >> 8);
        bytes[4 * i + 2] = static_cast<uint8_t>(word >> 16);
        bytes[4 * i + 3] = static_cast<uint8_t>(word >> 24);
    }
    return assetgen::sha256Hex(bytes);
}

CheckRun::CheckRun(Show& show, CheckRequest request) : show(show), request(std::move(request)) {}

bool CheckRun::done() const { return ended || hashes.size() == request.frames.size(); }

bool CheckRun::advance(int32_t maxFrames) {
    for (int32_t n = 0; n < maxFrames && !done(); ++n) {
        const ShowStep step = show.step(frameReading(nextFrame, request.fps));
        if (step.action == ShowAction::Stop) {
            ended = true;
            break;
        }
        if (nextFrame == request.frames[hashes.size()]) hashes.push_back(frameSha256(show.frame()));
        ++nextFrame;
    }
    return done();
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
