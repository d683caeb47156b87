#pragma once
// What the operator reads when a serial port does not open: what happened and what to do, from
// the system's error number and the device path. Who holds a busy port is asked of a lookup, so
// the rule is tested without the system's state.
#include <QString>
#include <QStringList>

#include <functional>

namespace zx {

// Who holds the device at path, e.g. "minicom, folyamatazonosító: 1234"; empty when nothing says.
using PortHolderLookup = std::function<QString(const QString& path)>;

// The Hungarian sentences that follow "Unable to open com port (win error code: N)" for the
// error number of the failed open of path; empty for a number with nothing useful to add.
QString portOpenAdvice(int errorNumber, const QString& path, const PortHolderLookup& holderOf);

// The Hungarian sentences that follow "ReadFile function failed (win error code: N)" and the
// other failures of an open line: what most likely happened (the adapter unplugged, the unit or
// the cable gone) and what to do. Every number gets advice: the operator always learns what next.
QString portLineAdvice(int errorNumber);

// The system's answer to who holds a port: the UUCP lock file of the device in one of
// lockFolders (its process number, as text or as a binary number), else a process of procFolder
// with the device among its open files; the process's name from its "comm" file.
QString systemPortHolder(const QString& path, const QStringList& lockFolders,
                         const QString& procFolder);
// The same with /run/lock, /var/lock and /proc.
QString systemPortHolder(const QString& path);

} // namespace zx
