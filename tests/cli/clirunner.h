#pragma once

#include "audio/audioinputdeviceenumerator.h"
#include "cli/commands.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTextStream>

// The sample reports of the tests.
inline const QString reports = QStringLiteral(KELVARY_TEST_DATA "/reports/");

// Runs the built kelvary-cli and collects what it printed.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun runCli(const QStringList &arguments,
                     const QString &program = QStringLiteral(KELVARY_CLI))
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// What a subcommand run in process over fake hardware printed.
struct CommandRun {
    int exitCode = 0;
    QString out;
    QString err;
};

inline CommandRun runCommand(int (*command)(kelvary::cli::CommandContext &,
                                            const kelvary::AudioInputDeviceEnumerator &),
                             const QStringList &arguments,
                             std::shared_ptr<kelvary::FakeAudioHardware> hardware)
{
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    kelvary::cli::CommandContext context{arguments, out, err};
    run.exitCode = command(context, kelvary::AudioInputDeviceEnumerator(std::move(hardware)));
    out.flush();
    err.flush();
    return run;
}
