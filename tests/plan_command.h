// The command line run as a process on plans and schedules: its exit status and both streams.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct Run {
    int status; // -1: ended by a signal
    QString out, err;
};

inline Run Command(const QStringList& args, const QString& folder = {},
                   const QString& program = MSL_PLAN_PATH) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
