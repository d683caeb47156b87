#include "link/port_open_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zx {

namespace {

// A lock file holds the process number as ten characters of text on its first line (HDB form,
// also Qt's, which names the program on the next lines) or as the four bytes of a binary number
// (the old form).
qint64 lockFileProcess(const QString& lockPath) {
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = file.read(256);
    bool ok = false;
    const qint64 text = bytes.left(bytes.indexOf('\n')).trimmed().toLongLong(&ok);
    if (ok) return text > 0 ? text : 0;
    if (bytes.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, bytes.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

QString holderText(const QString& procFolder, qint64 pid) {
    QFile comm(QStringLiteral("%1/%2/comm").arg(procFolder).arg(pid));
    const QString name = comm.open(QIODevice::ReadOnly)
                             ? QString::fromLocal8Bit(comm.read(256)).trimmed()
                             : QString();
    return name.isEmpty() ? QStringLiteral("folyamatazonosító: %1").arg(pid)
                          : QStringLiteral("%1, folyamatazonosító: %2").arg(name).arg(pid);
}

// A process of procFolder other than this one with the device among its open files.
qint64 processWithOpenFile(const QString& device, const QString& procFolder) {
    const qint64 self = ::getpid();
    const QStringList entries = QDir(procFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == self) continue;
        const QDir fds(QStringLiteral("%1/%2/fd").arg(procFolder, entry));
        for (const QFileInfo& fd :
             fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget() == device) return pid;
    }
    return 0;
}

} // namespace

QString portOpenAdvice(int errorNumber, const QString& path, const PortHolderLookup& holderOf) {
    if (path.isEmpty())
        return QStringLiteral("Nincs port megadva: válasszon egyet (Beállítások / Com port..., "
                              "a parancssorban --port).");
    switch (errorNumber) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("A(z) %1 eszköz nem létezik. Ellenőrizze, hogy az átalakító "
                              "csatlakoztatva van-e, és a létező portok közül válasszon "
                              "(Beállítások / Com port..., a parancssorban --port).")
            .arg(path);
    case EBUSY: {
        const QString holder = holderOf ? holderOf(path) : QString();
        const QString by = holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder);
        return QStringLiteral("A(z) %1 portot más program használja%2. Zárja be azt a "
                              "programot, majd próbálja újra.")
            .arg(path, by);
    }
    case EACCES:
    case EPERM:
        return QStringLiteral("Nincs jogosultsága a(z) %1 port használatához. Vegye fel a "
                              "felhasználóját a dialout csoportba (sudo usermod -aG dialout "
                              "FELHASZNÁLÓ), majd jelentkezzen ki és be újra.")
            .arg(path);
    case ENOTTY:
        return QStringLiteral("A(z) %1 nem soros port. Válasszon soros portot (Beállítások / "
                              "Com port..., a parancssorban --port).")
            .arg(path);
    default:
        return QString();
    }
}

QString portLineAdvice(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:
        return QStringLiteral("A vonal megszakadt: az átalakítót kihúzták, vagy az egység, illetve "
                              "a kábel nem elérhető. Ellenőrizze a csatlakozásokat és az egység "
                              "tápellátását, majd próbálja újra.");
    case EBADF:
        return QStringLiteral("A port közben bezárult. Kapcsolódjon újra, majd próbálja újra.");
    default:
        return QStringLiteral("A soros vonalon hiba történt. Ellenőrizze a kábelt, az átalakítót "
                              "és az egység tápellátását, majd próbálja újra.");
    }
}

QString systemPortHolder(const QString& path, const QStringList& lockFolders,
                         const QString& procFolder) {
    const QFileInfo info(path);
    const QString lockName = QStringLiteral("LCK..") + info.fileName();
    for (const QString& folder : lockFolders)
        if (const qint64 pid = lockFileProcess(folder + QLatin1Char('/') + lockName))
            return holderText(procFolder, pid);
    const QString device = info.canonicalFilePath();
    if (device.isEmpty()) return QString();
    if (const qint64 pid = processWithOpenFile(device, procFolder))
        return holderText(procFolder, pid);
    return QString();
}

QString systemPortHolder(const QString& path) {
    return systemPortHolder(path, {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")},
                            QStringLiteral("/proc"));
}

} // namespace zx
