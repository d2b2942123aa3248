#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The day's files written so that a link, a FIFO, a device or a full disk
// can neither redirect nor spoil them. Two kinds of file:
// - the program's own (the saved contest, the stored match list, the lock):
//   never written through a link; a link in their place is replaced, its
//   target never touched;
// - the operator's (the settings store, a results file named on the command
//   line): a link to a regular file is followed, as dotfile managers make
//   them; anything else (a FIFO, a device, a folder, a link to nothing) is
//   refused with the reason.
// Every refusal and failure comes back as a sentence for the operator.
namespace SafeFile {

// Replaces an own file whole (a temporary file beside it, synced, then
// renamed over it), so that a crash leaves the old or the new content. A
// link in its place is replaced by the file; a FIFO, device or folder there
// is refused.
bool writeOwn(const QString &path, const QByteArray &data, QString *error);

// Reads an own file of at most maxBytes; nothing when it is absent, a link,
// no regular file or larger (`error` then says why, unless it is absent).
std::optional<QByteArray> readOwn(const QString &path, qint64 maxBytes, QString *error);

// Makes the path ready for an own file that another routine creates (the
// lock): a link there is removed; a FIFO, device or folder refuses.
bool clearOwnPath(const QString &path, QString *error);

// Why the operator's file at path cannot be written: empty when it is a
// regular file, a link to one, or absent (and no link). Never opens it.
QString operatorFileProblem(const QString &path);

// Appends to the operator's file, with `header` first when the file is new
// or empty, then syncs it. On any failure the file is cut back to its length
// before the write, so no half line stays, and `error` names the reason.
bool appendToOperatorFile(
    const QString &path, const QByteArray &header, const QByteArray &bytes, QString *error);

} // namespace SafeFile
