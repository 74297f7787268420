#include "output/safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Each starts like a classic device error, as the user reads it followed by " error occurred.",
// and then says in plain words what the system reported.
QString Reason(int err, const QString& path) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return "Disk full (there is not enough space in " + path + ")";
    case EACCES:
    case EPERM:
        return "Permission denied (you may not write in " + path + ")";
    case EROFS:
        return "Disk write-protected (" + path + " is on a read-only disk)";
    case ENOTDIR:
        return "Path not found (" + path + " is not a folder)";
    case ENOENT:
        return "Path not found (" + path + " does not exist)";
    case EEXIST:
        return "File already exists (every numbered name in " + path + " is taken)";
    default:
        return "Device I/O (" + QString::fromLocal8Bit(std::strerror(err)) + " in " + path + ")";
    }
}

PrinterError Failure(const QString& text) {
    return PrinterError(text.toStdString());
}

const char* const kPartPrefix = ".Masking layout ";
const char* const kPartSuffix = ".part";
constexpr int kMostNumbers = 9999;

// The hidden temporary files being written, for the signal handler: each one's folder
// descriptor and name. The handler removes them and lets the signal end the program as it
// would have. A slot is free while its folder is -1.
struct PartSlot {
    std::atomic<int> folder{-1};
    char name[NAME_MAX + 1] = {};
};
std::array<PartSlot, 8> g_parts;

constexpr std::array<int, 3> kEndingSignals{SIGTERM, SIGINT, SIGHUP};

// The handler stays in place until the files are gone: a second signal (timeout and service
// managers send SIGTERM twice) waits while it runs, or, taken by another thread, runs it again,
// instead of ending the program with a temporary file left.
extern "C" void RemovePartsAndStop(int sig) {
    for (PartSlot& part : g_parts) {
        const int folder = part.folder.load();
        if (folder >= 0)
            unlinkat(folder, part.name, 0);
    }
    signal(sig, SIG_DFL);
    raise(sig); // blocked here, so delivered on return
}

void CatchEndingSignals() {
    static const bool caught = [] {
        struct sigaction action {};
        action.sa_handler = RemovePartsAndStop;
        sigemptyset(&action.sa_mask);
        for (const int sig : kEndingSignals)
            sigaddset(&action.sa_mask, sig);
        for (const int sig : kEndingSignals) {
            struct sigaction old {};
            sigaction(sig, nullptr, &old);
            if (old.sa_handler == SIG_DFL) // not ignored (nohup) nor handled by someone else
                sigaction(sig, &action, nullptr);
        }
        return true;
    }();
    (void)caught;
}

int FreeSlot() {
    for (std::size_t i = 0; i < g_parts.size(); ++i)
        if (g_parts[i].folder.load() < 0)
            return static_cast<int>(i);
    return -1;
}

// Gives the written temporary file its final name: fails with EEXIST when anything has that
// name, never follows a link there and never replaces it.
int Publish(int folder, const char* part, const char* name) {
    if (renameat2(folder, part, folder, name, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the no-replace rename: a second link is just as exclusive.
    if (linkat(folder, part, folder, name, 0) != 0)
        return errno;
    unlinkat(folder, part, 0);
    return 0;
}

} // namespace

QString ShortReason(int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return "disk full";
    case EFBIG:
        return "file too large";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EROFS:
        return "read-only disk";
    case EEXIST:
        return "every numbered name is taken";
    default:
        return QString::fromLocal8Bit(std::strerror(err)).toLower();
    }
}

void RemoveStaleParts(const QString& folder) {
    QDir dir(folder);
    const QStringList names =
        dir.entryList({QString(kPartPrefix) + "*" + kPartSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QString middle = name.mid(int(std::strlen(kPartPrefix))).section('-', 0, 0);
        bool ok = false;
        const pid_t writer = static_cast<pid_t>(middle.toLong(&ok));
        if (ok && writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            dir.remove(name);
    }
}

SafeFile::SafeFile(const QString& folder) : m_folder(folder) {
    CatchEndingSignals();
    m_dir = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dir < 0) {
        Fail(errno, folder);
        return;
    }
    m_slot = FreeSlot();
    if (m_slot < 0) {
        Fail(EMFILE, folder);
        return;
    }
    static unsigned serial = 0;
    PartSlot& part = g_parts[static_cast<std::size_t>(m_slot)];
    std::snprintf(part.name, sizeof part.name, "%s%ld-%u%s", kPartPrefix,
                  static_cast<long>(getpid()), ++serial, kPartSuffix);
    part.folder.store(m_dir);
    // Created fresh, never through a link; the mode is the umask's to narrow.
    m_fd = openat(m_dir, part.name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        const int err = errno;
        part.folder.store(-1);
        m_slot = -1;
        Fail(err, folder);
    }
}

SafeFile::~SafeFile() {
    Discard();
    if (m_dir >= 0)
        close(m_dir);
}

void SafeFile::Fail(int error, const QString& path) {
    if (m_error.isEmpty()) {
        m_error = Reason(error, path);
        m_errorNumber = error;
    }
    Discard();
}

void SafeFile::Discard() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    if (m_slot < 0)
        return;
    PartSlot& part = g_parts[static_cast<std::size_t>(m_slot)];
    unlinkat(m_dir, part.name, 0);
    part.folder.store(-1);
    m_slot = -1;
}

void SafeFile::Append(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (m_fd >= 0 && left > 0) {
        const ssize_t n = write(m_fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(n < 0 ? errno : ENOSPC, m_folder);
        p += n;
        left -= n;
    }
}

SafeWrite SafeFile::Commit(const QString& baseName, const QString& extension) {
    if (m_fd < 0)
        return m_error.isEmpty() ? SafeWrite{{}, Reason(EBADF, m_folder), EBADF}
                                 : SafeWrite{{}, m_error, m_errorNumber};
    int err = fsync(m_fd) == 0 ? 0 : errno;
    if (close(m_fd) != 0 && err == 0)
        err = errno;
    m_fd = -1; // a failed close still releases the descriptor
    if (err != 0) {
        Fail(err, m_folder);
        return {{}, m_error, m_errorNumber};
    }
    PartSlot& part = g_parts[static_cast<std::size_t>(m_slot)];
    for (int n = 1; n <= kMostNumbers; ++n) {
        const QString name =
            (n == 1 ? baseName : QString("%1 (%2)").arg(baseName).arg(n)) + "." + extension;
        err = Publish(m_dir, part.name, QFile::encodeName(name).constData());
        if (err == 0) {
            part.folder.store(-1);
            m_slot = -1;
            return {m_folder + "/" + name, {}};
        }
        if (err != EEXIST)
            break;
    }
    Fail(err, m_folder);
    return {{}, m_error, m_errorNumber};
}

SafeWrite WriteFileSafely(const QString& folder, const QString& baseName, const QString& extension,
                          const QByteArray& bytes) {
    SafeFile file(folder);
    file.Append(bytes);
    return file.Commit(baseName, extension);
}

bool SyncFolder(const QString& folder) {
    const int dir = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = dir >= 0 && fsync(dir) == 0;
    if (dir >= 0)
        close(dir);
    return synced;
}

QString DocumentsFolder() {
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        throw Failure("Path not found (no home folder is set, so there is no documents folder)");
    if (!QDir::isAbsolutePath(home))
        throw Failure("Path not found (the home folder " + home + " is not a full path)");
    const QString documents =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (documents.isEmpty() || !QDir::isAbsolutePath(documents))
        throw Failure("Path not found (there is no documents folder)");
    const QByteArray native = QFile::encodeName(documents);
    if (mkdir(native.constData(), 0777) != 0 && errno != EEXIST)
        throw Failure(Reason(errno, QFileInfo(documents).path()));
    struct stat st {};
    if (stat(native.constData(), &st) != 0)
        throw Failure(Reason(errno, documents));
    if (!S_ISDIR(st.st_mode))
        throw Failure(Reason(ENOTDIR, documents));
    return documents;
}

QString SaveReportFile(const QString& folder, const QString& baseName, const QByteArray& bytes) {
    RemoveStaleParts(folder);
    const SafeWrite written = WriteFileSafely(folder, baseName, "pdf", bytes);
    if (!written.ok())
        throw Failure(written.error);
    return written.path;
}
