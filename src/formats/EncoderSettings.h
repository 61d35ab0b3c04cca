#pragma once

namespace kelvane {

// The settings of the compressed types written through libsndfile. One table of keys serves
// the profile, the Options dialogs and kelvane-batch's --subformat.
struct EncoderSettings {
    int flacLevel = 5;      // 0 (fastest) to 8 (smallest)
    int vorbisQuality = 5;  // 0 to 10
    int opusBitrate = 128;  // kbit/s for the whole stream
    int mp3Vbr = 1;         // 1: variable bit rate at mp3Quality; 0: constant at mp3Bitrate
    int mp3Quality = 2;     // 0 (best) to 9
    int mp3Bitrate = 192;   // kbit/s
};

struct EncoderKey {
    const char* key;
    int EncoderSettings::*field;
    int fallback;
    int low;
    int high;
};

inline constexpr EncoderKey kEncoderKeys[] = {
    {"FLACLEVEL", &EncoderSettings::flacLevel, 5, 0, 8},
    {"VORBISQUALITY", &EncoderSettings::vorbisQuality, 5, 0, 10},
    {"OPUSBITRATE", &EncoderSettings::opusBitrate, 128, 6, 256},
    {"MP3VBR", &EncoderSettings::mp3Vbr, 1, 0, 1},
    {"MP3QUALITY", &EncoderSettings::mp3Quality, 2, 0, 9},
    {"MP3BITRATE", &EncoderSettings::mp3Bitrate, 192, 32, 320},
};

// Where the editor keeps them in its profile.
inline constexpr char kEncoderSection[] = "ENCODERS";

}  // namespace kelvane
