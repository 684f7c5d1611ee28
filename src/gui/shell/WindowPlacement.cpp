#include "shell/WindowPlacement.h"

#include "shell/WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace orv::gui {

namespace {

// How long after the window first shows its frame is waited for. Window managers frame a new
// window within a few milliseconds; some platforms never report a frame.
constexpr int FrameWaitMs = 1000;

} // namespace

WindowPlacement::WindowPlacement(QWidget& window, QString programIni, QSize wanted)
    : QObject(&window), m_window(window), m_programIni(std::move(programIni)), m_wanted(wanted) {
    setObjectName(QStringLiteral("windowPlacement"));
    window.installEventFilter(this);
}

QList<QRect> WindowPlacement::availableAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    return areas;
}

void WindowPlacement::restore() {
    const WindowGeometry fitted = fitWindowGeometry(m_wanted, availableAreas(), readWindowGeometry(m_programIni));
    m_window.setGeometry(fitted.normal);
    if (fitted.maximized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
}

bool WindowPlacement::store() const {
    return storeWindowGeometry(m_programIni,
                               {m_window.normalGeometry(), m_window.windowState().testFlag(Qt::WindowMaximized)});
}

bool WindowPlacement::frameKnown() const { return m_window.frameGeometry() != m_window.geometry(); }

void WindowPlacement::fitWithFrame() {
    if (!m_settling)
        return;
    m_settling = false;
    if (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QRect client = m_window.geometry();
    const QRect frame = m_window.frameGeometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    const WindowGeometry fitted =
        fitWindowGeometry(m_wanted, availableAreas(), {client.topLeft(), client.size(), false}, margins);
    if (fitted.normal != client)
        m_window.setGeometry(fitted.normal);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &m_window) {
        const QEvent::Type type = e->type();
        if (type == QEvent::Show && !m_shown) {
            m_shown = m_settling = true;
            QTimer::singleShot(FrameWaitMs, this, &WindowPlacement::fitWithFrame);
        }
        // Queued: the window is not resized from inside its own events.
        if (m_settling && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) && frameKnown())
            QTimer::singleShot(0, this, &WindowPlacement::fitWithFrame);
    }
    return QObject::eventFilter(watched, e);
}

} // namespace orv::gui
