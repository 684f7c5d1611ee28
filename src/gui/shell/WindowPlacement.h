#pragma once
// The main window's size and place: it opens at the size it is written to open at, or at the
// size and place the user left it in last time (kept in the program's INI file, see
// WindowGeometry.h), never larger than the available area of its screen, and on a screen
// that is still there. The editing area keeps its layout at the top left when the window is
// larger than the editors.
//
// The frame the window manager adds is only known once the window is on the screen: the
// first fit counts without it, and once the frame is known (at the latest a second after the
// window first shows) the window is fitted again with it, so that its title bar and status
// bar are on the screen. After that the window is the user's to move.

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace orv::gui {

class WindowPlacement : public QObject {
    Q_OBJECT
public:
    // Looks after `window` (and becomes its child). `wanted` is the size it is written to
    // open at, the program's INI file is where the geometry is kept.
    WindowPlacement(QWidget& window, QString programIni, QSize wanted);

    // Before the window first shows: the kept geometry or the wanted size, fitted to the
    // screens, and the maximized state.
    void restore();
    // Keeps the geometry the user left the window in (its normal size and place, and whether
    // it is maximized); false when the INI file cannot be written.
    bool store() const;

    // Whether the window still waits to be fitted with its frame.
    bool fitting() const { return m_settling; }

    // The screens' available areas, the primary screen's first.
    static QList<QRect> availableAreas();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool frameKnown() const;
    void fitWithFrame();

    QWidget& m_window;
    QString m_programIni;
    QSize m_wanted;
    bool m_shown = false;
    bool m_settling = false;
};

} // namespace orv::gui
