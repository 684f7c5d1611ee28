#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
