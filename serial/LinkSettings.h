#pragma once

class CIniFile;

// How the receive decides that a reply is over.
struct CLinkSettings {
    unsigned silenceMs = 9000;       // silence that ends a reply
    bool endOnCompleteFrame = true;  // end a reply as soon as it forms one complete frame
};

// The SERIAL key END_ON_FRAME = 0 restores the pure silence rule; any other value or none
// keeps the frame-complete ending.
inline constexpr const char* kEndOnFrameKey = "END_ON_FRAME";
CLinkSettings LinkSettingsFrom(const CIniFile& ini);
