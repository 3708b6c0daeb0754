#pragma once
#include <cstdint>

// What the status listeners see of the player: written by the player on the user-interface
// thread and sampled by the status watch thread, both under PlayerStatusLock.
struct PlayerStatusBlock {
    int state = 0;                 // PlayState: 0 stopped, 1 playing, 2 paused, 3 open error
    float position = 0;            // seconds
    float length = 0;              // seconds
    int64_t lengthBytes = 0;
    int64_t positionBytes = 0;
    int levelLeft = 0;             // 0-32768
    int levelRight = 0;            // 0-32768
    float spectrum[1024] = {};     // magnitudes of a 2048-sample FFT
};

enum PlayState { PlayStateStopped = 0, PlayStatePlaying = 1, PlayStatePaused = 2, PlayStateOpenError = 3 };

// Copies every field, the spectrum included.
void CopyPlayerStatusBlock(const PlayerStatusBlock& source, PlayerStatusBlock& target);

// A status listener: called with a copy of the block on every divider-th tick of the watch
// thread, and once at every state change. It runs on the watch thread or the user-interface
// thread and must only copy and post.
typedef void (*PlayerStatusCallback)(const PlayerStatusBlock* status, void* user);

struct PlayerCallbackEntry {
    PlayerStatusCallback callback = nullptr;
    void* user = nullptr;
    int divider = 1;               // at least 1
};
