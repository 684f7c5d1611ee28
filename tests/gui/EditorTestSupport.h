#pragma once
// A session on a small catalog for the editor tests, and the grid gestures they share.

#include "Clock.h"
#include "catalog/ModelCatalog.h"
#include "catalog/StartupConfig.h"
#include "common/RecordingFeedback.h"
#include "session/Session.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QComboBox>
#include <QListView>
#include <QtTest>

namespace orv::test {

// Position 0 (value 7) is chosen at start-up; position 2 has the fixed band width colouring;
// position 3 (value 32) snaps to the 6.25 kHz raster only.
inline ModelCatalog editorCatalog() {
    return ModelCatalog({
        {QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
        {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0},
        {QStringLiteral("Fixed"), 10, 450.0, 520.0, 440.0, 520.0},
        {QStringLiteral("PMR"), 32, 446.00625, 446.19375, 446.00625, 446.19375},
    });
}

struct EditorSession {
    VirtualClock clock;
    Session session{startup(), editorCatalog(), clock};
    RecordingFeedback feedback;
    EditorSession() { session.startUp(feedback); }

    static StartupValues startup() {
        StartupValues v;
        v.title = QStringLiteral("ORVANTE Programming Software");
        v.modelCount = 4;
        return v;
    }
};

inline QModelIndex cell(QAbstractItemView* view, int row, int column) {
    return view->model()->index(row, column);
}

inline void clickCell(QAbstractItemView* view, int row, int column) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell(view, row, column)).center());
}

inline QString cellText(QAbstractItemView* view, int row, int column) {
    return cell(view, row, column).data().toString();
}

inline QColor cellColour(QAbstractItemView* view, int row, int column) {
    return cell(view, row, column).data(Qt::ForegroundRole).value<QBrush>().color();
}

// Picks an entry from a drop-down list the way a user does: open it, click the entry.
inline void choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->showPopup();
    QAbstractItemView* popup = list->view();
    QTRY_VERIFY(popup->isVisible());
    const QRect rect = popup->visualRect(popup->model()->index(index, 0));
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!popup->isVisible());
}

} // namespace orv::test
