#include "history/HistoryModels.h"

namespace orv {

namespace {

bool take(QSqlQueryModel& model, QSqlQuery&& query, const QStringList& captions) {
    if (!query.isActive()) {
        model.clear();
        return false;
    }
    model.setQuery(std::move(query));
    for (int c = 0; c < captions.size(); ++c)
        model.setHeaderData(c, Qt::Horizontal, captions[c]);
    return true;
}

} // namespace

bool HistoryRadiosModel::load(HistoryDatabase& db) {
    return take(*this, db.radiosQuery(false),
                {tr("Radio ID"), tr("Model"), tr("First Seen"), tr("Last Seen"), tr("Events")});
}

bool HistoryEventsModel::load(HistoryDatabase& db, const std::optional<QString>& radioId) {
    return take(*this, db.eventsQuery(radioId, false),
                {tr("Time"), tr("Radio ID"), tr("Model"), tr("Data Version"), tr("Port"), tr("Operation"),
                 tr("Result"), tr("Message"), tr("SHA-256"), tr("Backup"), tr("Program Version")});
}

HistorySearchProxy::HistorySearchProxy(QObject* parent)
    : QSortFilterProxyModel(parent), m_columns{HistoryEventsModel::RadioId, HistoryEventsModel::Message,
                                               HistoryEventsModel::Operation} {}

void HistorySearchProxy::setSearchText(const QString& text) {
    m_text = text.trimmed();
    invalidateFilter();
}

void HistorySearchProxy::setSearchColumns(QList<int> columns) {
    m_columns = std::move(columns);
    invalidateFilter();
}

bool HistorySearchProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (m_text.isEmpty())
        return true;
    for (int column : m_columns) {
        const QModelIndex index = sourceModel()->index(sourceRow, column, sourceParent);
        if (index.data().toString().contains(m_text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace orv
