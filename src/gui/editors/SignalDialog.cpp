#include "editors/SignalDialog.h"

#include "Feedback.h"
#include "catalog/NumberText.h"
#include "catalog/SignalRules.h"

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
    m_tone->addItems(ctcToneTexts(m_numbers));
    m_code = makeList(QStringLiteral("cboChRxDQT"), frame);
    m_code->setAccessibleName(QStringLiteral("DCS code"));
    m_code->addItems(dcsCodeTexts());
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

    const SignalParts parts = splitSignalText(text);
    const Mode mode = Mode(parts.mode);
    if (mode == ModeCtc) {
        m_toneTag = parts.value;
        m_tone->setEditText(m_toneTag);
    } else if (mode == ModeDcs) {
        m_codeTag = parts.value;
        m_code->setEditText(m_codeTag);
        m_invert->setChecked(parts.inverted);
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
    const std::optional<QString> tone = typedToneText(text, m_numbers);
    if (!tone) {
        m_feedback.message(QStringLiteral("CTC Data Invalid!"),
                           text.isEmpty() ? QStringLiteral("Error") : QStringLiteral("Error CTC"), Icon::Exclamation);
        m_tone->setEditText(m_toneTag);
        return;
    }
    m_toneTag = *tone;
    m_tone->setEditText(m_toneTag);
}

void SignalDialog::checkCode() {
    const std::optional<QString> code = typedCodeText(m_code->currentText());
    if (!code) {
        m_feedback.message(QStringLiteral("DCS Data Invalid!"), QStringLiteral("Error DCS"), Icon::Exclamation);
        m_code->setEditText(m_codeTag);
        return;
    }
    m_codeTag = *code;
    m_code->setEditText(m_codeTag);
}

void SignalDialog::accept() {
    switch (mode()) {
    case ModeCtc:
        checkTone();
        m_signalText = joinSignalText(SignalMode::Ctc, m_tone->currentText(), false);
        break;
    case ModeDcs:
        checkCode();
        m_signalText = joinSignalText(SignalMode::Dcs, m_code->currentText(), m_invert->isChecked());
        break;
    default:
        m_signalText = joinSignalText(SignalMode::Off, {}, false);
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
