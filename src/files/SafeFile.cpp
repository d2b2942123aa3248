#include "files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a file that is no regular file is, for the operator.
QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    return QStringLiteral("no regular file");
}

bool makeFolder(const QString &path, QString *error)
{
    if (QDir().mkpath(QFileInfo(path).absolutePath()))
        return true;
    *error = QStringLiteral("its folder could not be made");
    return false;
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

namespace SafeFile {

bool writeOwn(const QString &path, const QByteArray &data, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
        *error = QStringLiteral("it is %1, not a file; it was left alone").arg(kindOf(st.st_mode));
        return false;
    }
    if (!makeFolder(path, error))
        return false;
    // A fresh name of its own: mkstemp never opens an existing file or a link.
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = reason(errno);
        return false;
    }
    const bool written = writeAll(fd, data) && ::fdatasync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    // rename() replaces a link itself, never what it points to.
    if (!written || ::rename(temporary.constData(), name.constData()) != 0) {
        *error = reason(written ? errno : writeError);
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

std::optional<QByteArray> readOwn(const QString &path, qint64 maxBytes, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    // A device is not even opened: opening some does something.
    if (::lstat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
        *error = QStringLiteral("it is %1, not a file").arg(kindOf(st.st_mode));
        return std::nullopt;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            *error = QStringLiteral("it is a link, which is never followed");
        else if (errno != ENOENT)
            *error = reason(errno);
        return std::nullopt;
    }
    std::optional<QByteArray> data;
    if (::fstat(fd, &st) != 0) {
        *error = reason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        *error = QStringLiteral("it is %1, not a file").arg(kindOf(st.st_mode));
    } else if (st.st_size > maxBytes) {
        *error = QStringLiteral("it is larger than %1 bytes").arg(maxBytes);
    } else {
        QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        bytes.truncate(done);
        data = bytes;
    }
    ::close(fd);
    return data;
}

bool clearOwnPath(const QString &path, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0 || S_ISREG(st.st_mode))
        return true;
    if (S_ISLNK(st.st_mode)) {
        if (::unlink(name.constData()) == 0)
            return true;
        *error = reason(errno);
        return false;
    }
    *error = QStringLiteral("it is %1, not a file; it was left alone").arg(kindOf(st.st_mode));
    return false;
}

QString operatorFileProblem(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0)
        return QString();
    if (S_ISLNK(st.st_mode)) {
        if (::stat(name.constData(), &st) != 0)
            return QStringLiteral("it is a link to nothing (%1)").arg(reason(errno));
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("it is a link to %1, not to a file").arg(kindOf(st.st_mode));
        return QString();
    }
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it is %1, not a file").arg(kindOf(st.st_mode));
    return QString();
}

bool appendToOperatorFile(
    const QString &path, const QByteArray &header, const QByteArray &bytes, QString *error)
{
    if (const QString problem = operatorFileProblem(path); !problem.isEmpty()) {
        *error = problem;
        return false;
    }
    if (!makeFolder(path, error))
        return false;
    const QByteArray name = QFile::encodeName(path);
    // No O_CREAT on the first try, so that a link to nothing never makes its
    // target; O_NONBLOCK so that a FIFO put there meanwhile cannot hold us.
    int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) {
            *error = QStringLiteral("it is a link to nothing");
            return false;
        }
    }
    if (fd < 0) {
        *error = reason(errno);
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = QStringLiteral("it is no regular file");
        ::close(fd);
        return false;
    }
    const off_t before = st.st_size;
    const QByteArray data = before == 0 ? header + bytes : bytes;
    if (writeAll(fd, data) && ::fdatasync(fd) == 0) {
        ::close(fd);
        return true;
    }
    const int failure = errno;
    // Leaves the file as it was, so that the next line does not run on
    // from a half one.
    [[maybe_unused]] const int cut = ::ftruncate(fd, before);
    ::close(fd);
    *error = reason(failure);
    return false;
}

} // namespace SafeFile
