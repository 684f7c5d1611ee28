#include "shell/SplashWindow.h"

#include "shell/ShellUnits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace orv::gui {

SplashWindow::SplashWindow(const QString& title, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmFlash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    m_title->setForegroundRole(QPalette::ButtonText);
    QFont f = m_title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.6);
    m_title->setFont(f);

    auto* version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(ORVANTE_VERSION)), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    version->setForegroundRole(QPalette::ButtonText);

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(360, this);
    layout->setContentsMargins(m, m, m, m);
    layout->addStretch(1);
    layout->addWidget(m_title);
    layout->addWidget(version);
    layout->addStretch(1);
    setFixedSize(twipsToPixels(6750, this), twipsToPixels(3000, this));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::setTitle(const QString& title) { m_title->setText(title); }
QString SplashWindow::title() const { return m_title->text(); }

int SplashWindow::borderWidth() const { return twipsToPixels(60, this); }

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    const QColor light(255, 255, 255), dark(64, 64, 64);
    // One line per pixel of the border, each one pixel further in: a raised bevel.
    for (int i = 0; i < borderWidth(); ++i) {
        p.fillRect(i, i, w - 2 * i, 1, light);         // top
        p.fillRect(i, i, 1, h - 2 * i, light);         // left
        p.fillRect(i, h - 1 - i, w - 2 * i, 1, dark);  // bottom
        p.fillRect(w - 1 - i, i, 1, h - 2 * i, dark);  // right
    }
}

} // namespace orv::gui
