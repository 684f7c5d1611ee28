#include "shell/HistoryDialog.h"

#include "history/HistoryDatabase.h"
#include "history/HistoryModels.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace orv::gui {

// The radios that have events holding the search text, or whose ID holds it; the radio
// without an ID shown as such, the model by name.
class RadioSearchProxy : public HistorySearchProxy {
public:
    explicit RadioSearchProxy(QObject* parent) : HistorySearchProxy(parent) {
        setSearchColumns({HistoryRadiosModel::RadioId});
    }
    // `radios`: the radios with events holding `text`; nothing when unknown.
    void setSearch(const QString& text, std::optional<QSet<QString>> radios) {
        m_radios = std::move(radios);
        setSearchText(text);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const QVariant value = HistorySearchProxy::data(index, role);
        if (role != Qt::DisplayRole)
            return value;
        if (index.column() == HistoryRadiosModel::RadioId && value.toString().isEmpty())
            return QStringLiteral("(no ID)");
        if (index.column() == HistoryRadiosModel::ModelValue && modelName && !value.isNull())
            return modelName(value.toInt());
        return value;
    }
    std::function<QString(int)> modelName;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override {
        if (HistorySearchProxy::filterAcceptsRow(sourceRow, sourceParent))
            return true;
        return m_radios &&
               m_radios->contains(sourceModel()->index(sourceRow, HistoryRadiosModel::RadioId, sourceParent).data().toString());
    }

private:
    std::optional<QSet<QString>> m_radios;
};

namespace {

QTableView* makeTable(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

// Two events are the same row when their time, operation and message are.
bool sameEvent(const HistoryEvent& a, const HistoryEvent& b) {
    return a.time == b.time && a.operation == b.operation && a.message == b.message;
}

} // namespace

HistoryDialog::HistoryDialog(HistoryDatabase& db, QWidget* parent) : QDialog(parent), m_db(db) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Radio History"));

    m_radios = new HistoryRadiosModel(this);
    m_radiosShown = new RadioSearchProxy(this);
    m_radiosShown->setSourceModel(m_radios);
    m_events = new HistoryEventsModel(this);
    m_eventsShown = new HistorySearchProxy(this);
    m_eventsShown->setSourceModel(m_events);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(QStringLiteral("Radio ID, message or operation"));
    m_search->setClearButtonEnabled(true);
    auto* searchCaption = new QLabel(QStringLiteral("&Search:"), this);
    searchCaption->setBuddy(m_search);

    m_radiosView = makeTable(this, "tblRadios", QStringLiteral("Radios"));
    m_radiosView->setModel(m_radiosShown);
    m_eventsView = makeTable(this, "tblEvents", QStringLiteral("Events"));
    m_eventsView->setModel(m_eventsShown);
    m_eventsLabel = new QLabel(this);
    m_eventsLabel->setObjectName(QStringLiteral("lblEvents"));

    m_openBackup = makeButton(this, "cmdOpenBackup", QStringLiteral("&Open Backup"),
                              QStringLiteral("Open the chosen event's backup as File > Open does"));
    m_compare = makeButton(this, "cmdCompare", QStringLiteral("Compare with &Current"),
                           QStringLiteral("List what differs between the data in the window and the backup"));
    m_showFolder = makeButton(this, "cmdShowFolder", QStringLiteral("Show &Folder"),
                              QStringLiteral("Show the folder of the chosen backup"));
    m_export = makeButton(this, "cmdExportCsv", QStringLiteral("&Export CSV..."),
                          QStringLiteral("Write the events listed to a CSV file"));
    QPushButton* close = makeButton(this, "cmdClose", QStringLiteral("Close"), QString());
    connect(m_openBackup, &QPushButton::clicked, this, [this] { emit openBackupClicked(chosenBackup()); });
    connect(m_compare, &QPushButton::clicked, this, [this] { emit compareClicked(chosenBackup()); });
    connect(m_showFolder, &QPushButton::clicked, this, [this] { emit showFolderClicked(chosenBackup()); });
    connect(m_export, &QPushButton::clicked, this, &HistoryDialog::exportClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchCaption);
    searchRow->addWidget(m_search, 1);
    auto* eventsPane = new QWidget(this);
    auto* eventsLayout = new QVBoxLayout(eventsPane);
    eventsLayout->setContentsMargins(0, 0, 0, 0);
    eventsLayout->addWidget(m_eventsLabel);
    eventsLayout->addWidget(m_eventsView, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_radiosView);
    split->addWidget(eventsPane);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_openBackup, m_compare, m_showFolder})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    connect(m_search, &QLineEdit::textChanged, this, [this] { applySearch(chosenRadio()); });
    connect(m_radiosView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &HistoryDialog::radioChosen);
    connect(m_eventsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &HistoryDialog::eventChosen);
    resize(960, 600);
    reload();
}

// A model that reads its query anew starts its view's columns afresh: the columns shown, in
// their order, are set again after each.
void HistoryDialog::arrangeColumns() {
    m_radiosView->setColumnHidden(HistoryRadiosModel::FirstSeen, true);
    for (int hidden : {HistoryEventsModel::RadioId, HistoryEventsModel::ModelValue, HistoryEventsModel::DataVersion,
                       HistoryEventsModel::Sha256, HistoryEventsModel::ProgramVersion})
        m_eventsView->setColumnHidden(hidden, true);
    // Time, Operation, Result, Message, Port, Backup.
    QHeaderView* columns = m_eventsView->horizontalHeader();
    if (columns->visualIndex(HistoryEventsModel::Port) < columns->visualIndex(HistoryEventsModel::Message))
        columns->moveSection(columns->visualIndex(HistoryEventsModel::Port),
                             columns->visualIndex(HistoryEventsModel::Message));
    // The last column shown takes the room left.
    for (QTableView* view : {m_radiosView, m_eventsView}) {
        const QHeaderView* header = view->horizontalHeader();
        int last = header->count() - 1;
        while (last > 0 && header->isSectionHidden(header->logicalIndex(last)))
            --last;
        for (int v = 0; v < last; ++v)
            view->resizeColumnToContents(header->logicalIndex(v));
    }
}

// The models go before the dialog's children: their queries before the connection.
HistoryDialog::~HistoryDialog() {
    m_radios->clear();
    m_events->clear();
}

void HistoryDialog::setModelNames(std::function<QString(int)> name) {
    m_radiosShown->modelName = std::move(name);
    arrangeColumns();
}

void HistoryDialog::reload() {
    const std::optional<QString> radio = chosenRadio();
    const std::optional<HistoryEvent> event = chosenEvent();
    {
        const QSignalBlocker quiet(m_radiosView->selectionModel());
        m_radios->load(m_db);
        while (m_radios->canFetchMore())
            m_radios->fetchMore();
        m_eventsOf.reset();
    }
    applySearch(radio);
    if (!event)
        return;
    for (int row = 0; row < m_eventsShown->rowCount(); ++row) {
        if (sameEvent(m_events->event(m_eventsShown->mapToSource(m_eventsShown->index(row, 0)).row()), *event)) {
            m_eventsView->setCurrentIndex(m_eventsShown->index(row, HistoryEventsModel::Time));
            break;
        }
    }
}

void HistoryDialog::applySearch(const std::optional<QString>& radio) {
    const QString wanted = m_search->text().trimmed();
    {
        const QSignalBlocker quiet(m_radiosView->selectionModel());
        m_radiosShown->setSearch(wanted, wanted.isEmpty() ? std::nullopt : m_db.radiosWithEventsHolding(wanted));
        m_eventsShown->setSearchText(wanted);
    }
    chooseRadio(radio);
}

void HistoryDialog::chooseRadio(const std::optional<QString>& radioId) {
    int row = 0;
    for (int r = 0; radioId && r < m_radiosShown->rowCount(); ++r)
        if (m_radiosShown->index(r, HistoryRadiosModel::RadioId).data(Qt::EditRole).toString() == *radioId)
            row = r;
    {
        const QSignalBlocker quiet(m_radiosView->selectionModel());
        m_radiosView->setCurrentIndex(m_radiosShown->index(row, HistoryRadiosModel::RadioId));
    }
    radioChosen();
}

void HistoryDialog::radioChosen() {
    const std::optional<QString> radio = chosenRadio();
    if (radio != m_eventsOf) {
        const QSignalBlocker quiet(m_eventsView->selectionModel());
        if (radio)
            m_events->load(m_db, *radio);
        else
            m_events->clear();
        m_eventsOf = radio;
    }
    // A search looks at every event of the radio, not only the rows read so far.
    if (!m_eventsShown->searchText().isEmpty())
        while (m_events->canFetchMore())
            m_events->fetchMore();
    arrangeColumns();
    const QString whose = !radio ? QString() : radio->isEmpty() ? QStringLiteral("the radio without an ID") : *radio;
    m_eventsLabel->setText(!radio                             ? QStringLiteral("No radio is listed.")
                           : m_eventsShown->searchText().isEmpty() ? QStringLiteral("Events of %1:").arg(whose)
                                                                  : QStringLiteral("Events of %1 holding \"%2\":")
                                                                        .arg(whose, m_eventsShown->searchText()));
    {
        const QSignalBlocker quiet(m_eventsView->selectionModel());
        m_eventsView->setCurrentIndex(m_eventsShown->index(0, HistoryEventsModel::Time));
    }
    eventChosen();
}

void HistoryDialog::eventChosen() {
    const bool backup = !chosenBackup().isEmpty();
    m_openBackup->setEnabled(backup);
    m_compare->setEnabled(backup);
    m_export->setEnabled(m_eventsShown->rowCount() > 0);
}

std::optional<QString> HistoryDialog::chosenRadio() const {
    const QModelIndex current = m_radiosView->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_radiosShown->index(current.row(), HistoryRadiosModel::RadioId).data(Qt::EditRole).toString();
}

std::optional<HistoryEvent> HistoryDialog::chosenEvent() const {
    const QModelIndex current = m_eventsView->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_events->event(m_eventsShown->mapToSource(current).row());
}

std::vector<HistoryEvent> HistoryDialog::shownEvents() const {
    while (m_events->canFetchMore())
        m_events->fetchMore();
    std::vector<HistoryEvent> out;
    for (int row = 0; row < m_eventsShown->rowCount(); ++row)
        out.push_back(m_events->event(m_eventsShown->mapToSource(m_eventsShown->index(row, 0)).row()));
    return out;
}

QString HistoryDialog::chosenBackup() const {
    const std::optional<HistoryEvent> event = chosenEvent();
    return event && !event->backup.isEmpty() && QFileInfo(event->backup).isFile() ? event->backup : QString();
}

} // namespace orv::gui
