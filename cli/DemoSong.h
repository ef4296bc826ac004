#pragma once
// The music that `varnex render` plays through the plug-in when no input
// file is given: four bars of a rock groove at 120 beats per minute, made
// in code so that the program needs no audio file. Plucked bass and
// strummed chords (Karplus-Strong strings) over kick, snare and hi-hats,
// levelled like a finished record (peaks at -2 dBFS, about -12 dBFS RMS):
// clean at unity gain, so that the drive decides how much of it clips.
// The same sample rate always gives the same samples.

#include "cli/StereoAudio.h"

// About 9 seconds: four bars of music and a second of ringing out.
StereoBuffer synthesizeDemoSong(double sampleRate = 44100.0);

// The loudest sample of the song, in either channel.
constexpr float DemoPeakLevel = 0.8f;
