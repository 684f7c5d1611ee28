#include "shell/CheckDialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {

// The list's width at first: its widest warning without cutting, within these bounds; its
// height: that many rows at most (a longer list scrolls), three at least.
constexpr int MinListWidth = 480;
constexpr int MaxListWidth = 1000;
constexpr int ListRows = 12;
constexpr int RowPadding = 4;

// The list asks for room for the warnings it shows.
class WarningList : public QListWidget {
public:
    using QListWidget::QListWidget;
    QSize sizeHint() const override { return hint.isValid() ? hint : QListWidget::sizeHint(); }
    QSize hint;
};

} // namespace

CheckDialog::CheckDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("Check"));

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    m_count->setWordWrap(true);
    m_list = new WarningList(this);
    m_list->setObjectName(QStringLiteral("lstWarnings"));
    m_list->setAccessibleName(QStringLiteral("Warnings"));
    // A warning wider than the list wraps onto a second line rather than being cut.
    m_list->setWordWrap(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_list->setIconSize(QSize(icon, icon));
    m_none = new QLabel(QStringLiteral("No warnings."), this);
    m_none->setObjectName(QStringLiteral("lblNoWarnings"));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblWhere"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto* buttons = new QDialogButtonBox(this);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    // Enter belongs to the list (go to the warning's cell); Escape and the button close.
    m_close->setAutoDefault(false);
    m_close->setDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_none);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit warningActivated(index.row());
    });
}

void CheckDialog::setWarnings(std::vector<CheckWarning> warnings) {
    const QListWidgetItem* current = m_list->currentItem();
    const QString chosen = current ? current->text() : QString();
    const int chosenRow = m_list->currentRow();
    const bool listShown = isVisible() && m_list->isVisible();

    m_warnings = std::move(warnings);
    m_list->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    int keep = -1;
    for (const CheckWarning& w : m_warnings) {
        auto* item = new QListWidgetItem(icon, w.text, m_list);
        item->setToolTip(w.text);
        if (keep < 0 && w.text == chosen)
            keep = m_list->count() - 1;
    }
    const int n = int(m_warnings.size());
    if (n > 0)
        m_list->setCurrentRow(keep >= 0 ? keep : std::clamp(chosenRow, 0, n - 1));

    m_list->setVisible(n > 0);
    m_none->setVisible(n == 0);
    m_count->setVisible(n > 0);
    m_count->setText(n == 1 ? QStringLiteral("1 warning. Double-click it, or press Enter, to go to its place.")
                            : QStringLiteral("%1 warnings. Double-click one, or press Enter, to go to its place.").arg(n));
    setNote(QString());
    if (!listShown)
        fitToWarnings();
}

// Shown afresh, or the first warnings after "No warnings.": the dialog takes the size the
// warnings need (never smaller than it is while shown); otherwise the size is the user's.
void CheckDialog::fitToWarnings() {
    // Rows measured unwrapped: the list's own measure wraps them to its present width.
    const QFontMetrics metrics = m_list->fontMetrics();
    int widest = 0;
    for (const CheckWarning& w : m_warnings)
        widest = std::max(widest, metrics.horizontalAdvance(w.text));
    const int icon = m_list->iconSize().width();
    const int margins = 2 * m_list->frameWidth() + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list);
    const int width = widest + icon + margins + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const int rowHeight = std::max(metrics.height(), icon) + 2 * m_list->spacing() + RowPadding;
    const int rows = std::clamp(int(m_warnings.size()), 3, ListRows);
    static_cast<WarningList*>(m_list)->hint =
        QSize(std::clamp(width, MinListWidth, MaxListWidth), rowHeight * rows + 2 * m_list->frameWidth());
    m_list->updateGeometry();
    layout()->activate();
    resize(isVisible() ? size().expandedTo(sizeHint()) : sizeHint());
}

void CheckDialog::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

} // namespace orv::gui
