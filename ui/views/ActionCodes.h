#pragma once

// The codes of the actions that hot keys, tray clicks and "LarkRunCommandMsg" run.
enum ActionCode {
    ActionNone = 0,
    ActionShowWindow = 10,
    ActionToggleMinimized = 11,
    ActionShowCoverWindow = 12,
    ActionToggleCoverWindow = 13,
    ActionShowLyricsWindow = 14,
    ActionToggleLyricsWindow = 15,
    ActionShowBalloon = 16,
    ActionFocusQueryTree = 17,
    ActionFocusGroupView = 18,
    ActionFocusPlaylist = 19,
    ActionFocusInfoPane = 20,
    ActionFocusSearch = 21,
    ActionPlaybackMenu = 22,
    ActionStop = 30,
    ActionPlayPause = 31,
    ActionPrevious = 32,
    ActionNext = 33,
    ActionSeekStart = 34,
    ActionSeekBack = 35,
    ActionSeekForward = 36,
    ActionVolumeUp = 37,
    ActionVolumeDown = 38,
    ActionMute = 39,
    ActionEqualizer = 40,
    ActionModeSingle = 41,
    ActionModeSingleRepeat = 42,
    ActionModeListRepeat = 43,
    ActionModeList = 44,
    ActionModeRandom = 45,
    ActionModeCycle = 46,
    ActionTriggerStart = 47,
    ActionTriggerStop = 48,
    ActionQueryBack = 70,
    ActionQueryForward = 71,
};

// True for a code the dispatcher performs: 0, 20 and every action a hot key can run.
bool IsActionCode(int code);
