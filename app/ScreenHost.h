#pragma once

class CProcessComPort;
class QString;

// What a screen may ask of the window that hosts it: navigation and the serial link. Screens
// never reach each other; the window knows them all and does every showing and hiding, so a
// screen sees only this.
class CScreenHost {
public:
    virtual ~CScreenHost() = default;

    // Opens the link to the port `name` at `speed`, closing an earlier link first so that the
    // port is free for it. The link object is kept whether or not the port opened.
    virtual void OpenLink(const char* name, unsigned speed) = 0;
    // The link between Connect and the next "Назад", or null.
    virtual CProcessComPort* Link() const = 0;

    // Connect accepted: the main screen goes and the polling screen comes, its tables refilled.
    virtual void ShowPollingScreen() = 0;
    // "Пристрої": the meter list over the main screen, which stays under it, made afresh.
    virtual void ShowDeviceListScreen() = 0;
    // The polling screen's "Додати": the meter add form over it, with `number` typed in.
    virtual void ShowDeviceAddForm(const QString& number) = 0;
    // "Об'єкт": the directory screen over the main screen, which stays under it, made afresh.
    virtual void ShowDirectoryScreen() = 0;
    // "Показники": the archive screen over the main screen, which stays under it, made afresh.
    virtual void ShowArchiveScreen() = 0;
    // "Назад": a running poll is stopped, the link is closed and the main screen shows.
    virtual void ShowMainScreen() = 0;
};
