#include "shell/DifferencesDialog.h"

#include "compare/DiffReport.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

using namespace orv::compare;

namespace {

enum ListColumn { ColSection, ColPlace, ColField, ColThis, ColOther, ListColumns };

// The list's width at first: its columns without cutting, within these bounds; its height:
// that many rows at most (a longer list scrolls), four at least.
constexpr int MinListWidth = 480;
constexpr int MaxListWidth = 1000;
constexpr int ListRows = 14;
constexpr int MinListRows = 4;
// A column at first: its texts and some room, no wider than this (a long information text is
// cut; its tooltip has it whole).
constexpr int ColumnPadding = 16;
constexpr int MaxColumnWidth = 260;

// How the Section column names a section.
QString sectionCaption(Section section) {
    switch (section) {
    case Section::Model: return QStringLiteral("Model");
    case Section::Channel: return QStringLiteral("Channel");
    case Section::Settings: return QStringLiteral("Settings");
    case Section::TestChannel: return QStringLiteral("Test Channel");
    case Section::TuneValue: return QStringLiteral("Tune Value");
    case Section::RadioInfo: return QStringLiteral("Radio Information");
    case Section::Bytes: return QStringLiteral("Bytes");
    }
    return QString();
}

// Two rows name the same thing when their place and field are the same.
bool samePlace(const Difference& a, const Difference& b) {
    return a.section == b.section && a.number == b.number && a.field == b.field && a.area == b.area &&
           a.start == b.start;
}

// The list asks for room for the rows it shows; Ctrl+C copies the whole list, not one cell.
class DifferenceList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    QSize sizeHint() const override { return hint.isValid() ? hint : QTreeWidget::sizeHint(); }
    QSize hint;
    std::function<void()> copy;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Copy) && copy) {
            copy();
            e->accept();
            return;
        }
        QTreeWidget::keyPressEvent(e);
    }
};

} // namespace

DifferencesDialog::DifferencesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDifferences"));
    setWindowTitle(QStringLiteral("Differences"));

    m_sides = new QLabel(this);
    m_sides->setObjectName(QStringLiteral("lblSides"));
    m_sides->setWordWrap(true);
    m_sides->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("cboScope"));
    m_scope->addItem(QStringLiteral("All"), int(Scope::All));
    m_scope->addItem(QStringLiteral("Programming (what Write sends)"), int(Scope::Programming));
    m_scope->setItemData(0, QStringLiteral("Everything the two sides hold"), Qt::ToolTipRole);
    m_scope->setItemData(1,
                         QStringLiteral("The channels, the settings and the model block, without the data "
                                        "version and the date stamp that Write replaces"),
                         Qt::ToolTipRole);
    auto* scopeCaption = new QLabel(QStringLiteral("&Scope:"), this);
    scopeCaption->setBuddy(m_scope);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    m_count->setWordWrap(true);

    m_list = new DifferenceList(this);
    m_list->setObjectName(QStringLiteral("lstDifferences"));
    m_list->setAccessibleName(QStringLiteral("Differences"));
    m_list->setColumnCount(ListColumns);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);

    m_none = new QLabel(QStringLiteral("No differences"), this);
    m_none->setObjectName(QStringLiteral("lblNoDifferences"));
    m_none->setAlignment(Qt::AlignCenter);
    QFont big = m_none->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    m_none->setFont(big);
    m_none->setMinimumHeight(m_none->sizeHint().height() * 3);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblWhere"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto* buttons = new QDialogButtonBox(this);
    m_copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    m_copy->setObjectName(QStringLiteral("cmdCopy"));
    m_copy->setToolTip(QStringLiteral("Copy the list as text, one line per difference"));
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    // Enter belongs to the list (go to the difference's place); Escape and Close close.
    for (QPushButton* b : {m_copy, m_close}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(m_copy, &QPushButton::clicked, this, &DifferencesDialog::copy);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    static_cast<DifferenceList*>(m_list)->copy = [this] { copy(); };

    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(scopeCaption);
    scopeRow->addWidget(m_scope);
    scopeRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sides);
    layout->addLayout(scopeRow);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_none, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    connect(m_scope, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_list, &QTreeWidget::activated, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() < m_differences.size())
            emit differenceActivated(m_differences[index.row()]);
    });
}

void DifferencesDialog::setComparison(const QString& sides, const QString& thisHeader, const QString& otherHeader,
                                      Source source) {
    m_sides->setText(sides);
    m_list->setHeaderLabels({QStringLiteral("Section"), QStringLiteral("Place"), QStringLiteral("Field"), thisHeader,
                             otherHeader});
    m_source = std::move(source);
    // A new comparison starts at its first row.
    m_list->clear();
    m_differences.clear();
    refresh();
    setNote(QString());
    fitColumns();
}

Scope DifferencesDialog::scope() const { return Scope(m_scope->currentData().toInt()); }

void DifferencesDialog::setScope(Scope scope) { m_scope->setCurrentIndex(m_scope->findData(int(scope))); }

void DifferencesDialog::refresh() {
    const int chosenRow = m_list->indexOfTopLevelItem(m_list->currentItem());
    const std::optional<Difference> chosen =
        chosenRow >= 0 && chosenRow < m_differences.size() ? std::optional(m_differences[chosenRow]) : std::nullopt;

    m_differences = m_source ? m_source(scope()) : Differences();
    m_list->clear();
    int keep = -1;
    for (const Difference& d : m_differences) {
        auto* item = new QTreeWidgetItem(m_list, {sectionCaption(d.section), d.place(), d.label, d.aText, d.bText});
        item->setToolTip(ColThis, d.aText);
        item->setToolTip(ColOther, d.bText);
        if (keep < 0 && chosen && samePlace(*chosen, d))
            keep = m_list->topLevelItemCount() - 1;
    }
    const int n = int(m_differences.size());
    if (n > 0)
        m_list->setCurrentItem(m_list->topLevelItem(keep >= 0 ? keep : std::clamp(chosenRow, 0, n - 1)));

    m_list->setVisible(n > 0);
    m_none->setVisible(n == 0);
    m_count->setVisible(n > 0);
    const QString hint = QStringLiteral("Double-click a channel or settings difference, or press Enter, to go to its "
                                        "place.");
    m_count->setText((n == 1 ? QStringLiteral("1 difference. ") : QStringLiteral("%1 differences. ").arg(n)) + hint);
}

// A new comparison: the columns take the width of their texts, and the dialog the size the
// list needs (never smaller than it is while shown); otherwise the sizes are the user's.
void DifferencesDialog::fitColumns() {
    // The last column counts with its texts' width, not the width stretching gave it.
    m_list->header()->setStretchLastSection(false);
    int width = 0;
    for (int c = 0; c < ListColumns; ++c) {
        m_list->resizeColumnToContents(c);
        m_list->setColumnWidth(c, std::min(m_list->columnWidth(c) + ColumnPadding, MaxColumnWidth));
        width += m_list->columnWidth(c);
    }
    m_list->header()->setStretchLastSection(true);
    width += 2 * m_list->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const int rowHeight = std::max(m_list->fontMetrics().height() + 4,
                                   m_list->topLevelItemCount() > 0 ? m_list->sizeHintForRow(0) : 0);
    const int rows = std::clamp(int(m_differences.size()), MinListRows, ListRows);
    static_cast<DifferenceList*>(m_list)->hint =
        QSize(std::clamp(width, MinListWidth, MaxListWidth),
              rowHeight * rows + m_list->header()->sizeHint().height() + 2 * m_list->frameWidth());
    m_list->updateGeometry();
    layout()->activate();
    resize(isVisible() ? size().expandedTo(sizeHint()) : sizeHint());
}

QString DifferencesDialog::copyText() const { return differencesText(m_differences); }

void DifferencesDialog::copy() { QGuiApplication::clipboard()->setText(copyText()); }

void DifferencesDialog::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

} // namespace orv::gui
