#include "fleet/FleetTable.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>

namespace orv::gui {

FleetTable::FleetTable(QWidget* parent) : QTableWidget(0, ColumnCount, parent) {
    setObjectName(QStringLiteral("tblPorts"));
    setHorizontalHeaderLabels({QStringLiteral("Port"), QStringLiteral("State"), QStringLiteral("Radio"),
                               QStringLiteral("Radio ID"), QStringLiteral("Message"), QStringLiteral("Progress"),
                               QString()});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(ColMessage, QHeaderView::Stretch);
    for (Column c : {ColPort, ColState, ColRadio, ColRadioId, ColNext})
        horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    setColumnWidth(ColProgress, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16);
    setColumnHidden(ColNext, true);
}

void FleetTable::setPorts(const QStringList& labels, bool prompt) {
    setRowCount(0);
    setRowCount(int(labels.size()));
    setColumnHidden(ColNext, !prompt);
    for (int row = 0; row < labels.size(); ++row) {
        for (int c = ColPort; c <= ColMessage; ++c)
            setItem(row, c, new QTableWidgetItem);
        item(row, ColPort)->setText(labels[row]);
        item(row, ColState)->setText(fleet::portStateText(fleet::PortState::Waiting));
        auto* bar = new QProgressBar(this);
        bar->setObjectName(QStringLiteral("barPort_%1").arg(row + 1));
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->setTextVisible(false);
        setCellWidget(row, ColProgress, bar);
        if (prompt) {
            auto* next = new QPushButton(QStringLiteral("Next"), this);
            next->setObjectName(QStringLiteral("cmdNext_%1").arg(row + 1));
            next->setEnabled(false);
            connect(next, &QPushButton::clicked, this, [this, row] { emit nextClicked(row); });
            setCellWidget(row, ColNext, next);
        }
    }
}

void FleetTable::showStatus(const fleet::PortStatus& s) {
    if (s.index < 0 || s.index >= rowCount())
        return;
    item(s.index, ColPort)->setText(s.port);
    item(s.index, ColState)->setText(s.stateText());
    item(s.index, ColRadio)->setText(s.radio > 0 ? QString::number(s.radio) : QString());
    item(s.index, ColRadioId)->setText(s.radioId);
    item(s.index, ColMessage)->setText(s.message);
    item(s.index, ColMessage)->setToolTip(s.message);
    if (QProgressBar* bar = progressBar(s.index)) {
        const bool done = s.state == fleet::PortState::Done;
        bar->setRange(0, std::max(s.maximum, 1));
        bar->setValue(done ? bar->maximum() : std::min(s.value, std::max(s.maximum, 1)));
    }
    if (QPushButton* next = nextButton(s.index))
        next->setEnabled(s.awaitingNext && !s.finished);
}

QString FleetTable::text(int row, Column column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

QProgressBar* FleetTable::progressBar(int row) const { return qobject_cast<QProgressBar*>(cellWidget(row, ColProgress)); }

QPushButton* FleetTable::nextButton(int row) const { return qobject_cast<QPushButton*>(cellWidget(row, ColNext)); }

} // namespace orv::gui
