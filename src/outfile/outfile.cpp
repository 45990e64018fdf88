#include "outfile/outfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace outfile {
namespace {

std::optional<Input> fromStatus(int result, const struct stat &status, const QString &name)
{
    if (result != 0)
        return std::nullopt;
    return Input{name, status.st_dev, status.st_ino};
}

} // namespace

QString notRegular(mode_t mode)
{
    const char *what = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a named pipe"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "a special file";
    return QStringLiteral("is %1, not a regular file").arg(QLatin1String(what));
}

std::optional<Input> input(const QString &path, const QString &name)
{
    struct stat status;
    return fromStatus(::stat(QFile::encodeName(path).constData(), &status), status, name);
}

std::optional<Input> input(int descriptor, const QString &name)
{
    struct stat status;
    return fromStatus(::fstat(descriptor, &status), status, name);
}

QString refusal(const QString &path, const QList<Input> &inputs)
{
    struct stat status;
    // Nothing there (or nothing that can be looked at): the open tells whether it can be made.
    // Links that lead round in a loop are something: the writer would replace the first of them.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ELOOP ? QStringLiteral("is a loop of symbolic links") : QString();
    for (const Input &in : inputs)
        if (in.device == status.st_dev && in.inode == status.st_ino)
            return QStringLiteral("is the same file as ") + in.name;
    // Renamed over, a pipe's reader or a device would get nothing and lose its node.
    if (!S_ISREG(status.st_mode))
        return notRegular(status.st_mode);
    return {};
}

OutputFile::OutputFile(const QString &path, QList<Input> inputs)
    : m_file(path), m_inputs(std::move(inputs))
{
    // Writing straight into the target when no file can be made beside it would leave it
    // half written on a failure.
    m_file.setDirectWriteFallback(false);
}

bool OutputFile::start()
{
    if (const QString refused = refusal(m_file.fileName(), m_inputs); !refused.isEmpty()) {
        m_file.failure = QStringLiteral("it ") + refused;
        return false;
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        // Of a file it may not replace Qt says only "Existing file … is not writable"; the
        // system says why (a read-only file system, the file's permissions).
        const bool exists = ::access(QFile::encodeName(m_file.fileName()).constData(), F_OK) == 0;
        m_file.failure =
            exists && ::access(QFile::encodeName(m_file.fileName()).constData(), W_OK) != 0
                ? QString::fromLocal8Bit(std::strerror(errno))
                : m_file.errorString();
        return false;
    }
    return true;
}

// Why the last write or flush failed. Qt's file engine takes a write that stops short (the disk
// filled up part-way through its buffer) as partly done, without a reason, and the flush that
// follows reports "Unknown error": the system's own reason is then the one to give.
QString OutputFile::File::reason(const QString &otherwise) const
{
    if (errno != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return error() != QFileDevice::NoError ? errorString() : otherwise;
}

void OutputFile::File::fail(const QString &why)
{
    if (failure.isEmpty())
        failure = why;
    cancelWriting(); // commit() then removes the new file and leaves the target alone
}

// QSaveFile takes a short write (the disk filled up part-way) as done, and the error of the
// buffer's last flush, at commit, is not looked at: the PDF writer, which checks nothing,
// would end with a truncated file reported as written. Here a write is done only in full; the
// rest of a short one is tried again, so that the reason (a full disk) is known.
qint64 OutputFile::File::writeData(const char *data, qint64 size)
{
    if (!failure.isEmpty())
        return -1;
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = QSaveFile::writeData(data + done, size - done);
        if (n <= 0) {
            fail(reason(QStringLiteral("the write did not complete")));
            return -1;
        }
        done += n;
    }
    written += done;
    return done;
}

bool OutputFile::finish()
{
    if (!m_file.isOpen()) {
        if (m_file.failure.isEmpty())
            m_file.failure = QStringLiteral("the file was not started");
        return false;
    }
    if (m_file.failure.isEmpty()) {
        errno = 0;
        if (!m_file.flush())
            m_file.fail(m_file.reason(m_file.errorString()));
        else if (m_file.size() != m_file.written)
            m_file.fail(QStringLiteral("%1 of %2 bytes reached the file")
                            .arg(m_file.size())
                            .arg(m_file.written));
        // commit() syncs too, but does not look at the outcome.
        else if (::fsync(m_file.handle()) != 0 && errno != EINVAL && errno != EROFS)
            m_file.fail(QString::fromLocal8Bit(std::strerror(errno)));
        // What is there now is what is replaced: the rule once more.
        else if (const QString refused = refusal(m_file.fileName(), m_inputs); !refused.isEmpty())
            m_file.fail(QStringLiteral("it ") + refused);
    }
    if (!m_file.failure.isEmpty()) {
        m_file.commit(); // removes the new file
        return false;
    }
    if (!m_file.commit()) {
        m_file.failure = m_file.errorString();
        return false;
    }
    return true;
}

} // namespace outfile
