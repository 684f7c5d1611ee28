#include "ImportApply.h"

#include "document/Document.h"
#include "import/GridCells.h"
#include "import/JsonImport.h"

#include <algorithm>

namespace orv {

namespace {

// The place of a cell in the order of application.
int phase(const CellTarget& t) {
    switch (t.kind) {
    case CellKind::Setting:
        return 0;
    case CellKind::ChannelCell:
        return 1;
    case CellKind::ChannelNoTx:
        return 2;
    case CellKind::ChannelNoCh:
        return 3;
    case CellKind::TestCell:
        return t.column == TuneColRxStep || t.column == TuneColTxStep ? 4 : 5;
    case CellKind::TestNoTx:
        return 6;
    case CellKind::TestNoCh:
        return 7;
    case CellKind::InfoText:
        return 8;
    }
    return 9;
}

// Settings in the order they are applied: Power Select reshapes the Monitor list.
int settingOrder(int setting) {
    if (setting == int(Setting::PowerSelect))
        return -1;
    return setting;
}

QList<CellInput> inApplyOrder(QList<CellInput> cells) {
    std::stable_sort(cells.begin(), cells.end(), [](const CellInput& a, const CellInput& b) {
        const int pa = phase(a.target), pb = phase(b.target);
        if (pa != pb)
            return pa < pb;
        if (pa == 0)
            return settingOrder(a.target.column) < settingOrder(b.target.column);
        return a.target.row < b.target.row;
    });
    return cells;
}

struct Change {
    CellTarget target;
    QString text;
};

// What the import does, worked out on a copy of the document.
struct Plan {
    std::optional<int> model;
    QList<Change> changes;
};

Plan planOnCopy(const Document& doc, const ImportInput& input, ImportReport& report) {
    Document copy(doc.startup(), doc.catalog(), doc.clock(), doc.numbers());
    copy.restore(doc.state());
    QObject::connect(&copy, &Document::noted, [&report](const QString& note) {
        report.notes << note.split(QStringLiteral("  "), Qt::SkipEmptyParts);
    });
    Plan plan;
    SilentFeedback yes(Answer::Yes); // the file names the model: choosing it is confirmed
    if (input.modelPosition && *input.modelPosition != copy.selectedModel()) {
        const ModelInfo* before = copy.selectedModelInfo();
        const QString was = before ? before->name : QString();
        if (copy.chooseModel(*input.modelPosition, yes)) {
            plan.model = input.modelPosition;
            report.notes << QStringLiteral("Model: %1 -> %2 (a new image for it)").arg(was, copy.selectedModelInfo()->name);
        }
    }
    for (const CellInput& cell : inApplyOrder(input.cells)) {
        if (cell.text == shownText(copy, cell.target))
            continue;
        const CellRule rule = cellRule(copy, cell.target, cell.text);
        if (!rule.ok()) {
            report.errors << cell.where + QStringLiteral(": ") + rule.error;
            continue;
        }
        if (!rule.note.isEmpty())
            report.notes << rule.note;
        if (applyCellText(copy, cell.target, rule.text))
            plan.changes << Change{cell.target, rule.text};
    }
    return plan;
}

} // namespace

ImportReport previewImport(const Document& doc, const ImportInput& input) {
    ImportReport report;
    report.errors = input.errors;
    report.cellsChanged = int(planOnCopy(doc, input, report).changes.size());
    return report;
}

ImportReport applyImport(Document& doc, const ImportInput& input, const ImportOptions& options) {
    ImportReport report;
    report.errors = input.errors;
    const Plan plan = planOnCopy(doc, input, report);
    if ((!report.errors.isEmpty() && !options.keepGoing) || (plan.changes.isEmpty() && !plan.model))
        return report;
    SilentFeedback yes(Answer::Yes);
    const Document::Step step(doc, options.label.arg(plan.changes.size()));
    if (plan.model)
        doc.chooseModel(*plan.model, yes);
    for (const Change& change : plan.changes)
        report.cellsChanged += applyCellText(doc, change.target, change.text) ? 1 : 0;
    report.applied = true;
    return report;
}

bool isImportFileName(const QString& name) {
    return name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

std::optional<ImportInput> readImportFile(const QString& name, const QByteArray& bytes, const ModelCatalog& catalog) {
    if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return readChannelCsv(bytes);
    if (name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return readImportJson(bytes, catalog);
    return std::nullopt;
}

} // namespace orv
