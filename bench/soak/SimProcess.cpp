#include "SimProcess.h"

namespace orv::bench {

bool SimProcess::start(const QStringList& arguments, QString* error) {
    m_device.clear();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(m_program, arguments);
    if (!m_process.waitForStarted(5000) || !m_process.waitForReadyRead(5000)) {
        *error = QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString());
        stop();
        return false;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return true;
}

bool SimProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return false;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

} // namespace orv::bench
