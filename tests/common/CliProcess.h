#pragma once
// A program run as a separate process, as a user's script runs it: the exit code, what it
// printed, the last line of stderr; orvante-cli in the C locale.

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <functional>

namespace orv::test {

inline QString bin(const char* name) {
    return qEnvironmentVariable("ORVANTE_BIN_DIR") + QLatin1Char('/') + QLatin1String(name);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 ms = 0;
    QByteArray lastErrLine() const { return err.trimmed().split('\n').last(); }
};

// `command` is the program and its arguments; `environment` empty: this process's.
// `whileRunning` is called every 100 ms with the time so far; after a minute the run is given
// up (exit code -1).
inline Run runCommand(const QStringList& command, const std::function<void(qint64)>& whileRunning = {},
                      const QProcessEnvironment& environment = {}) {
    QProcess p;
    if (!environment.isEmpty())
        p.setProcessEnvironment(environment);
    QElapsedTimer t;
    t.start();
    p.start(command.first(), command.mid(1));
    while (!p.waitForFinished(100)) {
        if (t.elapsed() > 60000)
            return {};
        if (whileRunning)
            whileRunning(t.elapsed());
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError(), t.elapsed()};
}

// This process's environment in the C locale, without the variables in `unset`.
inline QProcessEnvironment cliEnvironment(const QStringList& unset = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    for (const QString& name : unset)
        env.remove(name);
    return env;
}

// orvante-cli from ORVANTE_BIN_DIR, without the variables in `unset`.
inline Run cli(const QStringList& args, const QStringList& unset = {}) {
    return runCommand(QStringList{bin("orvante-cli")} + args, {}, cliEnvironment(unset));
}

// orvante-cli, with `whileRunning` called as it runs (to act on it meanwhile).
inline Run cli(const QStringList& args, const std::function<void(qint64)>& whileRunning) {
    return runCommand(QStringList{bin("orvante-cli")} + args, whileRunning, cliEnvironment());
}

} // namespace orv::test
