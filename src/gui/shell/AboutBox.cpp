#include "shell/AboutBox.h"

#include "shell/ShellUnits.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orv::gui {

AboutBox::AboutBox(const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + title);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    const int iconSize = twipsToPixels(480, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* description = new QLabel(title, this);
    description->setObjectName(QStringLiteral("lblDescription"));
    QFont f = description->font();
    f.setBold(true);
    description->setFont(f);
    description->setWordWrap(true);

    auto* version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(ORVANTE_VERSION)), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(description);
    text->addWidget(version);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(twipsToPixels(180, this));
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumWidth(twipsToPixels(5400, this));
}

} // namespace orv::gui
