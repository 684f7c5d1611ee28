#pragma once
// Qt SQL models of the radio history for views (the window's history dialog): the radios,
// the events (all, or one radio's), and a proxy that keeps the rows whose radio ID, message
// or operation hold a search text. The models read through a HistoryDatabase's connection
// and belong to its thread; clear or destroy them before the database closes.

#include "history/HistoryDatabase.h"

#include <QSortFilterProxyModel>
#include <QSqlQueryModel>
#include <optional>

namespace orv {

class HistoryRadiosModel : public QSqlQueryModel {
    Q_OBJECT
  public:
    enum Column { RadioId, ModelValue, FirstSeen, LastSeen, Events };
    explicit HistoryRadiosModel(QObject* parent = nullptr) : QSqlQueryModel(parent) {}
    // Every radio of the history, by radio ID. False when the history cannot be read.
    bool load(HistoryDatabase& db);
};

class HistoryEventsModel : public QSqlQueryModel {
    Q_OBJECT
  public:
    enum Column {
        Time,
        RadioId,
        ModelValue,
        DataVersion,
        Port,
        Operation,
        Result,
        Message,
        Sha256,
        Backup,
        ProgramVersion
    };
    explicit HistoryEventsModel(QObject* parent = nullptr) : QSqlQueryModel(parent) {}
    // The events, newest first; only those of `radioId` when given. False when the history
    // cannot be read.
    bool load(HistoryDatabase& db, const std::optional<QString>& radioId = std::nullopt);
    // The event of a row, as HistoryDatabase::events() gives it.
    HistoryEvent event(int row) const { return HistoryDatabase::eventFrom(record(row)); }
};

// Rows of a history model whose search columns hold the text, in any letter case; every row
// for an empty text. The columns default to the events' radio ID, message and operation.
class HistorySearchProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit HistorySearchProxy(QObject* parent = nullptr);
    void setSearchText(const QString& text);
    const QString& searchText() const { return m_text; }
    void setSearchColumns(QList<int> columns);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    QString m_text;
    QList<int> m_columns;
};

} // namespace orv
