#include "editors/SignalDialog.h"

#include "Feedback.h"
#include "catalog/NumberText.h"
#include "catalog/ToneTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {

constexpr double LowestTone = 67.0;
constexpr double HighestTone = 254.1;
constexpr unsigned LowestCode = 023;  // octal
constexpr unsigned HighestCode = 0754; // octal

QString codeText(unsigned code) { return QStringLiteral("%1").arg(code, 3, 8, QLatin1Char('0')); }

bool isDigitChar(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Keys that type nothing, or only a control character (backspace, Enter, Ctrl+V...), or
// Delete, go through any filter.
bool isControlKey(const QKeyEvent* key) {
    const QString t = key->text();
    return t.isEmpty() || (t.size() == 1 && (t.at(0).unicode() < 32 || t.at(0).unicode() == 127));
}

bool isDigitsOnly(const QString& t) { return !t.isEmpty() && std::all_of(t.begin(), t.end(), isDigitChar); }

QComboBox* makeList(const QString& name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr); // what is typed stays as typed
    return list;
}

} // namespace

SignalDialog::SignalDialog(Feedback& feedback, NumberFormat numbers, QWidget* parent)
    : QDialog(parent), m_feedback(feedback), m_numbers(numbers) {
    setObjectName(QStringLiteral("frmSignal"));
    setWindowTitle(QStringLiteral("Signaling"));

    auto* frame = new QGroupBox(QStringLiteral("CTC/DCS"), this);
    frame->setObjectName(QStringLiteral("fraSignal"));
    const char* const captions[] = {"O&FF", "C&TC", "&DCS"};
    for (int i = 0; i < 3; ++i) {
        m_modes[size_t(i)] = new QRadioButton(QString::fromLatin1(captions[i]), frame);
        m_modes[size_t(i)]->setObjectName(QStringLiteral("optChRxdec_%1").arg(i));
        connect(m_modes[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                setMode(Mode(i));
        });
    }
    m_tone = makeList(QStringLiteral("cboChRxQT"), frame);
    m_tone->setAccessibleName(QStringLiteral("CTC tone"));
    for (size_t i = 1; i < CtcToneTable.size(); ++i)
        m_tone->addItem(m_numbers.fixed(CtcToneTable[i], 0, 1));
    m_code = makeList(QStringLiteral("cboChRxDQT"), frame);
    m_code->setAccessibleName(QStringLiteral("DCS code"));
    for (int code : DcsCodeTable)
        m_code->addItem(QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0')));
    m_invert = new QCheckBox(QStringLiteral("DCS &Invert"), frame);
    m_invert->setObjectName(QStringLiteral("chkChRxDQT"));
    // An editable list keeps the focus itself and hands the keys on to its line edit.
    m_tone->installEventFilter(this);
    m_code->installEventFilter(this);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(m_modes[0], 0, 0);
    grid->addWidget(m_modes[1], 1, 0);
    grid->addWidget(m_tone, 1, 1);
    grid->addWidget(m_modes[2], 2, 0);
    grid->addWidget(m_code, 2, 1);
    grid->addWidget(m_invert, 2, 2);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_ok, &QPushButton::clicked, this, &SignalDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &SignalDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_modes[0], m_modes[1]);
    setTabOrder(m_modes[1], m_modes[2]);
    setTabOrder(m_modes[2], m_tone);
    setTabOrder(m_tone, m_code);
    setTabOrder(m_code, m_invert);
    setTabOrder(m_invert, m_ok);
    setTabOrder(m_ok, m_cancel);

    setSignalText(QString());
}

void SignalDialog::setSignalText(const QString& text) {
    m_signalText = text;
    m_tone->setCurrentIndex(0);
    m_toneTag = m_tone->currentText();
    m_code->setCurrentIndex(0);
    m_codeTag = m_code->currentText();

    Mode mode = NoMode;
    const QString head = text.left(3);
    if (head == QLatin1String("OFF")) {
        mode = ModeOff;
    } else if (head == QLatin1String("CTC")) {
        mode = ModeCtc;
        m_toneTag = text.mid(4);
        m_tone->setEditText(m_toneTag);
    } else if (head == QLatin1String("DCS") || head == QLatin1String("-DC")) {
        mode = ModeDcs;
        m_codeTag = text.mid(head == QLatin1String("DCS") ? 4 : 5);
        m_code->setEditText(m_codeTag);
        m_invert->setChecked(head != QLatin1String("DCS"));
    }
    // Radio buttons of one group refuse to be all cleared while they are exclusive.
    for (QRadioButton* b : m_modes) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    if (mode == NoMode)
        setMode(NoMode);
    else
        m_modes[size_t(mode)]->setChecked(true);
}

SignalDialog::Mode SignalDialog::mode() const {
    for (int i = 0; i < 3; ++i)
        if (m_modes[size_t(i)]->isChecked())
            return Mode(i);
    return NoMode;
}

void SignalDialog::setMode(Mode mode) {
    m_tone->setEnabled(mode == ModeCtc);
    m_code->setEnabled(mode == ModeDcs);
    m_invert->setEnabled(mode == ModeDcs);
}

void SignalDialog::checkTone() {
    const QString text = m_tone->currentText();
    const std::optional<double> tone = text.isEmpty() ? std::nullopt : m_numbers.parse(text);
    if (!tone) {
        m_feedback.message(QStringLiteral("CTC Data Invalid!"),
                           text.isEmpty() ? QStringLiteral("Error") : QStringLiteral("Error CTC"), Icon::Exclamation);
        m_tone->setEditText(m_toneTag);
        return;
    }
    m_toneTag = m_numbers.fixed(std::clamp(*tone, LowestTone, HighestTone), 2, 1);
    m_tone->setEditText(m_toneTag);
}

void SignalDialog::checkCode() {
    const QString text = m_code->currentText();
    bool ok = std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '7'; });
    const qulonglong code = ok ? text.toULongLong(&ok, 8) : 0;
    if (!ok) {
        m_feedback.message(QStringLiteral("DCS Data Invalid!"), QStringLiteral("Error DCS"), Icon::Exclamation);
        m_code->setEditText(m_codeTag);
        return;
    }
    m_codeTag = codeText(unsigned(std::clamp<qulonglong>(code, LowestCode, HighestCode)));
    m_code->setEditText(m_codeTag);
}

void SignalDialog::accept() {
    switch (mode()) {
    case ModeCtc:
        checkTone();
        m_signalText = QStringLiteral("CTC ") + m_tone->currentText();
        break;
    case ModeDcs:
        checkCode();
        m_signalText = (m_invert->isChecked() ? QStringLiteral("-DCS ") : QStringLiteral("DCS ")) +
                       m_code->currentText();
        break;
    default:
        m_signalText = QStringLiteral("OFF");
        break;
    }
    QDialog::accept();
}

// Tone: digits; "," and "." type the decimal separator in use.
bool SignalDialog::filterToneKey(QKeyEvent* key) {
    if (isControlKey(key) || isDigitsOnly(key->text()))
        return false;
    if (key->text() == QLatin1String(",") || key->text() == QLatin1String("."))
        m_tone->lineEdit()->insert(QString(m_numbers.decimalSeparator()));
    return true;
}

// Code: digits only.
bool SignalDialog::filterCodeKey(QKeyEvent* key) { return !(isControlKey(key) || isDigitsOnly(key->text())); }

bool SignalDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool tone = watched == m_tone;
    const bool code = watched == m_code;
    if (!tone && !code)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return tone ? filterToneKey(key) : filterCodeKey(key);
    }
    if (event->type() == QEvent::FocusOut) {
        // The list's own drop-down and a message box taking the focus are not a leave.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (tone)
                checkTone();
            else
                checkCode();
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orv::gui
