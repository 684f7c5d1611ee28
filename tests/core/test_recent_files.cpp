// The recent-file list kept in the program's INI file.

#include "common/TestFiles.h"
#include "files/RecentFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orv;

namespace {
const QString A = QStringLiteral("/data/a.kvd"), B = QStringLiteral("/data/b.kvd"),
              C = QStringLiteral("/data/c.kvd"), D = QStringLiteral("/data/d.kvd"),
              E = QStringLiteral("/data/e.pvlt");
} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT
private slots:
    void addAndRemove_data() {
        QTest::addColumn<QStringList>("before"); // RecentFile1.. as the INI file holds them
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QStringList>("after"); // empty texts: free places
        const QString none;
        QTest::newRow("third moves to the top")
            << QStringList{A, B, C, D} << C << none << QStringList{C, A, B, D};
        QTest::newRow("fifth drops the oldest")
            << QStringList{A, B, C, D} << E << none << QStringList{E, A, B, C};
        QTest::newRow("letter case, spaces")
            << QStringList{A, "/DATA/B.KVD", C} << " " + B + " " << none << QStringList{B, A, C, ""};
        // An entry matches when it begins with the path.
        QTest::newRow("longer entry") << QStringList{A, B + ".old"} << B << none << QStringList{B, A, "", ""};
        QTest::newRow("free places") << QStringList{"No File", ""} << A << none << QStringList{A, "", "", ""};
        QTest::newRow("remove second of four")
            << QStringList{A, B, C, D} << none << B << QStringList{A, C, D, ""};
        QTest::newRow("remove, letter case")
            << QStringList{A, B} << none << "/Data/A.kvd" << QStringList{B, "", "", ""};
        // Moving up stops at the first free place; the places from there on are emptied.
        QTest::newRow("remove before a gap")
            << QStringList{A, B, "", D} << none << A << QStringList{B, "", "", ""};
    }
    void addAndRemove() {
        QFETCH(QStringList, before);
        QFETCH(QString, add);
        QFETCH(QString, remove);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("ORVANTE.ini"));
        QString text = QStringLiteral("[Recent Files]\n");
        for (int i = 0; i < before.size(); ++i)
            text += QStringLiteral("RecentFile%1=%2\n").arg(i + 1).arg(before[i]);
        QVERIFY(orv::test::putFile(ini, text.toUtf8()));
        RecentFiles list(ini);
        if (!add.isNull())
            list.addRecentFile(add);
        if (!remove.isNull())
            list.removeRecentFile(remove);
        QCOMPARE(list.entries(), after);
    }
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
