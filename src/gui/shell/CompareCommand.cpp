#include "shell/CompareCommand.h"

#include "check/PlanCheck.h"
#include "compare/Compare.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "files/ChannelExport.h"
#include "shell/BesideWindow.h"
#include "shell/BusyCursor.h"
#include "shell/DialogFolders.h"
#include "shell/DifferencesDialog.h"
#include "shell/FileCommands.h"
#include "shell/FileDialog.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "shell/PlaceLead.h"

#include <QDir>
#include <QDateTime>
#include <QFileDialog>

#include <memory>
#include <optional>

namespace orv::gui {

using namespace orv::compare;

namespace {

const QString CurrentHeader = QStringLiteral("Current Data");

// A document of its own for another data set, started as the window starts.
std::unique_ptr<Document> startedLike(const Document& window) {
    auto doc = std::make_unique<Document>(window.startup(), window.catalog(), window.clock(), window.numbers());
    SilentFeedback quiet;
    doc->startUp(quiet);
    return doc;
}

// Where a difference shows in the window: the cell of its channel or test channel (for the
// "No CH" and "No Tx" boxes, which stand beside the row, its first frequency cell) or its
// settings list. Nothing for the other sections.
std::optional<CheckPlace> windowPlace(const Difference& d) {
    const auto cell = [&d](CheckPlace::Area area, int first, int count, QString (*key)(int)) {
        for (int c = first; c < count; ++c)
            if (key(c) == d.field)
                return CheckPlace{area, d.number, c};
        return CheckPlace{area, d.number, first};
    };
    switch (d.section) {
    case Section::Channel: return cell(CheckPlace::ChannelGrid, ColRxFreq, ChannelColumnCount, channelColumnKey);
    case Section::TestChannel:
        return cell(CheckPlace::TuneGrid, TuneColRxFreq, TuneColumnCount, testChannelColumnKey);
    case Section::Settings:
        for (int i = 0; i < SettingCount; ++i)
            if (settingCaption(Setting(i)) == d.field)
                return CheckPlace{CheckPlace::SettingsList, 0, 0, Setting(i)};
        return std::nullopt;
    default: return std::nullopt;
    }
}

} // namespace

CompareCommand::CompareCommand(MainWindow& window, OperateCommands& operate)
    : QObject(&window), m_window(window), m_operate(operate) {
    using Cmd = MainWindow::Command;
    window.setCommandHandler(Cmd::CompareWithFile, [this] { mnuCompareFile_Click(); });
    window.setCommandHandler(Cmd::CompareWithRadio, [this] { mnuCompareRadio_Click(); });
    m_chooseFile = [this](const QString& folder) {
        const auto dialog = makeFileDialog(&m_window, {QStringLiteral("Compare with File"), folder,
                                                       openFileFilters(), QStringLiteral("kvd"), false, {}});
        dialog->setObjectName(QStringLiteral("dlgCompareFile"));
        return runFileDialog(*dialog);
    };
    // The open dialog follows the window's data.
    connect(&window.document(), &Document::changed, this, [this] {
        if (m_dialog && m_dialog->isVisible())
            m_dialog->refresh();
    });
}

DifferencesDialog* CompareCommand::dialog() const { return m_dialog; }

void CompareCommand::mnuCompareFile_Click() {
    m_window.CommitCellEdits();
    const QString path =
        m_chooseFile(DialogFolders(m_window.document().startup().productIniPath).startFolder(FileKind::Data));
    if (!path.isEmpty())
        compareWithFile(path);
}

bool CompareCommand::compareWithFile(const QString& path, const QString& kind) {
    m_window.CommitCellEdits();
    std::optional<ShownSide> other;
    {
        const BusyCursor busy;
        const std::unique_ptr<Document> file = startedLike(m_window.document());
        if (file->load(path, m_window.feedback()) == LoadStatus::Ok)
            other = sideOf(*file);
    }
    if (!other)
        return false;
    showDifferences(*other, kind,
                    QStringLiteral("This side: the data in the window. Other side: the %1 %2.")
                        .arg(kind.toLower(), QDir::toNativeSeparators(path)));
    return true;
}

void CompareCommand::mnuCompareRadio_Click() {
    m_window.CommitCellEdits();
    Document& doc = m_window.document();
    std::optional<ShownSide> radio;
    ExchangeResult result;
    {
        const BusyCursor busy;
        if (doc.tuning().state() == TuneSession::ItemActive)
            m_operate.leaveTuneMode();
        ReadResult read;
        result = m_operate.runner().read(startedLike(doc)->data(), &read);
        if (!result.ok())
            return;
        read.data.spare = doc.data().spare;
        radio = SideOpener(doc.catalog(), doc.numbers()).open({read.data, read.dataVersion});
    }
    showDifferences(*radio, QStringLiteral("Radio"),
                    QStringLiteral("This side: the data in the window. Other side: the radio (%1), read at %2.")
                        .arg(result.port, doc.clock().localDateTime().toString(QStringLiteral("HH:mm:ss"))));
}

void CompareCommand::showDifferences(const ShownSide& other, const QString& otherHeader, const QString& sides) {
    m_other = other;
    const bool first = !m_dialog;
    if (first) {
        m_dialog = new DifferencesDialog(&m_window);
        connect(m_dialog, &DifferencesDialog::differenceActivated, this, &CompareCommand::differenceActivated);
    }
    m_dialog->setComparison(sides, CurrentHeader, otherHeader, [this](Scope scope) {
        return compareSides(windowSide(m_window.document(), m_other.set), m_other, scope);
    });
    showBeside(*m_dialog, &m_window, first);
}

void CompareCommand::differenceActivated(const Difference& difference) {
    const std::optional<CheckPlace> place = windowPlace(difference);
    const QString note =
        place ? leadToPlace(m_window, *place)
              : QStringLiteral("%1 %2 has no cell or list of its own in the window.").arg(difference.place(),
                                                                                        difference.label);
    if (m_dialog)
        m_dialog->setNote(note);
}

} // namespace orv::gui
