#pragma once

// The one place where a failed file operation becomes an Italian sentence. System messages
// ("No space left on device") never reach the user: every window and the batch tool take
// their reasons from here, so that a full disk, a read-only disk, a protected file, a missing
// folder or an exhausted quota is said the same way everywhere, and said for what it is.

#include <QString>
#include <QStringView>

namespace urbaflux {

// Why a read or a write failed, from the errno value, without the file's name (for instance
// "il disco è pieno").
QString fileErrorReason(int errorNumber);

// Why the file at path could not be created or replaced, errorNumber being errno right after
// the failure: tells apart a missing folder, a write-protected file, a folder the user may not
// write in and a read-only disk, which all come back from the system as a refusal.
QString writeProblem(const QString& path, int errorNumber);

// What a failed save left: "Il file precedente resta invariato." when there was a file,
// "Nessun file è stato modificato." when there was none.
QString untouchedSentence(bool previousFileExisted);

// The name of a file as messages show it: native separators, and every character that is not
// printable (controls, terminal escapes, direction overrides) shown as U+FFFD.
QString archiveDisplayName(const QString& path);

// What a message may quote of a file's content: at most maxCharacters characters, then "…",
// each character that is not printable shown as U+FFFD, so that no NUL byte or terminal
// escape sequence of a hostile file reaches a terminal or a message box.
QString printableExcerpt(QStringView text, qsizetype maxCharacters = 40);

} // namespace urbaflux
