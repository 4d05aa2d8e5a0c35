#pragma once
// The message lookup of the language component and the built-in texts of the messages the
// location and registry-backup logic shows.
#include <functional>
#include <string>

namespace qln::client {

// `misc`: the text of a message key in the current language, the built-in text as default.
using MessageLookup =
    std::function<std::string(const std::string& builtin, const std::string& key)>;

struct Message {
  const char* key;
  const char* builtin;
};

inline constexpr Message kMsg12 = {
    "MSG_12",
    "Bitte stelle sicher, dass Programme keinen Zugriff mehr auf Dateien in dem gewählten "
    "Verzeichnis haben.\rDa es sonst zu einem Abbruch des Backups kommt!"};
inline constexpr Message kMsg17 = {
    "MSG_17", "Kein The Bat! Verzeichnis gefunden!\rEventuell manuell wählen..."};
inline constexpr Message kMsg18 = {
    "MSG_18", "Kein The Bat!-Mail Verzeichnis gefunden!\rEventuell manuell wählen..."};
inline constexpr Message kMsg23 = {
    "MSG_23",
    "Das angegebene Verzeichnis ist im Pfad von \"The Bat! Programm-Verzeichnis\" welches schon "
    "gesichert wird und somit das angegeben Verzeichnis mit einschließt. Option wird deaktiviert"};
inline constexpr Message kMsg30 = {"MSG_30",
                                   "TheBat.exe wurde nicht gefunden. Bitte erneut versuchen."};
inline constexpr Message kMsg31 = {
    "MSG_31", "Files die auf das Data Verzeichnis deuten - konnten nicht gefunden werden."};
inline constexpr Message kMsg32 = {"MSG_32", "Konnte keine Installation von TheBat! finden!"};

inline std::string text(const MessageLookup& misc, const Message& m) {
  return misc(m.builtin, m.key);
}

}  // namespace qln::client
