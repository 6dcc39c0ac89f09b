#include "serial/LinkSettings.h"

#include "app/IniFile.h"

CLinkSettings LinkSettingsFrom(const CIniFile& ini) {
    CLinkSettings settings;
    CIniValue endOnFrame;
    ini.GetValue("SERIAL", kEndOnFrameKey, endOnFrame);
    settings.endOnCompleteFrame = !(endOnFrame == "0");
    return settings;
}
