// Files that appear complete or not at all, and only where they are asked for: the bytes go to a
// hidden temporary file in the destination folder, every write, flush and close is checked, and
// only the complete file gets its name, without following a link and without replacing anything
// (a taken name gives "Name (2).ext", "Name (3).ext" ...). Reports saved from the window and the
// command line's files are written alike. Failures say in plain words what went wrong.
#pragma once

#include "output/print_report.h"

#include <QByteArray>
#include <QString>

// The path a file got, or why it could not be written.
struct SafeWrite {
    QString path;
    QString error;
    int errorNumber = 0; // what the system reported, for a short reason
    bool ok() const { return error.isEmpty(); }
};

// A file written in pieces, for output too long to hold in memory. Nothing is visible under a
// real name until Commit; destroying it uncommitted removes the temporary file, and so does a
// SIGTERM, SIGINT or SIGHUP that ends the program meanwhile.
class SafeFile {
  public:
    explicit SafeFile(const QString& folder);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The first failure so far, or empty.
    const QString& Error() const { return m_error; }
    void Append(const QByteArray& bytes);
    // Flushes and closes the file and names it baseName + "." + extension in the folder.
    SafeWrite Commit(const QString& baseName, const QString& extension);

  private:
    void Fail(int error, const QString& path);
    void Discard();

    QString m_folder;
    int m_dir = -1;
    int m_fd = -1;
    int m_slot = -1; // the signal handler's record of the temporary file
    QString m_error;
    int m_errorNumber = 0;
};

SafeWrite WriteFileSafely(const QString& folder, const QString& baseName, const QString& extension,
                          const QByteArray& bytes);

// A system error in a few plain words, for lists of files not written: "disk full".
QString ShortReason(int err);

// Removes the hidden temporary files of copies of the program that no longer run: a crash or
// SIGKILL gives no chance to remove them. Each name carries the process number of its writer.
void RemoveStaleParts(const QString& folder);

// Flushes the folder's new names to the disk.
bool SyncFolder(const QString& folder);

// The documents folder, made when its parent exists but it does not yet. Throws PrinterError
// when there is no usable home or documents folder.
QString DocumentsFolder();

// Saves a report as "baseName.pdf" (or a numbered name) in folder, with the mode of any new
// document of the user (0666 less the umask), and returns the path written; throws PrinterError.
// Hidden temporary files that copies of the program which no longer run left behind are
// removed first.
QString SaveReportFile(const QString& folder, const QString& baseName, const QByteArray& bytes);
