#pragma once
// orvante-cli run as a separate process, as a user's script runs it: the exit code, what it
// printed, and the last line of stderr.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace orv::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QByteArray lastErrLine() const { return err.trimmed().split('\n').last(); }
};

// Runs orvante-cli from ORVANTE_BIN_DIR in the C locale, without the variables in `unset`.
inline CliRun cli(const QStringList& args, const QStringList& unset = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    for (const QString& name : unset)
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("ORVANTE_BIN_DIR") + QStringLiteral("/orvante-cli"), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace orv::test
