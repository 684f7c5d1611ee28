#include <QtTest>

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
