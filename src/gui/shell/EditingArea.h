#pragma once
// The window's client area below the toolbar: the editing surface Picture1, which keeps the
// size its editors need and is moved under the scroll bars HScroll1 and VScroll1 when the
// window is smaller. A bar shows only while Picture1 does not fit; its maximum is the part
// that does not fit, one pixel per small step and 16 per large step. Command1 fills the
// corner while both bars show; cmdLeft comes and goes with HScroll1. Command2 is the
// invisible button that takes the focus when cell edits are committed.
//
// The mouse wheel scrolls too, and the keyboard focus is kept in view: moving with Tab to a
// list outside the visible part scrolls it in.

#include <QWidget>

class QPushButton;
class QScrollBar;
class QVBoxLayout;

namespace orv::gui {

class EditingArea : public QWidget {
    Q_OBJECT
public:
    explicit EditingArea(QWidget* parent = nullptr);

    QWidget* picture() const { return m_picture; }
    // The frames of both views, top to bottom.
    QVBoxLayout* pictureLayout() const { return m_pictureLayout; }
    QScrollBar* hScroll() const { return m_hScroll; }
    QScrollBar* vScroll() const { return m_vScroll; }
    QPushButton* parkingButton() const { return m_command2; }

    // Places Picture1 and the bars for the current size (the window's resize handling).
    void relayout();
    // Scrolls so that a widget on Picture1 is in view, or a part of it (in its coordinates:
    // a cell of a grid's viewport).
    void ensureVisible(QWidget* w);
    void ensureVisible(QWidget* w, const QRect& part);

signals:
    // A mouse button went down on the area's own background or on Picture1's.
    void backgroundPressed();
    void picturePressed();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void movePicture();
    // A vertical wheel turns into horizontal steps when sideways is set.
    void wheelScroll(QWheelEvent* e, bool sideways);

    QPushButton* m_command2 = nullptr;
    QWidget* m_picture = nullptr;
    QVBoxLayout* m_pictureLayout = nullptr;
    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_cmdLeft = nullptr;
};

} // namespace orv::gui
