#include "output/report_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user sees a description followed by " error occurred.", so each starts like a classic
// device error and then says in plain words what the system reported.
PrinterError Failure(const QString& text) {
    return PrinterError(text.toStdString());
}

PrinterError Reason(int err, const QString& path) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return Failure("Disk full (there is not enough space in " + path + " for the report)");
    case EACCES:
    case EPERM:
        return Failure("Permission denied (you may not write in " + path + ")");
    case EROFS:
        return Failure("Disk write-protected (" + path + " is on a read-only disk)");
    case ENOTDIR:
        return Failure("Path not found (" + path + " is not a folder)");
    case ENOENT:
        return Failure("Path not found (" + path + " does not exist)");
    default:
        return Failure("Device I/O (" + QString::fromLocal8Bit(std::strerror(err)) + " in " + path +
                       ")");
    }
}

const char* const kPartPrefix = ".Masking layout ";
const char* const kPartSuffix = ".part";

// The hidden temporary file being written, for the signal handler: the folder's descriptor and
// the name in it. The handler removes it and lets the signal end the program as it would have.
char g_partName[NAME_MAX + 1];
std::atomic<int> g_partFolder{-1};

extern "C" void RemovePartAndStop(int sig) {
    const int folder = g_partFolder.load();
    if (folder >= 0)
        unlinkat(folder, g_partName, 0);
    // SA_RESETHAND has restored the default action; the signal is delivered again on return.
    raise(sig);
}

void CatchEndingSignals() {
    static const bool caught = [] {
        for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction old {};
            sigaction(sig, nullptr, &old);
            if (old.sa_handler != SIG_DFL) // ignored (nohup) or handled by someone else
                continue;
            struct sigaction action {};
            action.sa_handler = RemovePartAndStop;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND;
            sigaction(sig, &action, nullptr);
        }
        return true;
    }();
    (void)caught;
}

// An open folder; names inside it are used relative to it, so the folder checked is the folder
// written even if its path changes meanwhile.
class FolderHandle {
  public:
    explicit FolderHandle(const QString& path)
        : m_fd(open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_fd < 0)
            throw Reason(errno, path);
    }
    ~FolderHandle() { close(m_fd); }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int fd() const { return m_fd; }

  private:
    int m_fd;
};

// Hidden temporary files of copies of the program that no longer run: a crash or SIGKILL gives
// no chance to remove them. Each name carries the process number of its writer.
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

int WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        p += n;
        left -= n;
    }
    return fsync(fd) == 0 ? 0 : errno;
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

// The temporary file: created fresh (never through a link), its removal promised to the signal
// handler, removed on every way out but a successful publish.
class PartFile {
  public:
    PartFile(const FolderHandle& folder, const QString& path) : m_folder(folder.fd()) {
        static unsigned serial = 0;
        CatchEndingSignals();
        std::snprintf(g_partName, sizeof g_partName, "%s%ld-%u%s", kPartPrefix,
                      static_cast<long>(getpid()), ++serial, kPartSuffix);
        g_partFolder.store(m_folder);
        m_fd = openat(m_folder, g_partName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
        if (m_fd < 0) {
            const int err = errno;
            g_partFolder.store(-1);
            throw Reason(err, path);
        }
    }
    ~PartFile() {
        if (m_fd >= 0)
            close(m_fd);
        if (!m_published)
            unlinkat(m_folder, g_partName, 0);
        g_partFolder.store(-1);
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // 0 or the error of the first write, flush or close that failed.
    int Write(const QByteArray& bytes) {
        int err = WriteAll(m_fd, bytes);
        if (close(m_fd) != 0 && err == 0)
            err = errno;
        m_fd = -1;
        return err;
    }
    int PublishAs(const QString& name) {
        const int err = Publish(m_folder, g_partName, QFile::encodeName(name).constData());
        m_published = err == 0;
        return err;
    }

  private:
    int m_folder;
    int m_fd = -1;
    bool m_published = false;
};

} // namespace

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
        throw Reason(errno, QFileInfo(documents).path());
    struct stat st {};
    if (stat(native.constData(), &st) != 0)
        throw Reason(errno, documents);
    if (!S_ISDIR(st.st_mode))
        throw Reason(ENOTDIR, documents);
    return documents;
}

QString SaveReportFile(const QString& folder, const QString& baseName, const QByteArray& bytes) {
    const FolderHandle handle(folder);
    RemoveStaleParts(folder);
    PartFile part(handle, folder);
    if (const int err = part.Write(bytes))
        throw Reason(err, folder);
    for (int n = 1;; ++n) {
        const QString name = baseName + (n == 1 ? QString() : QString(" (%1)").arg(n)) + ".pdf";
        const int err = part.PublishAs(name);
        if (err == 0)
            return folder + "/" + name;
        if (err != EEXIST)
            throw Reason(err, folder);
    }
}
