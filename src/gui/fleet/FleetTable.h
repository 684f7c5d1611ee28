#pragma once
// The fleet window's table: one row per port of the run - the port, its state ("writing
// 45 %"), the number and radio ID of its radio, the last message, a progress bar, and a Next
// button for a run that swaps radios by prompt (enabled while the port waits for Next).

#include "fleet/FleetTypes.h"

#include <QTableWidget>

class QProgressBar;
class QPushButton;

namespace orv::gui {

class FleetTable : public QTableWidget {
    Q_OBJECT
public:
    enum Column { ColPort, ColState, ColRadio, ColRadioId, ColMessage, ColProgress, ColNext, ColumnCount };

    explicit FleetTable(QWidget* parent = nullptr);

    // A row for each port, waiting; the Next buttons only when `prompt`.
    void setPorts(const QStringList& labels, bool prompt);
    // The row of the port the status is about.
    void showStatus(const fleet::PortStatus& status);

    QString text(int row, Column column) const;
    QProgressBar* progressBar(int row) const;
    QPushButton* nextButton(int row) const; // nullptr without a Next column

signals:
    void nextClicked(int port);
};

} // namespace orv::gui
