// The file dialogs: every one of them (Open, Save As, the preview's Save as PDF) lists a
// folder without opening the files in it, so that a file that blocks on read cannot stop the
// program; and each starts in the folder last used for its kind of file, kept in the
// program's INI file, or in the documents folder the first time.
//
// HOME is a scratch folder for the whole run: the documents folder is HOME/Documents.

#include "EditorTestSupport.h"
#include "catalog/IniFile.h"
#include "common/TestFiles.h"
#include "files/DataFile.h"
#include "print/PrintCommand.h"
#include "print/PrintPreviewDialog.h"
#include "shell/DialogFolders.h"
#include "shell/FileCommands.h"
#include "shell/FileDialog.h"
#include "shell/MainWindow.h"

#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace orv;
using namespace orv::gui;

namespace {

#ifdef Q_OS_LINUX
// The names of a folder's entries that were opened since the watch began.
class OpenWatch {
public:
    explicit OpenWatch(const QString& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (m_fd >= 0)
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenWatch() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool watching() const { return m_fd >= 0; }
    QStringList opened() {
        QStringList names;
        alignas(inotify_event) char buffer[16384];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0) // the folder's own opens carry no name
                    names.append(QFile::decodeName(event->name));
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        names.removeDuplicates();
        return names;
    }

private:
    int m_fd;
};
#endif

// Answers the data-file dialogs in turn (an empty text cancels) and records where each started.
struct FolderDialogs : FileDialogs {
    QStringList answers, started;
    QString answer(const QString& folder) {
        started.append(folder);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString openFile(const QString& folder) override { return answer(folder); }
    QString saveFile(const QString& folder, const QString&) override { return answer(folder); }
};

// A window on a program INI in its own folder, with the File and Print commands.
struct Window {
    QTemporaryDir dir;
    test::EditorSession s;
    std::unique_ptr<MainWindow> window;
    FolderDialogs* dialogs = new FolderDialogs;
    PrintCommand* print = nullptr;
    QStringList pdfSuggested;

    explicit Window(const QString& ini = QString()) {
        window = std::make_unique<MainWindow>(
            test::makeDocument(test::editorCatalog(), s.clock, ini.isEmpty() ? iniPath() : ini), s.feedback);
        new FileCommands(*window, std::unique_ptr<FileDialogs>(dialogs));
        print = new PrintCommand(*window);
        window->show();
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("ORVANTE.ini")); }
    QString kept(const QString& key) const {
        return IniFile(window->document().startup().productIniPath).readString("Folders", key, "(none)");
    }
    QString lastStart() const { return dialogs->started.value(dialogs->started.size() - 1); }
    // Print, then Save as PDF... in the preview, answering the file dialog with `answer`.
    void saveAsPdf(const QString& answer) {
        const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
        print->setDialogs({[printed](QPrinter& printer) {
                               printer.setOutputFileName(printed);
                               return true;
                           },
                           [](PrintPreviewDialog& preview) { QTest::mouseClick(preview.pdfButton(), Qt::LeftButton); },
                           [this, answer](const QString& suggested) {
                               pdfSuggested.append(suggested);
                               return answer;
                           }});
        window->mnuFilePrint_Click();
    }
};

QString makeFolder(const QString& path) {
    QDir().mkpath(path);
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QString documents() const { return QDir::toNativeSeparators(m_home.filePath(QStringLiteral("Documents"))); }

private slots:
    void initTestCase() {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DOCUMENTS_DIR");
        QVERIFY(QDir().mkpath(documents()));
        guardQtFileDialogs();
        guardQtFileDialogs();
        QCOMPARE(qApp->findChildren<QObject*>("fileDialogGuard").size(), 1);
    }

    // Each dialog is set up by the one helper: Qt's own dialog listing with the plain
    // provider, in the start folder, with its filters; a file dialog Qt makes itself (the
    // printer dialog's) gets the provider as it shows. Shown over a folder holding a FIFO with
    // no writer, a file named like a data file holding a PDF and files without an extension,
    // each lists the folder and offers the names typed in its name field without opening any
    // of them; a timer closes it and the test goes on.
    void dialogsListWithoutReading_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("filters");
        QTest::newRow("Open") << "open" << "Open" << QStringList{"Data Files (*.kvd)", "Old Files (*.pvlt)"};
        QTest::newRow("Save As") << "save" << "Save As" << QStringList{"Data Files (*.kvd)"};
        QTest::newRow("Save as PDF") << "pdf" << "Save as PDF" << QStringList{"PDF Files (*.pdf)"};
        QTest::newRow("Qt's own") << "qt" << "Print To File ..." << QStringList{"All Files (*)"};
    }
    void dialogsListWithoutReading() {
#ifndef Q_OS_UNIX
        QSKIP("FIFOs are a Unix thing");
#else
        QFETCH(QString, which);
        QFETCH(QString, title);
        QFETCH(QStringList, filters);
        QWidget parent;
        QtFileDialogs data(&parent);
        std::unique_ptr<QFileDialog> dialog =
            which == "open"   ? data.openDialog(documents())
            : which == "save" ? data.saveDialog(documents(), "/elsewhere/radio.kvd")
            : which == "pdf"  ? PrintCommand::pdfDialog(&parent, QDir(documents()).filePath("radio settings.pdf"))
                              : std::make_unique<QFileDialog>(&parent, title, documents());
        QCOMPARE(dialog->windowTitle(), title);
        if (which != "qt") {
            QCOMPARE(dialog->objectName(), which == "pdf" ? "dlgPdfFile" : "dlgCommonDialog");
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(dialog->iconProvider(), static_cast<QAbstractFileIconProvider*>(plainFileIcons()));
        }
        QCOMPARE(QDir::toNativeSeparators(dialog->directory().path()), documents());
        QCOMPARE(dialog->nameFilters(), filters);
        QCOMPARE(dialog->selectedNameFilter(), filters.first());
        QCOMPARE(dialog->acceptMode(), which == "open" || which == "qt" ? QFileDialog::AcceptOpen
                                                                          : QFileDialog::AcceptSave);
        if (which == "save" || which == "pdf") // the proposed name, in the start folder
            QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).path(), QDir::fromNativeSeparators(documents()));

        QTemporaryDir specials;
        const QString folder = specials.path();
        for (const char* fifo : {"pipe", "pipe.kvd", "pipe.pdf"})
            QCOMPARE(::mkfifo(QFile::encodeName(specials.filePath(fifo)).constData(), 0600), 0);
        QVERIFY(test::putFile(specials.filePath("notes"), "%PDF-1.4\n"));
        QVERIFY(test::putFile(specials.filePath("looks-like.kvd"), "%PDF-1.4\n"));
        QVERIFY(test::putFile(specials.filePath("radio.kvd"), QByteArray(DataFileSize, '\0')));
        QVERIFY(test::putFile(specials.filePath("radio.pdf"), "%PDF-1.4\n"));
#ifdef Q_OS_LINUX
        OpenWatch watch(folder);
        QVERIFY(watch.watching());
#endif
        auto* model = dialog->findChild<QFileSystemModel*>();
        QVERIFY(model);
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog->show();
        QCOMPARE(dialog->iconProvider(), static_cast<QAbstractFileIconProvider*>(plainFileIcons()));
        dialog->setDirectory(folder);
        QTRY_VERIFY(std::any_of(loaded.begin(), loaded.end(),
                                [&](const QList<QVariant>& args) { return args.value(0).toString() == folder; }));
        if (which != "pdf") // the others show files of that name
            QTRY_COMPARE(model->index(specials.filePath("looks-like.kvd"), 2).data().toString(), "KVD File");

        // The name field offers what is in the folder as it is typed.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name && name->completer());
        name->clear();
        QTest::keyClicks(name, folder + "/");
        QTRY_VERIFY(name->completer()->completionCount() > 0);

        QTimer::singleShot(0, dialog.get(), &QDialog::reject);
        QTRY_VERIFY(!dialog->isVisible());
        dialog.reset();
#ifdef Q_OS_LINUX
        QCOMPARE(watch.opened(), QStringList());
#endif
#endif
    }

    // The plain provider names a type from the folder entry: a PDF named like a data file
    // is a "KVD File".
    void plainTypes() {
        QTemporaryDir dir;
        QVERIFY(test::putFile(dir.filePath("looks-like.kvd"), "%PDF-1.4\n"));
        QVERIFY(test::putFile(dir.filePath("notes"), "%PDF-1.4\n"));
        const PlainFileIconProvider& icons = *plainFileIcons();
        QCOMPARE(icons.type(QFileInfo(dir.filePath("looks-like.kvd"))), "KVD File");
        QCOMPARE(icons.type(QFileInfo(dir.filePath("notes"))), "File");
        QCOMPARE(icons.type(QFileInfo(dir.path())), "Folder");
        QCOMPARE(icons.type(QFileInfo(QDir::rootPath())), "Drive");
        QVERIFY(!icons.icon(QFileInfo(dir.filePath("notes"))).isNull());
    }

    // Open and Save As start in the documents folder the first time (the home folder when
    // there is none), never in the program's folder. Then they start where the data's file
    // was last loaded or saved, also at the next start; a folder that has gone is dropped.
    // Only a file actually loaded or written moves them.
    void dataDialogsStartWhereTheDataWere() {
        const QString base = m_home.filePath("work");
        const QString a = makeFolder(base + "/a"), b = makeFolder(base + "/b");
        Window w;
        QVERIFY(QDir(documents()).removeRecursively());
        w.window->mnuFileOpen_Click();
        QCOMPARE(w.lastStart(), QDir::toNativeSeparators(QDir::homePath()));
        QVERIFY(QDir().mkpath(documents()));
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.lastStart(), documents());
        QVERIFY(w.lastStart() != QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));

        const QString inA = QDir(a).filePath("radio.kvd");
        QCOMPARE(writeDataFile(inA, w.window->document().data()), SaveStatus::Ok);
        w.dialogs->answers = {inA};
        w.window->mnuFileOpen_Click();
        QCOMPARE(w.kept("DataFiles"), a);
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.lastStart(), a);

        w.dialogs->answers = {QDir(b).filePath("copy.kvd")};
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.kept("DataFiles"), b);
        w.window->mnuFileOpen_Click();
        QCOMPARE(w.lastStart(), b);

        // A recent file is a data file loaded too.
        w.window->mnuRecentFile_Click(2);
        QCOMPARE(w.window->document().currentFileName(), inA);
        QCOMPARE(w.kept("DataFiles"), a);

        // A file that cannot be loaded, or a save that cannot be written, moves nothing.
        const QString c = makeFolder(base + "/c");
        QVERIFY(test::putFile(QDir(c).filePath("damaged.kvd"), "not a data file"));
        w.dialogs->answers = {QDir(c).filePath("damaged.kvd"), QDir(c).filePath("missing/x.kvd")};
        w.window->mnuFileOpen_Click();
        w.window->mnuFileSaveAs_Click();
        QCOMPARE(w.kept("DataFiles"), a);
        w.window->mnuFileOpen_Click();
        QCOMPARE(w.lastStart(), a);
        QVERIFY(w.window->close());

        Window next(w.iniPath());
        next.window->mnuFileOpen_Click();
        QCOMPARE(next.lastStart(), a);
        QVERIFY(QDir(a).removeRecursively());
        next.window->mnuFileOpen_Click();
        QCOMPARE(next.lastStart(), documents());
    }

    // Save as PDF starts in the documents folder, proposing the data's name, then where the
    // last PDF was written; the data folder and the PDF folder are kept apart.
    void pdfDialogStartsWhereTheLastPdfWent() {
        Window w;
        w.saveAsPdf(QString());
        QCOMPARE(w.pdfSuggested.value(0), QDir(documents()).filePath("ORVANTE settings.pdf"));

        const QString data = makeFolder(m_home.filePath("pdf-test/data"));
        const QString reports = makeFolder(m_home.filePath("pdf-test/reports"));
        w.dialogs->answers = {QDir(data).filePath("site 4.kvd")};
        w.window->mnuFileSaveAs_Click();
        const QString written = QDir(reports).filePath("site 4.pdf");
        w.saveAsPdf(written);
        QCOMPARE(w.pdfSuggested.value(1), QDir(documents()).filePath("site 4 settings.pdf"));
        QVERIFY(QFileInfo(written).size() > 0);
        QCOMPARE(w.kept("PdfFiles"), reports);
        QCOMPARE(w.kept("DataFiles"), data);

        w.saveAsPdf(QString());
        QCOMPARE(w.pdfSuggested.value(2), QDir(reports).filePath("site 4 settings.pdf"));
        QVERIFY(w.s.feedback.shown.isEmpty());
    }
};

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
