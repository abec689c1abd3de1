#pragma once
// Records a message of a given length from a picture source, a sound source and timed
// captions: a picture about every 33 ms (30 a second), a sound record as each 200-ms buffer
// completes, each caption at its moment. Everything goes through one VmiWriter.
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "videomail/MediaSources.h"

struct TimedCaption {
    int atMs = 0;
    std::string utf8;  // empty: the caption is cleared
};

struct RecordingPlan {
    int lengthMs = 0;
    VideoSource* video = nullptr;  // none: no pictures
    AudioSource* audio = nullptr;  // none: no sound
    std::vector<TimedCaption> captions;
};

// The message Record writes when the file cannot be created.
extern const char* const kRecordFailedText;
extern const char* const kRecordFailedTitle;

// Writes the message; false when the file cannot be created or written.
bool Record(const std::string& path, const RecordingPlan& plan, Clock& clock);
