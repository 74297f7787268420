// Saving a finished report as a file in the user's documents folder, so that a file that bears a
// report's name is always the whole report and nothing is written anywhere else: the bytes go to
// a hidden temporary file beside it, every write is checked, and only the complete file gets its
// name, without following a link and without replacing anything. Failures are PrinterErrors that
// say what went wrong in plain words.
#pragma once

#include "output/printer_device.h"

#include <QByteArray>
#include <QString>

// The documents folder, made when its parent exists but it does not yet. Throws PrinterError
// when there is no usable home or documents folder.
QString DocumentsFolder();

// Writes bytes as "baseName.pdf" in folder, or as "baseName (2).pdf", "baseName (3).pdf" ...
// when the name is taken by anything (a file, a folder, a link, another copy of the program).
// Returns the path written. The file gets the mode of any new document of the user (0666 less
// the umask). On failure nothing is left behind and PrinterError says why. A hidden temporary
// file that a copy of the program which no longer runs left behind is removed first.
QString SaveReportFile(const QString& folder, const QString& baseName, const QByteArray& bytes);
