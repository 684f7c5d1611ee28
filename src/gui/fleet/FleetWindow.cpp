#include "fleet/FleetWindow.h"

#include "Feedback.h"
#include "document/Document.h"
#include "fleet/FleetLog.h"
#include "fleet/FleetTable.h"
#include "history/HistoryRecorder.h"
#include "link/PortMap.h"
#include "shell/FileDialog.h"
#include "sim/NumberedRadios.h"
#include "sim/VirtualRadio.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orv::gui {

using namespace orv::fleet;

namespace {

const QString Caption = QStringLiteral("Program Several Radios");
const QString StopText = QStringLiteral("&Stop");
const QString StopNowText = QStringLiteral("Stop &Now");

QString chooseWithDialog(QWidget* parent, bool save) {
    FileDialogSpec spec;
    spec.folder = QDir::homePath();
    spec.save = save;
    if (save) {
        spec.title = QStringLiteral("Export Log");
        spec.nameFilters = {QStringLiteral("CSV Files (*.csv)")};
        spec.defaultSuffix = QStringLiteral("csv");
        spec.proposedName = QStringLiteral("fleet-log.csv");
    } else {
        spec.title = QStringLiteral("Open");
        spec.nameFilters = {QStringLiteral("Data Files (*.kvd)"), QStringLiteral("Old Files (*.pvlt)")};
    }
    return runFileDialog(*makeFileDialog(parent, spec));
}

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

FleetWindow::FleetWindow(Document& document, Feedback& feedback, int demoRadios, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(document), m_feedback(feedback),
      m_chooseFile([this](bool save) { return chooseWithDialog(this, save); }),
      m_deviceList([] { return systemSerialDevices(); }) {
    setObjectName(QStringLiteral("frmFleet"));
    setWindowTitle(Caption);
    for (int i = 1; i <= demoRadios; ++i)
        m_demoRadios.push_back(std::make_unique<sim::VirtualRadio>(sim::numberedDemoMemory(i)));
    buildLayout();
    refreshPorts();
    showData();
}

FleetWindow::~FleetWindow() = default;

void FleetWindow::buildLayout() {
    auto* data = new QGroupBox(QStringLiteral("Data to send"));
    m_useCurrent = named(new QRadioButton(QStringLiteral("The &current data")), "optCurrentData");
    m_useFile = named(new QRadioButton(QStringLiteral("A data &file:")), "optDataFile");
    m_file = named(new QLineEdit, "txtDataFile");
    m_file->setReadOnly(true);
    m_chooseButton = named(new QPushButton(QStringLiteral("C&hoose...")), "cmdChooseFile");
    m_dataLabel = named(new QLabel, "lblData");
    m_useCurrent->setChecked(true);
    auto* dataGrid = new QGridLayout(data);
    dataGrid->addWidget(m_useCurrent, 0, 0);
    dataGrid->addWidget(m_useFile, 1, 0);
    dataGrid->addWidget(m_file, 1, 1);
    dataGrid->addWidget(m_chooseButton, 1, 2);
    dataGrid->addWidget(m_dataLabel, 2, 0, 1, 3);
    dataGrid->setColumnStretch(1, 1);
    connect(m_useCurrent, &QRadioButton::toggled, this, &FleetWindow::showData);
    connect(m_chooseButton, &QPushButton::clicked, this, &FleetWindow::cmdChooseFile_Click);

    auto* ports = new QGroupBox(m_demoRadios.empty() ? QStringLiteral("Ports") : QStringLiteral("Demo radios"));
    m_ports = named(new QListWidget, "lstPorts");
    (new QVBoxLayout(ports))->addWidget(m_ports);

    auto* opts = new QGroupBox(QStringLiteral("Options"));
    m_backup = named(new QCheckBox(QStringLiteral("&Back up each radio first (no backup, no write)")), "chkBackup");
    m_verify = named(new QCheckBox(QStringLiteral("&Verify after writing")), "chkVerify");
    m_info = named(new QCheckBox(QStringLiteral("&Information text:")), "chkInfo");
    m_infoTemplate = named(new QLineEdit(QStringLiteral("Radio {n} {id} {date}")), "txtInfoTemplate");
    m_infoTemplate->setToolTip(QStringLiteral("{n} the radio's number, {id} its radio ID, {date} today, {port} its port; "
                                              "96 characters at most"));
    m_batch = named(new QRadioButton(QStringLiteral("One radio per &port")), "optBatch");
    m_swap = named(new QRadioButton(QStringLiteral("S&wap radios until")), "optSwap");
    m_count = named(new QSpinBox, "spnCount");
    m_count->setRange(1, 9999);
    m_count->setValue(10);
    m_next = named(new QComboBox, "cboNext");
    m_next->addItems({QStringLiteral("the next radio ID answers"), QStringLiteral("Next is pressed")});
    m_allowOtherModel = named(new QCheckBox(QStringLiteral("Allow another &model")), "chkAllowOtherModel");
    m_backup->setChecked(true);
    m_verify->setChecked(true);
    m_batch->setChecked(true);
    auto* optGrid = new QGridLayout(opts);
    optGrid->addWidget(m_backup, 0, 0, 1, 4);
    optGrid->addWidget(m_verify, 1, 0, 1, 4);
    optGrid->addWidget(m_info, 2, 0);
    optGrid->addWidget(m_infoTemplate, 2, 1, 1, 3);
    optGrid->addWidget(m_batch, 3, 0, 1, 4);
    optGrid->addWidget(m_swap, 4, 0);
    optGrid->addWidget(m_count, 4, 1);
    optGrid->addWidget(new QLabel(QStringLiteral("radios are programmed; next radio when")), 4, 2);
    optGrid->addWidget(m_next, 4, 3);
    optGrid->addWidget(m_allowOtherModel, 5, 0, 1, 4);
    optGrid->setColumnStretch(3, 1);
    const auto swapParts = [this] {
        m_count->setEnabled(m_swap->isChecked());
        m_next->setEnabled(m_swap->isChecked());
    };
    connect(m_swap, &QRadioButton::toggled, this, swapParts);
    swapParts();

    m_setupArea = new QWidget;
    auto* setup = new QGridLayout(m_setupArea);
    setup->setContentsMargins(0, 0, 0, 0);
    setup->addWidget(data, 0, 0, 1, 2);
    setup->addWidget(ports, 1, 0);
    setup->addWidget(opts, 1, 1);
    setup->setColumnStretch(1, 1);

    m_table = new FleetTable;
    connect(m_table, &FleetTable::nextClicked, this, [this](int port) {
        if (m_runner)
            m_runner->next(port);
    });
    m_totals = named(new QLabel, "lblTotals");
    m_start = named(new QPushButton(QStringLiteral("S&tart")), "cmdStart");
    m_stop = named(new QPushButton(StopText), "cmdStop");
    m_exportLog = named(new QPushButton(QStringLiteral("&Export Log...")), "cmdExportLog");
    m_close = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    m_stop->setEnabled(false);
    connect(m_start, &QPushButton::clicked, this, &FleetWindow::cmdStart_Click);
    connect(m_stop, &QPushButton::clicked, this, &FleetWindow::cmdStop_Click);
    connect(m_exportLog, &QPushButton::clicked, this, &FleetWindow::cmdExportLog_Click);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes, as in the program's dialogs (and asks while a run is going).
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_totals, 1);
    for (QPushButton* b : {m_start, m_stop, m_exportLog, m_close})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_setupArea);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(fontMetrics().averageCharWidth() * 110, fontMetrics().height() * 36)));
}

sim::VirtualRadio* FleetWindow::demoRadio(int i) const {
    return i >= 1 && i <= int(m_demoRadios.size()) ? m_demoRadios[size_t(i - 1)].get() : nullptr;
}

bool FleetWindow::running() const { return m_runner && m_runner->running(); }

void FleetWindow::refreshPorts() {
    if (running())
        return;
    QSet<QString> checked;
    for (int row = 0; row < m_ports->count(); ++row)
        if (m_ports->item(row)->checkState() == Qt::Checked)
            checked.insert(m_ports->item(row)->data(Qt::UserRole).toString());
    m_ports->clear();
    const auto add = [this, &checked](const QString& name, const QString& text, const QString& tip) {
        auto* item = new QListWidgetItem(text, m_ports);
        item->setData(Qt::UserRole, name);
        item->setToolTip(tip);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(name) ? Qt::Checked : Qt::Unchecked);
    };
    for (int i = 1; i <= int(m_demoRadios.size()); ++i)
        add(sim::demoRadioLabel(i), sim::demoRadioLabel(i), QStringLiteral("A virtual radio in the program"));
    if (!m_demoRadios.empty())
        return;
    const QStringList devices = m_deviceList();
    for (int n = MinPort; n <= MaxPort; ++n) {
        const QString com = QStringLiteral("COM%1").arg(n);
        const QString device = deviceForPort(n, m_document.startup().productIniPath, devices);
        add(com, device.isEmpty() ? com + QStringLiteral("  \u2014") : com + QStringLiteral("  ") + deviceShortName(device),
            device.isEmpty() ? QStringLiteral("No serial device is behind %1.").arg(com) : device);
    }
}

void FleetWindow::showData() {
    QString name, model;
    if (m_useCurrent->isChecked()) {
        const QString file = m_document.currentFileName();
        name = file.isEmpty() ? QStringLiteral("The current data") : QStringLiteral("The current data (%1)").arg(QFileInfo(file).fileName());
        const ModelInfo* info = m_document.selectedModelInfo();
        model = info ? info->name : QString();
    } else if (m_filePayload) {
        name = m_filePayload->name;
        model = m_filePayload->modelName;
    } else {
        m_dataLabel->setText(QStringLiteral("Choose a data file."));
        return;
    }
    m_dataLabel->setText(QStringLiteral("Sending: %1 - model %2").arg(name, model.isEmpty() ? QStringLiteral("none") : model));
}

void FleetWindow::showEvent(QShowEvent* e) {
    refreshPorts();
    showData();
    QWidget::showEvent(e);
}

void FleetWindow::cmdChooseFile_Click() {
    const QString path = m_chooseFile(false);
    if (path.isEmpty())
        return;
    // A file that cannot be opened says why (the window's own messages) and changes nothing.
    std::optional<FleetPayload> opened = payloadFromFile(m_document, path, m_feedback);
    if (!opened)
        return;
    m_filePayload = std::move(opened);
    m_file->setText(QDir::toNativeSeparators(path));
    m_useFile->setChecked(true);
    showData();
}

std::optional<FleetPayload> FleetWindow::payload() {
    if (m_useFile->isChecked()) {
        if (!m_filePayload)
            m_feedback.message(QStringLiteral("Choose the data file to send."), Caption, Icon::Exclamation);
        return m_filePayload;
    }
    if (m_beforeStart)
        m_beforeStart();
    return payloadOf(m_document, QStringLiteral("The current data"));
}

FleetOptions FleetWindow::options() const {
    FleetOptions o;
    o.backup = m_backup->isChecked();
    o.verify = m_verify->isChecked();
    if (m_info->isChecked())
        o.infoTemplate = m_infoTemplate->text();
    o.count = m_swap->isChecked() ? m_count->value() : 0;
    o.prompt = o.swap() && m_next->currentIndex() == 1;
    o.allowOtherModel = m_allowOtherModel->isChecked();
    return o;
}

std::vector<FleetPort> FleetWindow::chosenPorts() const {
    std::vector<FleetPort> ports;
    for (int row = 0; row < m_ports->count(); ++row) {
        const QListWidgetItem* item = m_ports->item(row);
        if (item->checkState() != Qt::Checked)
            continue;
        const QString name = item->data(Qt::UserRole).toString();
        ports.push_back({name, m_demoRadios.empty() ? nullptr : demoRadio(row + 1)});
    }
    return ports;
}

void FleetWindow::cmdStart_Click() {
    if (running())
        return;
    const std::vector<FleetPort> ports = chosenPorts();
    if (ports.empty()) {
        m_feedback.message(QStringLiteral("Choose at least one port."), Caption, Icon::Exclamation);
        return;
    }
    std::optional<FleetPayload> data = payload();
    if (!data)
        return;
    showData();
    const QString programIni = m_document.startup().productIniPath;
    FleetSetup setup;
    setup.programIni = programIni;
    setup.history = HistoryRecorder::settingsFor(programIni);
    setup.makeClock = m_clocks;
    setup.systemDevices = m_deviceList();

    auto runner = std::make_unique<FleetRunner>(std::move(*data), options());
    connect(runner.get(), &FleetRunner::portChanged, m_table, &FleetTable::showStatus);
    connect(runner.get(), &FleetRunner::radioEnded, this, [this](const RadioRecord& r) {
        m_records.push_back(r);
        const FleetTotals t = m_runner->totals();
        m_totals->setText(QStringLiteral("Fleet: %1 programmed, %2 failed.").arg(t.programmed).arg(t.failed));
    });
    connect(runner.get(), &FleetRunner::warning, this, [this](const QString& text) {
        m_totals->setToolTip(text);
    });
    connect(runner.get(), &FleetRunner::finished, this, &FleetWindow::runEnded);
    if (!runner->start(ports, setup)) {
        m_feedback.message(runner->error(), Caption, Icon::Exclamation);
        return;
    }
    QStringList labels;
    for (const FleetPort& p : ports)
        labels << p.name;
    m_table->setPorts(labels, runner->options().prompt);
    m_totals->setText(QStringLiteral("Fleet: 0 programmed, 0 failed."));
    m_runner = std::move(runner);
    setRunning(true);
}

void FleetWindow::cmdStop_Click() {
    if (!running())
        return;
    if (!m_runner->stopping()) {
        m_runner->stop();
        m_stop->setText(StopNowText);
        return;
    }
    m_runner->stopNow();
    m_stop->setEnabled(false);
}

void FleetWindow::runEnded(const FleetTotals& totals) {
    m_totals->setText(QStringLiteral("Fleet: %1 programmed, %2 failed.").arg(totals.programmed).arg(totals.failed));
    setRunning(false);
}

void FleetWindow::setRunning(bool running) {
    m_setupArea->setEnabled(!running);
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    m_stop->setText(StopText);
    emit runningChanged(running);
}

void FleetWindow::cmdExportLog_Click() {
    if (m_records.empty()) {
        m_feedback.message(QStringLiteral("No radio has been programmed yet: the log is empty."), Caption,
                           Icon::Information);
        return;
    }
    const QString path = m_chooseFile(true);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray csv = logCsv(m_records);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit())
        m_feedback.message(QStringLiteral("The log cannot be written to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()),
                           Caption, Icon::Exclamation);
}

void FleetWindow::closeEvent(QCloseEvent* e) {
    if (running()) {
        const Answer a = m_feedback.ask(QStringLiteral("Radios are being programmed. Stop now and close?\n\nA radio whose "
                                                       "write is cut must be written again."),
                                        Caption, Icon::Question, Buttons::YesNo);
        if (a != Answer::Yes) {
            e->ignore();
            return;
        }
        m_runner->stopNow();
    }
    QWidget::closeEvent(e);
}

} // namespace orv::gui
