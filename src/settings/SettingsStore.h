#pragma once

#include <QString>

#include <functional>

// The per-user settings store: strings addressed by section and key under
// the application "Zembrak" (organization "Zembrak" too). Nothing else in
// the program touches QSettings.
namespace SettingsStore {

// The stored text, or Default when the key is absent. A store that is no
// regular file reads as empty and is never written.
QString GetSetting(const QString &Section, const QString &Key, const QString &Default);
void SaveSetting(const QString &Section, const QString &Key, const QString &Value);

// Sends every later read and write to the store file at path (tests use a
// throwaway file); an empty path returns to the user's own store.
void useFile(const QString &path);

// Where the store keeps its data, for telling the operator.
QString fileName();

// Where SaveSettingsOffThread hands its write (the running board's disk
// writer), so that a slow disk never holds the board; `what` names the job
// in messages. None set: the settings are written at once.
using Writer = std::function<void(const QString &what, std::function<bool(QString *error)> job)>;
void setWriter(Writer writer);

} // namespace SettingsStore

// Fills the settings variables from the store, in the fixed key order
// (FormBack before LEDSelected, which defaults to it). A stored number that
// does not convert to the variable's width loads as that key's default. A
// store path taken by something other than a regular file (a FIFO, socket,
// device or folder) is not opened: the defaults load, and one line on
// stderr says why.
void LoadSettings();

// Writes every settings variable back to the store, and the IsKeyCode
// marker. False when the store could not be written (the file is then left
// as it was), or is no regular file and so was not opened.
bool SaveSettings();
// The same write, with the values as they are now, done when the job is
// called, on any thread: false with the reason.
std::function<bool(QString *error)> SaveSettingsLater();
// The options' OK: SaveSettings through the store's writer when one is set
// (its failure is told as that writer tells), else at once.
bool SaveSettingsOffThread();

// Writes the match list and its position alone, as the next-match key and
// loading a list change them outside the options dialog.
bool SaveMatchSettings();
// The same for the list and position as they are now, done when the job is
// called, on any thread (the disk writer's): false with the reason.
std::function<bool(QString *error)> SaveMatchSettingsLater();
