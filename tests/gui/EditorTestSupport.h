#pragma once
// A document on a small catalog for the editor tests, and the grid gestures they share.

#include "common/TestSetup.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QComboBox>
#include <QListView>
#include <QtTest>

namespace orv::test {

// The editors' document: the editor catalog, started as the window starts it.
struct EditorSession : StartedDocument {
    Document& session;
    explicit EditorSession(NumberFormat numbers = NumberFormat())
        : StartedDocument(editorCatalog(), numbers), session(doc()) {}
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
