#pragma once
// The messages of the backup job: localised ones by key with their built-in German text, and
// the fixed English ones.
#include "client/messages.h"

namespace qln::backup {

using client::Message;

inline constexpr Message kMsg1 = {
    "MSG_1", "Sollte \"The Bat!\" noch gestartet sein, so wird es jetzt geschlossen!"};
inline constexpr Message kMsg2 = {"MSG_2", "The Bat!-Mail Verzeichnis nicht vorhanden! Abbruch!"};
inline constexpr Message kMsg3 = {"MSG_3", "The Bat! Verzeichnis nicht vorhanden! Abbruch!"};
inline constexpr Message kMsg5 = {"MSG_5",
                                  "\"Frei wählbares Verzeichnis\" nicht vorhanden! Abbruch!"};
inline constexpr Message kMsg6 = {"MSG_6", "Vorgang abgebrochen"};
inline constexpr Message kMsg7 = {"MSG_7", "Backup erfolgreich!"};
inline constexpr Message kMsg16 = {"MSG_16",
                                   "Verzeichnis wählen in dem das Backup gespeichert werden soll!"};
inline constexpr Message kMsg29 = {"MSG_29", "Backup ist fehlgeschlagen!"};

inline constexpr char kRegExportMissing[] = "Can't create TheBat!.reg";
inline constexpr char kNotificationId[] = "Quillane";
inline constexpr char kNotificationTitle[] = "Backup done";
inline constexpr char kNotificationBody[] = "Your backup was completed successfully.";

}  // namespace qln::backup
