#pragma once
// frmFlash: the window shown while the program starts: the program title on a flat button
// face inside a 4-pixel raised border (white along the top and left edges, dark grey
// RGB(64, 64, 64) along the bottom and right edges).

#include <QWidget>

class QLabel;

namespace orv::gui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const QString& title, QWidget* parent = nullptr);
    void setTitle(const QString& title);
    QString title() const;

    // Border width in pixels at the screen's scale (4 at 96 dpi).
    int borderWidth() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QLabel* m_title = nullptr;
};

} // namespace orv::gui
