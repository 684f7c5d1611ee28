#include "PtyRadio.h"

#include "link/Trace.h"
#include "sim/VirtualRadio.h"

#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace orv::sim {

namespace {

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyRadio::PtyRadio(VirtualRadio& radio)
    : m_radio(radio), m_radioEnd(radio), m_start(std::chrono::steady_clock::now()) {}

PtyRadio::~PtyRadio() {
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

std::int64_t PtyRadio::nowNs() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - m_start).count();
}

bool PtyRadio::open(QString* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return *error = systemError("cannot create a pseudo-terminal"), false;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return *error = systemError("cannot unlock the pseudo-terminal"), false;
    char name[256];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return *error = systemError("cannot name the pseudo-terminal"), false;
    m_path = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return *error = systemError("cannot open the pseudo-terminal's device"), false;
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return *error = systemError("cannot read the terminal settings"), false;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag |= CSTOPB | CLOCAL | CREAD;
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return *error = systemError("cannot set the terminal raw"), false;
    return true;
}

void PtyRadio::trace(bool tx, const QByteArray& bytes) {
    if (!m_trace || bytes.isEmpty())
        return;
    m_trace->write(traceLine(nowNs() / 1'000'000, tx, bytes).toLatin1() + '\n');
}

// The pseudo-terminal gave these bytes at once; on a cable each arrives a byte time after the
// one before it has.
void PtyRadio::received(const QByteArray& bytes) {
    trace(false, bytes);
    std::int64_t t = std::max(nowNs(), m_rxFreeNs);
    for (char b : bytes) {
        t += RadioByteTimeNs;
        m_toRadio.push_back({b, t});
    }
    m_rxFreeNs = t;
}

void PtyRadio::deliverDue(std::int64_t now) {
    while (!m_toRadio.empty() && m_toRadio.front().atNs <= now) {
        const Timed in = m_toRadio.front();
        m_toRadio.pop_front();
        m_radioEnd.arrive(in, m_fromRadio);
    }
}

void PtyRadio::writeDue(std::int64_t now) {
    QByteArray due;
    while (!m_fromRadio.empty() && m_fromRadio.front().atNs <= now) {
        due.append(m_fromRadio.front().byte);
        m_fromRadio.pop_front();
    }
    if (due.isEmpty())
        return;
    trace(true, due);
    // With no client reading, the terminal's buffer may be full: the bytes are lost, as they
    // would be on a cable nobody listens to.
    ssize_t n;
    do
        n = ::write(m_master, due.constData(), size_t(due.size()));
    while (n < 0 && errno == EINTR);
}

std::int64_t PtyRadio::serviceDue() {
    const std::int64_t now = nowNs();
    deliverDue(now);
    writeDue(now);
    std::int64_t next = -1;
    if (!m_toRadio.empty())
        next = m_toRadio.front().atNs;
    if (!m_fromRadio.empty())
        next = next < 0 ? m_fromRadio.front().atNs : std::min(next, m_fromRadio.front().atNs);
    return next < 0 ? -1 : std::max<std::int64_t>(0, next - nowNs());
}

bool PtyRadio::takeInput(short events, QString* error) {
    if (events & POLLIN) {
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            received(QByteArray(buffer, qsizetype(n)));
        else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
            *error = systemError("reading the terminal failed");
            return false;
        }
    } else if (events & (POLLERR | POLLNVAL)) {
        *error = QStringLiteral("the pseudo-terminal failed");
        return false;
    }
    return true;
}

bool PtyRadio::serve(const std::vector<PtyRadio*>& radios, int stopFd, bool watchStdin, QString* error) {
    // The terminals first, then the stop signal and standard input.
    std::vector<pollfd> fds;
    for (PtyRadio* r : radios)
        fds.push_back({r->m_master, POLLIN, 0});
    const size_t stopAt = fds.size();
    fds.push_back({stopFd, POLLIN, 0});
    fds.push_back({STDIN_FILENO, POLLIN, 0});
    for (;;) {
        std::int64_t wait = -1; // ns until the first byte due on any radio
        for (PtyRadio* r : radios) {
            const std::int64_t left = r->serviceDue();
            if (left >= 0)
                wait = wait < 0 ? left : std::min(wait, left);
        }
        timespec timeout{};
        if (wait >= 0) {
            timeout.tv_sec = time_t(wait / 1'000'000'000);
            timeout.tv_nsec = long(wait % 1'000'000'000);
        }
        for (pollfd& f : fds)
            f.revents = 0;
        const int r = ::ppoll(fds.data(), nfds_t(watchStdin ? fds.size() : fds.size() - 1), wait >= 0 ? &timeout : nullptr,
                              nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            *error = systemError("waiting for the terminal failed");
            return false;
        }
        if (fds[stopAt].revents)
            return true;
        if (watchStdin && fds[stopAt + 1].revents) {
            char sink[256];
            const ssize_t n = ::read(STDIN_FILENO, sink, sizeof sink);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                return true; // end of standard input
        }
        for (size_t i = 0; i < radios.size(); ++i)
            if (!radios[i]->takeInput(fds[i].revents, error))
                return false;
    }
}

} // namespace orv::sim
