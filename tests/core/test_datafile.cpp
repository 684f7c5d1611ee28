#include <QtTest>

class TestDatafile : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestDatafile)
#include "test_datafile.moc"
