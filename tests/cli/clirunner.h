#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// Runs the built kelvary-cli and collects what it printed.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun runCli(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral(KELVARY_CLI), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}
