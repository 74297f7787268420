#include "cli/safe_file.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kMostNumbers = 9999;

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

SafeFile::SafeFile(const QString& folder) : m_folder(folder) {
    m_dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dir < 0) {
        Fail(folder, errno);
        return;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_tempName =
            ".partial-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        m_fd = ::openat(m_dir, m_tempName.constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        Fail(folder, errno);
}

SafeFile::~SafeFile() {
    Discard();
    if (m_dir >= 0)
        ::close(m_dir);
}

void SafeFile::Fail(const QString& what, int error) {
    if (m_error.isEmpty())
        m_error = what + ": " + Reason(error);
    Discard();
}

void SafeFile::Discard() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlinkat(m_dir, m_tempName.constData(), 0);
}

void SafeFile::Append(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (m_fd >= 0 && left > 0) {
        const ssize_t n = ::write(m_fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Fail(m_folder, n < 0 ? errno : ENOSPC);
            return;
        }
        p += n;
        left -= n;
    }
}

SafeWrite SafeFile::Commit(const QString& baseName, const QString& extension) {
    if (m_fd < 0)
        return {{}, m_error.isEmpty() ? m_folder + ": already written" : m_error};
    int error = ::fsync(m_fd) == 0 ? 0 : errno;
    if (::close(m_fd) != 0 && error == 0)
        error = errno;
    m_fd = -1; // a failed close still releases the descriptor
    if (error != 0) {
        ::unlinkat(m_dir, m_tempName.constData(), 0);
        return {{}, m_folder + ": " + Reason(error)};
    }
    SafeWrite result;
    for (int n = 1; n <= kMostNumbers && result.path.isEmpty(); ++n) {
        const QString name =
            (n == 1 ? baseName : QString("%1 (%2)").arg(baseName).arg(n)) + "." + extension;
        const QByteArray encoded = QFile::encodeName(name);
        // A hard link fails on an existing name, file or link, and follows nothing; where the
        // file system has no hard links, a rename that refuses to replace does the same.
        int done = ::linkat(m_dir, m_tempName.constData(), m_dir, encoded.constData(), 0);
        if (done == 0)
            ::unlinkat(m_dir, m_tempName.constData(), 0);
        else if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK)
            done = ::renameat2(m_dir, m_tempName.constData(), m_dir, encoded.constData(),
                               RENAME_NOREPLACE);
        if (done == 0)
            result.path = m_folder + "/" + name;
        else if (errno != EEXIST) {
            result.error = m_folder + "/" + name + ": " + Reason(errno);
            break;
        }
    }
    if (result.path.isEmpty()) {
        ::unlinkat(m_dir, m_tempName.constData(), 0);
        if (result.error.isEmpty())
            result.error =
                m_folder + "/" + baseName + "." + extension + ": every numbered name is taken";
    }
    return result;
}

bool SyncFolder(const QString& folder) {
    const int dir =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = dir >= 0 && ::fsync(dir) == 0;
    if (dir >= 0)
        ::close(dir);
    return synced;
}

SafeWrite WriteFileSafely(const QString& folder, const QString& baseName, const QString& extension,
                          const QByteArray& bytes) {
    SafeFile file(folder);
    file.Append(bytes);
    return file.Commit(baseName, extension);
}
