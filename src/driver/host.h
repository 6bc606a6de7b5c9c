#pragma once
// The start-up and the closing that every host of the show shares, the demo
// programs and the web page: the console texts in their order, the images,
// the music's start and the credits.
#include "driver/music.h"

class Show;

inline constexpr char kInitDisplayText[] = "\n init DirextX ...\n";
inline constexpr char kDisplayFailedText[] = "\n DirectX Suxxs !!!\n";
inline constexpr char kGoText[] = "\n Go..............\n";

// Writes a text to standard output and flushes it.
void say(const char* text);

// The banner, "loading data" and the four images; any loader message is
// flushed before the next text.
void loadShow(Show& show);

// "loading sound" and the music's start; a failure is reported, not printed.
MusicStart startShowMusic();

// The end of the timeline: the song freed, the sound system closed, the credits.
void closeShow(FMUSIC_MODULE* song);
