#pragma once
// The one renderer of the music: a module opened from its bytes by
// libopenmpt and rendered from its start as 16-bit stereo at 44.1 kHz, at a
// music volume, with its position counted in stereo frames. The sound
// library's audio callback and the capture's soundtrack are two front ends
// over it, so both hand on the same samples.
//
// libopenmpt's output can differ in the last bit with the sizes of the
// blocks it is asked for, so the module is always read in blocks of one
// fixed size and requests of any size are served from the last block: the
// samples depend only on the position, never on how the calls cut it up.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/sample_format.h"

struct openmpt_module;

enum class ModuleLoadError { None, UnknownFormat, OutOfMemory };

class ModuleRenderer {
public:
    static constexpr size_t kBlockFrames = 4096;

    ModuleRenderer() = default;
    ~ModuleRenderer();
    ModuleRenderer(const ModuleRenderer&) = delete;
    ModuleRenderer& operator=(const ModuleRenderer&) = delete;

    // Opens the module from its bytes (libopenmpt keeps a copy of its own);
    // it loops forever. False with the reason in error() and, where
    // libopenmpt gave one, its text in errorText().
    bool load(const void* bytes, size_t size);

    // Back to the start of the song.
    void rewind();

    // Renders frameCount interleaved stereo frames at volume (255 full, 0
    // and below silent) and moves the position on by as many.
    void render(int16_t* interleaved, size_t frameCount, int32_t volume);

    // Stereo frames rendered since the load or the last rewind.
    int64_t position() const { return rendered; }
    // Whether any sample rendered so far, before the volume, was not silent.
    bool heardSound() const { return sound; }

    ModuleLoadError error() const { return failure; }
    const std::string& errorText() const { return failureText; }

private:
    void readBlock();

    openmpt_module* module = nullptr;
    std::array<int16_t, kBlockFrames * kChannels> block{};
    size_t blockFrames = 0;  // frames in block
    size_t blockUsed = 0;    // frames of block already handed on
    int64_t rendered = 0;
    bool sound = false;
    ModuleLoadError failure = ModuleLoadError::None;
    std::string failureText;
};
