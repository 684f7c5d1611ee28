#include "shell/EmbedDialog.h"

#include "Feedback.h"
#include "document/Document.h"
#include "exchange/ExchangeRunner.h"
#include "image/RadioInfoText.h"
#include "shell/BusyCursor.h"
#include "shell/ShellUnits.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace orv::gui {

namespace {

// The load step selects this many characters from the start.
constexpr int LoadSelection = 128;

const QString LimitMessage = QStringLiteral("It has been reached to the Top Size of the Input Text.");

// What the program font holds: name, whole points, bold, italic.
struct FontSettings {
    QString name = QStringLiteral("Arial");
    int size = 8;
    bool bold = false;
    bool italic = false;
};

FontSettings& fontSettings() {
    static FontSettings settings;
    return settings;
}

std::optional<QFont> runFontDialog(const QFont& initial, QWidget* parent) {
    QFontDialog dialog(initial, parent);
    dialog.setObjectName(QStringLiteral("dlgFontDlg"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

QLabel* makeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // an ID like "<b>" is shown as it is
    return label;
}

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

EmbedDialog::EmbedDialog(Document& document, ExchangeRunner& runner, QWidget* parent)
    : QDialog(parent), m_document(document), m_runner(runner), m_feedback(runner.feedback()) {
    setObjectName(QStringLiteral("frmEmbed"));
    setWindowTitle(QStringLiteral("Radio Information"));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("rtxtbEmbed"));
    m_text->setToolTip(QStringLiteral("User-Defined Informations"));
    m_text->setAccessibleName(QStringLiteral("Radio information text"));
    m_text->setTabChangesFocus(true); // Tab moves on to the buttons
    m_text->setFont(programFont());
    m_text->setMinimumSize(twipsToPixels(5400, this), twipsToPixels(1200, this));
    connect(m_text, &QPlainTextEdit::textChanged, this, &EmbedDialog::rtxtbEmbed_Change);

    auto* label1 = makeLabel("Label1", QStringLiteral("Radio ID:"), this);
    m_radioId = makeLabel("lblRadioID", QStringLiteral("----------------"), this);
    auto* lblDate = makeLabel("lblDate", QStringLiteral("Last Date of Programming:"), this);
    m_lastTime = makeLabel("lblLastTime", QString(), this);
    // Sixteen characters of even width: the ID is always shown whole.
    m_radioId->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (QLabel* value : {m_radioId, m_lastTime})
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label1->setBuddy(m_radioId);
    lblDate->setBuddy(m_lastTime);

    m_read = makeButton("cmdReadInfo", QStringLiteral("&Read"), this);
    m_write = makeButton("cmdWriteInfo", QStringLiteral(" &Write"), this);
    m_fontButton = makeButton("cmdFont", QStringLiteral("&Font..."), this);
    m_ok = makeButton("cmdOK", QStringLiteral("&Close"), this);
    m_cancel = makeButton("cmdCancel", QStringLiteral("&Cancel"), this);
    connect(m_read, &QPushButton::clicked, this, &EmbedDialog::cmdReadInfo_Click);
    connect(m_write, &QPushButton::clicked, this, &EmbedDialog::cmdWriteInfo_Click);
    connect(m_fontButton, &QPushButton::clicked, this, &EmbedDialog::cmdFont_Click);
    connect(m_ok, &QPushButton::clicked, this, &EmbedDialog::cmdOK_Click);
    connect(m_cancel, &QPushButton::clicked, this, &EmbedDialog::cmdCancel_Click);

    auto* info = new QGridLayout;
    info->addWidget(label1, 0, 0);
    info->addWidget(m_radioId, 0, 1);
    info->addWidget(lblDate, 1, 0);
    info->addWidget(m_lastTime, 1, 1);
    info->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(m_text, 1);
    left->addLayout(info);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_write);
    buttons->addWidget(m_fontButton);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    setTabOrder(m_text, m_read);
    setTabOrder(m_read, m_write);
    setTabOrder(m_write, m_fontButton);
    setTabOrder(m_fontButton, m_ok);
    setTabOrder(m_ok, m_cancel);
}

QFont EmbedDialog::programFont() {
    const FontSettings& s = fontSettings();
    QFont font(s.name, s.size);
    font.setBold(s.bold);
    font.setItalic(s.italic);
    return font;
}

void EmbedDialog::setProgramFont(const QFont& font) {
    FontSettings& s = fontSettings();
    s.name = font.family();
    // Whole points, rounded half to even; a font sized in pixels keeps the size held.
    if (font.pointSizeF() > 0)
        s.size = std::max(1, int(std::lrint(font.pointSizeF())));
    s.bold = font.bold();
    s.italic = font.italic();
}

QString EmbedDialog::visibleText(const QString& raw) {
    QString shown = raw;
    for (QChar& c : shown)
        if (!c.isPrint())
            c = QChar(0x00B7);
    return shown;
}

void EmbedDialog::showEvent(QShowEvent* e) {
    // Shown by the program, not restored by the window system: the load step.
    if (!e->spontaneous())
        Form_Load();
    QDialog::showEvent(e);
}

void EmbedDialog::Form_Load() {
    m_cancelPressed = true;
    showRadioInfo();
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(int(std::min<qsizetype>(LoadSelection, m_text->toPlainText().size())),
                       QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    m_text->setFocus();
}

void EmbedDialog::showRadioInfo() {
    m_lastTime->setText(visibleText(m_document.lastProgrammed()));

    // The text area holds the text followed by zero codes: the text ends at the first one.
    m_text->setFont(programFont());
    QString shown = m_embedData;
    const qsizetype end = shown.indexOf(QChar(0));
    if (end >= 0)
        shown.truncate(end);
    shown.truncate(MaxChars);
    m_settingText = true;
    m_text->setPlainText(shown);
    m_settingText = false;
    m_embedData = m_text->toPlainText();

    m_radioId->setText(visibleText(m_document.radioId()));
}

void EmbedDialog::rtxtbEmbed_Change() {
    if (m_settingText)
        return;
    const QString text = m_text->toPlainText();
    if (text.size() <= MaxChars) {
        m_embedData = text;
        return;
    }
    // Too long: the character just before the caret goes, and the text is cut to 96.
    const int s = m_text->textCursor().position();
    QString kept = text.left(std::max(s - 1, 0)) + text.mid(s, std::max(MaxChars + 1 - s, 0));
    kept.truncate(MaxChars);

    m_settingText = true;
    QTextCursor cursor(m_text->document());
    cursor.joinPreviousEditBlock(); // one undo step with the edit that went too far
    cursor.select(QTextCursor::Document);
    cursor.insertText(kept);
    cursor.endEditBlock();
    cursor.setPosition(int(std::clamp<qsizetype>(s - 1, 0, kept.size())));
    m_text->setTextCursor(cursor);
    m_settingText = false;
    m_embedData = kept;

    m_feedback.message(LimitMessage, m_document.title(), Icon::None);
}

void EmbedDialog::cmdReadInfo_Click() {
    {
        BusyCursor hourglass;
        // A read that fails has shown its message and leaves the data as they were.
        RadioData read;
        if (m_runner.readInfo(m_document.data(), &read).ok())
            m_document.applyInfoRead(read);
    }
    m_embedData = m_document.infoText();
    showRadioInfo();
}

void EmbedDialog::cmdWriteInfo_Click() {
    m_document.setInfoText(m_embedData);
    BusyCursor hourglass;
    m_runner.writeInfo(m_document.data());
}

void EmbedDialog::cmdFont_Click() {
    const QFont initial = programFont();
    const std::optional<QFont> chosen = m_fontChooser ? m_fontChooser(initial, this) : runFontDialog(initial, this);
    if (!chosen)
        return;
    setProgramFont(*chosen);
    m_text->setFont(programFont());
}

void EmbedDialog::cmdOK_Click() {
    m_cancelPressed = false;
    accept();
}

void EmbedDialog::cmdCancel_Click() { reject(); }

} // namespace orv::gui
