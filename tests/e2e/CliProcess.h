#pragma once
// orvante-radio-sim run as a separate process, the virtual radio on its pseudo-terminal, and a
// program folder its user cannot write; the commands run as common/CliProcess.h runs them.

#include "common/CliProcess.h"
#include "common/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace orv::test {

// The virtual radio on its pseudo-terminal, stopped (and its memory saved) when it goes.
struct Radio {
    QProcess process;
    QString device;
    // `command`: the program, after whatever runs it as another user (the pseudo-terminal is
    // then that user's).
    explicit Radio(const QStringList& args, const QStringList& command = {bin("orvante-radio-sim")}) {
        process.start(command.first(), command.mid(1) + args);
        if (process.waitForReadyRead(5000))
            device = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    bool stop() {
        process.terminate();
        return process.waitForFinished(5000) && process.exitCode() == 0;
    }
    ~Radio() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
};

// A program folder its user cannot write, holding copies of the programs and the catalog, as an
// installation the user does not own has it. For root, whom folder permissions do not stop,
// the programs run as "nobody" (through setpriv), for whom the folder really is read-only.
struct ReadOnlyInstall {
    QTemporaryDir root;
    QStringList runAs; // prefix of every command run as the installation's user
    QString program;   // the program folder
    QString configHome;
    bool copied = false;
    QString skipWhy; // why this system cannot have such a folder

    ReadOnlyInstall() {
        program = root.filePath("program");
        configHome = root.filePath("config");
        copied = QDir().mkpath(program) && QDir().mkpath(configHome + "/orvante");
        for (const char* name : {"orvante-cli", "orvante-radio-sim", "vuxPC.ini"})
            copied = copied && QFile::copy(bin(name), program + "/" + name);
        if (!copied)
            return;
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (setpriv.isEmpty()) {
                skipWhy = "running as root, and setpriv (util-linux) is not there to run as another user";
                return;
            }
            runAs = {setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
        }
        const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                  QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(root.path(), readAndEnter | QFile::WriteOwner);
        QFile::setPermissions(program, readAndEnter);
        // The folder test the program makes, done by the user who runs it.
        if (runCommand(runAs + QStringList{"/usr/bin/test", "-w", program}).exitCode != 1)
            skipWhy = "the program folder is still writable for the user running the program";
    }
    ~ReadOnlyInstall() {
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", configHome);
        return env;
    }
    QStringList command(const QString& name) const { return runAs + QStringList{program + "/" + name}; }
    Run cli(const QStringList& args) const {
        return runCommand(command("orvante-cli") + args, {}, environment());
    }
};

// The image rows of `orvante-cli dump FILE`, "000: .." to "3F0: ..".
inline QList<QByteArray> dump(const QString& file) {
    const Run r = cli({"dump", file});
    return r.out.split('\n').mid(0, 64);
}

} // namespace orv::test
