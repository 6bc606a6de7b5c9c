#include "sound/module_renderer.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>

namespace {

constexpr int32_t kRepeatForever = -1;

}  // namespace

ModuleRenderer::~ModuleRenderer() {
    if (module != nullptr) openmpt_module_destroy(module);
}

bool ModuleRenderer::load(const void* bytes, size_t size) {
    if (module != nullptr) openmpt_module_destroy(module);
    int error = OPENMPT_ERROR_OK;
    const char* text = nullptr;
    module = openmpt_module_create_from_memory2(bytes, size, openmpt_log_func_silent, nullptr,
                                                openmpt_error_func_store, nullptr, &error, &text, nullptr);
    failureText = text != nullptr ? text : "";
    openmpt_free_string(text);
    if (module == nullptr) {
        failure = error == OPENMPT_ERROR_OUT_OF_MEMORY ? ModuleLoadError::OutOfMemory
                                                       : ModuleLoadError::UnknownFormat;
        if (failureText.empty()) failureText = "unknown format";
        return false;
    }
    failure = ModuleLoadError::None;
    openmpt_module_set_repeat_count(module, kRepeatForever);
    // libopenmpt dithers its 16-bit output with random noise by default;
    // without it every rendering of the song gives the same samples.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    rewind();
    return true;
}

void ModuleRenderer::rewind() {
    openmpt_module_set_position_seconds(module, 0.0);
    blockFrames = 0;
    blockUsed = 0;
    rendered = 0;
    sound = false;
}

// A song that ends (it should not, it loops) leaves silence behind.
void ModuleRenderer::readBlock() {
    const size_t got =
        openmpt_module_read_interleaved_stereo(module, kSampleRate, kBlockFrames, block.data());
    std::fill(block.begin() + static_cast<ptrdiff_t>(got * kChannels), block.end(), int16_t{0});
    if (!sound) sound = std::any_of(block.begin(), block.end(), [](int16_t s) { return s != 0; });
    blockFrames = kBlockFrames;
    blockUsed = 0;
}

void ModuleRenderer::render(int16_t* interleaved, size_t frameCount, int32_t volume) {
    while (frameCount > 0) {
        if (blockUsed == blockFrames) readBlock();
        const size_t count = std::min(frameCount, blockFrames - blockUsed);
        const int16_t* from = block.data() + blockUsed * kChannels;
        if (volume == kFullVolume) {
            std::copy_n(from, count * kChannels, interleaved);
        } else {
            for (size_t i = 0; i < count * kChannels; ++i) interleaved[i] = applyVolume(from[i], volume);
        }
        interleaved += count * kChannels;
        frameCount -= count;
        blockUsed += count;
        rendered += static_cast<int64_t>(count);
    }
}
