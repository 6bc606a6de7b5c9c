#pragma once
// The audio output shared by the library's functions: SDL's default device,
// the song its callback plays and the code of the last failure.
struct FMUSIC_MODULE;

// The codes this library reports through FSOUND_GetError.
enum SoundError : int {
    kSoundOk = 0,
    kSoundAlreadyInitialised = 1,
    kSoundNotInitialised = 2,
    kSoundOutputFailed = 3,
    kSoundFileNotFound = 9,
    kSoundUnknownFormat = 10,
    kSoundLoadFailed = 11,
    kSoundOutOfMemory = 12,
    kSoundInvalidParameter = 15,
};

void setSoundError(int code);
bool soundOutputOpen();

// Holds the audio callback off while it exists (SDL's device lock), so the
// song it plays can be changed or rewound.
class OutputLock {
public:
    OutputLock();
    ~OutputLock();
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;
};

// The song the callback renders, nullptr for silence. Only under OutputLock.
FMUSIC_MODULE* playingSong();
void setPlayingSong(FMUSIC_MODULE* song);

// Makes sure the output is closed at process exit before the libraries'
// static objects go away; see the definition.
void guardOutputAtExit();
