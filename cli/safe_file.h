// Output files that appear complete or not at all. The bytes go to a hidden temporary file in
// the destination folder, are flushed to the disk, and only then get their real name by a link
// that never replaces anything: an existing file or link of that name is left alone and the
// next free name, "Name (2).ext", "Name (3).ext" ..., is taken instead. A run that fails or is
// interrupted leaves no partial file under a real name. The names themselves reach the disk
// when the folder is synced, once after a run's last file rather than after each one (a sync
// of the folder per file doubles the time of a schedule on a busy disk).
#pragma once

#include <QByteArray>
#include <QString>

// The path a file got, or why it could not be written.
struct SafeWrite {
    QString path;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// A file written in pieces, for output too long to hold in memory. Nothing is visible under a
// real name until Commit; destroying it uncommitted removes the temporary file.
class SafeFile {
  public:
    explicit SafeFile(const QString& folder);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The first failure of Create or Append, or empty.
    QString Error() const { return m_error; }
    void Append(const QByteArray& bytes);
    // Flushes, closes and names the file baseName + "." + extension in the folder.
    SafeWrite Commit(const QString& baseName, const QString& extension);

  private:
    void Fail(const QString& what, int error);
    void Discard();

    QString m_folder;
    int m_dir = -1;
    int m_fd = -1;
    QByteArray m_tempName;
    QString m_error;
};

// Flushes the folder's new names to the disk.
bool SyncFolder(const QString& folder);

SafeWrite WriteFileSafely(const QString& folder, const QString& baseName, const QString& extension,
                          const QByteArray& bytes);
