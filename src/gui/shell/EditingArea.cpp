#include "shell/EditingArea.h"

#include "shell/ShellUnits.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace orv::gui {

namespace {
constexpr int LargeChangeSteps = 16;
constexpr int WheelLines = 3; // large changes per wheel notch: 3 x 16 pixels
} // namespace

EditingArea::EditingArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMainClient"));

    // Made first so that it sits behind everything and Tab from it starts at the first list.
    m_command2 = new QPushButton(this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setFocusPolicy(Qt::NoFocus); // setFocus() still parks the focus here
    m_command2->setFixedSize(0, 0);
    m_command2->setFlat(true);

    m_picture = new QWidget(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_pictureLayout = new QVBoxLayout(m_picture);
    const int gap = twipsToPixels(120, this);
    m_pictureLayout->setContentsMargins(gap, gap, gap, gap);
    m_pictureLayout->setSpacing(gap);
    // Picture1 keeps the size its contents need, whatever the window's size.
    m_pictureLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_picture->installEventFilter(this);

    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar* bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(1);
        bar->setPageStep(LargeChangeSteps);
        bar->setRange(0, 0);
        bar->hide();
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, &EditingArea::movePicture);
    }
    m_command1 = new QPushButton(this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setFocusPolicy(Qt::NoFocus);
    m_command1->hide();
    m_cmdLeft = new QPushButton(this);
    m_cmdLeft->setObjectName(QStringLiteral("cmdLeft"));
    m_cmdLeft->setFocusPolicy(Qt::NoFocus);
    m_cmdLeft->hide();

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_picture->isAncestorOf(now))
            ensureVisible(now);
    });
}

void EditingArea::relayout() {
    const int w = width(), h = height();
    const QSize pic = m_picture->size();
    const int barW = m_vScroll->sizeHint().width();
    const int barH = m_hScroll->sizeHint().height();

    // A bar is needed when Picture1 does not fit the space the other bar leaves.
    bool needH = pic.width() > w;
    bool needV = pic.height() > h;
    if (needH && !needV)
        needV = pic.height() > h - barH;
    if (needV && !needH)
        needH = pic.width() > w - barW;
    const int viewW = std::max(0, w - (needV ? barW : 0));
    const int viewH = std::max(0, h - (needH ? barH : 0));

    if (needH) {
        m_hScroll->setGeometry(0, viewH, viewW, barH);
        m_hScroll->setMaximum(pic.width() - viewW);
        m_hScroll->show();
        m_hScroll->raise();
    } else {
        m_hScroll->setValue(0);
        m_hScroll->setMaximum(0);
        m_hScroll->hide();
    }
    if (needV) {
        m_vScroll->setGeometry(viewW, 0, barW, viewH);
        m_vScroll->setMaximum(pic.height() - viewH);
        m_vScroll->show();
        m_vScroll->raise();
    } else {
        m_vScroll->setValue(0);
        m_vScroll->setMaximum(0);
        m_vScroll->hide();
    }
    m_command1->setGeometry(viewW, viewH, barW, barH);
    m_command1->setVisible(needH && needV);
    m_command1->raise();
    const int left = twipsToPixels(60, this);
    m_cmdLeft->setGeometry(-left, viewH, left, barH);
    m_cmdLeft->setVisible(needH);
    movePicture();
}

void EditingArea::movePicture() { m_picture->move(-m_hScroll->value(), -m_vScroll->value()); }

void EditingArea::ensureVisible(QWidget* w) {
    if (w)
        ensureVisible(w, w->rect());
}

void EditingArea::ensureVisible(QWidget* w, const QRect& part) {
    if (!w || !m_picture->isAncestorOf(w))
        return;
    const QRect r(w->mapTo(m_picture, part.topLeft()), part.size());
    const int viewW = m_vScroll->isVisible() ? m_vScroll->x() : width();
    const int viewH = m_hScroll->isVisible() ? m_hScroll->y() : height();
    auto bring = [](QScrollBar* bar, int start, int length, int view) {
        int v = bar->value();
        if (start + length > v + view)
            v = start + length - view;
        if (start < v)
            v = start;
        bar->setValue(v);
    };
    if (m_hScroll->isVisible())
        bring(m_hScroll, r.x(), r.width(), viewW);
    if (m_vScroll->isVisible())
        bring(m_vScroll, r.y(), r.height(), viewH);
}

void EditingArea::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    relayout();
}

void EditingArea::mousePressEvent(QMouseEvent* e) {
    e->accept();
    emit backgroundPressed();
}

void EditingArea::wheelEvent(QWheelEvent* e) {
    wheelScroll(e, !m_vScroll->isVisible() || (e->modifiers() & Qt::ShiftModifier));
}

void EditingArea::wheelScroll(QWheelEvent* e, bool sideways) {
    QPoint steps = e->pixelDelta();
    if (steps.isNull())
        steps = e->angleDelta() * (WheelLines * LargeChangeSteps) / 120;
    if (sideways && steps.x() == 0)
        steps = QPoint(steps.y(), 0);
    m_hScroll->setValue(m_hScroll->value() - steps.x());
    m_vScroll->setValue(m_vScroll->value() - steps.y());
    e->accept();
}

bool EditingArea::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_picture) {
        if (e->type() == QEvent::Resize)
            relayout();
        else if (e->type() == QEvent::MouseButtonPress) {
            emit picturePressed();
            return true;
        }
    } else if (e->type() == QEvent::Wheel) {
        // The bars take the same steps as the area instead of their own few pixels.
        wheelScroll(static_cast<QWheelEvent*>(e), watched == m_hScroll);
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace orv::gui
