#include "shell/FileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>

namespace orv::gui {

namespace {

const QString GuardName = QStringLiteral("fileDialogGuard");

class FileDialogGuard : public QObject {
public:
    explicit FileDialogGuard(QObject* parent) : QObject(parent) {
        setObjectName(GuardName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QFileDialog*>(watched); dialog && dialog->iconProvider() &&
                                                                    dialog->iconProvider() != plainFileIcons())
                dialog->setIconProvider(plainFileIcons());
        return QObject::eventFilter(watched, e);
    }
};

} // namespace

// QFileInfo answers isRoot() and isDir() from the entry's status (stat), which a special file
// answers at once; nothing here opens the file.
QIcon PlainFileIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot())
        return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString PlainFileIconProvider::type(const QFileInfo& info) const {
    if (info.isRoot())
        return QStringLiteral("Drive");
    if (info.isDir())
        return QStringLiteral("Folder");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
}

PlainFileIconProvider* plainFileIcons() {
    static auto* const provider = new PlainFileIconProvider;
    return provider;
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileDialogSpec& spec) {
    auto dialog = std::make_unique<QFileDialog>(parent, spec.title, spec.folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(plainFileIcons());
    dialog->setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(spec.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(spec.nameFilters);
    if (!spec.nameFilters.isEmpty())
        dialog->selectNameFilter(spec.nameFilters.first());
    dialog->setDefaultSuffix(spec.defaultSuffix);
    if (!spec.proposedName.isEmpty())
        dialog->selectFile(spec.proposedName);
    return dialog;
}

QString runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

void guardQtFileDialogs() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<QObject*>(GuardName, Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new FileDialogGuard(app));
}

} // namespace orv::gui
