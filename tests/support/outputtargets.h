#pragma once

// The places the writer tests ask a program to write a file to, each made in a folder of the
// test's own: a new name, a link to a file, an input of the run (also through a symbolic or a
// hard link), a loop of symbolic links, a named pipe, a device node, a socket, a folder, a
// read-only folder, a file on a read-only file system and a full file system. The last three are
// small tmpfs mounts where the test may mount one (as root; the read-only folder too);
// elsewhere the row says why it is skipped. `folderState` tells whether a refused write left
// everything as it was.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

enum class Target {
    NewFile,         // nothing there yet
    LinkToFile,      // a symbolic link to a file the run does not read
    Input,           // the input file of the run itself
    LinkToInput,     // a symbolic link to it
    HardLinkToInput, // another name of the same file
    LinkLoop,        // a symbolic link to a link that leads back to it
    Fifo,
    Device, // a character device: a node of /dev/null's numbers, or /dev/null itself
    Socket,
    Folder,
    ReadOnlyFolder, // a new name in a folder nothing may be written in
    FullDisk,       // a new name on a file system of 32 KiB
    ReadOnlyFile,   // a file on a read-only file system
};

// A tmpfs of the test's own on a temporary folder, unmounted with the object.
class TestMount
{
public:
    TestMount(const char *size, bool readOnly)
    {
        const QByteArray options = QByteArray("size=") + size;
        if (::mount("kiila-test", QFile::encodeName(m_folder.path()).constData(), "tmpfs",
                    readOnly ? MS_RDONLY : 0, options.constData()) == 0)
            m_mounted = true;
        else
            m_error = QStringLiteral("cannot mount a tmpfs of the test's own (%1)")
                          .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~TestMount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
    }
    TestMount(const TestMount &) = delete;
    TestMount &operator=(const TestMount &) = delete;

    // Mounted again read-only, with what it holds now.
    bool makeReadOnly()
    {
        return ::mount("kiila-test", QFile::encodeName(m_folder.path()).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    bool mounted() const { return m_mounted; }
    QString error() const { return m_error; }
    QString path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_error;
};

// One target, made in `folder` (`input` is the file of the run there).
class OutputTarget
{
public:
    OutputTarget(Target target, const QString &folder, const QString &input) : m_folder(folder)
    {
        const QString name = folder + QStringLiteral("/out.pdf");
        const QByteArray local = QFile::encodeName(name);
        bool made = true;
        switch (target) {
        case Target::NewFile:
            m_path = name;
            break;
        case Target::LinkToFile: {
            QFile old(folder + QStringLiteral("/old.pdf"));
            made = old.open(QIODevice::WriteOnly) && old.write("old") == 3;
            old.close();
            made = made && QFile::link(QStringLiteral("old.pdf"), name);
            m_path = name;
            break;
        }
        case Target::Input:
            m_path = input;
            break;
        case Target::LinkToInput:
            made = QFile::link(input, name);
            m_path = name;
            break;
        case Target::LinkLoop:
            made = QFile::link(QStringLiteral("loop.pdf"), name) &&
                   QFile::link(QStringLiteral("out.pdf"), folder + QStringLiteral("/loop.pdf"));
            m_path = name;
            break;
        case Target::HardLinkToInput:
            made = ::link(QFile::encodeName(input).constData(), local.constData()) == 0;
            m_path = name;
            break;
        case Target::Fifo:
            made = ::mkfifo(local.constData(), 0644) == 0;
            m_path = name;
            break;
        case Target::Device:
            // Only root makes a node; anyone else cannot replace /dev/null either.
            if (::geteuid() == 0) {
                made = ::mknod(local.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
                m_path = name;
            } else {
                m_path = QStringLiteral("/dev/null");
            }
            break;
        case Target::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            made = size_t(local.size()) < sizeof address.sun_path;
            std::strncpy(address.sun_path, local.constData(), sizeof address.sun_path - 1);
            m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            made = made && m_socket >= 0 &&
                   ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
            m_path = name;
            break;
        }
        case Target::Folder:
            made = QDir(folder).mkdir(QStringLiteral("out.pdf"));
            m_path = name;
            break;
        case Target::ReadOnlyFolder:
            // Permissions do not stop root: for root a read-only file system.
            if (::geteuid() == 0) {
                useMount("64k", true);
            } else {
                made = QDir(folder).mkdir(QStringLiteral("locked")) &&
                       QFile::setPermissions(folder + QStringLiteral("/locked"),
                                             QFile::ReadOwner | QFile::ExeOwner);
                m_folder = folder + QStringLiteral("/locked");
                m_path = m_folder + QStringLiteral("/out.pdf");
            }
            break;
        case Target::FullDisk:
            useMount("32k", false);
            break;
        case Target::ReadOnlyFile:
            useMount("64k", false);
            if (m_mount->mounted()) {
                QFile old(m_path);
                made = old.open(QIODevice::WriteOnly) && old.write("old") == 3;
                old.close();
                made = made && m_mount->makeReadOnly();
            }
            break;
        }
        if (!made && m_skip.isEmpty())
            m_error = QStringLiteral("cannot make the target %1: %2")
                          .arg(name, QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~OutputTarget()
    {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    OutputTarget(const OutputTarget &) = delete;
    OutputTarget &operator=(const OutputTarget &) = delete;

    QString path() const { return m_path; }
    // The folder the target lies in (the mount for the last two).
    QString folder() const { return m_folder; }
    // Why the target cannot be made where the test runs: the row is skipped.
    QString skip() const { return m_skip; }
    // Why the target could not be made although it should have been: the row fails.
    QString error() const { return m_error; }

private:
    void useMount(const char *size, bool readOnly)
    {
        m_mount = std::make_unique<TestMount>(size, readOnly);
        m_skip = m_mount->error();
        m_folder = m_mount->path();
        m_path = m_folder + QStringLiteral("/out.pdf");
    }

    QString m_folder;
    QString m_path;
    QString m_skip;
    QString m_error;
    std::unique_ptr<TestMount> m_mount;
    int m_socket = -1;
};

// Every entry of the folder with its kind, and a file's bytes (hashed) or where a link points.
inline QMap<QString, QByteArray> folderState(const QString &folder)
{
    QMap<QString, QByteArray> state;
    const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QString path = folder + u'/' + name;
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
            state[name] = "gone";
            continue;
        }
        QByteArray entry = QByteArray::number(status.st_mode, 8);
        if (S_ISLNK(status.st_mode)) {
            entry += " -> " + QFile::encodeName(QFile::symLinkTarget(path));
        } else if (S_ISREG(status.st_mode)) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                entry += ' ' +
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        }
        state[name] = entry;
    }
    return state;
}
