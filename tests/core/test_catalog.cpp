#include <QtTest>

class TestCatalog : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestCatalog)
#include "test_catalog.moc"
