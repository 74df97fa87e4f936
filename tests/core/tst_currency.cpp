#include "core/Currency.h"

#include <QTest>

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    void parseAndText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << "1000000" << true << "1000000";
        QTest::newRow("zero") << "0" << true << "0";
        QTest::newRow("leading zeros") << "000120" << true << "120";
        QTest::newRow("negative") << "-100000" << true << "-100000";
        QTest::newRow("decimal") << "12.50" << true << "12.5";
        QTest::newRow("four places") << "0.0001" << true << "0.0001";
        QTest::newRow("rounded fifth place") << "0.00005" << true << "0.0001";
        QTest::newRow("blanks") << "  42 " << true << "42";
        QTest::newRow("grouping refused") << "1,000" << false << "";
        QTest::newRow("text refused") << "abc" << false << "";
        QTest::newRow("empty refused") << "" << false << "";
        QTest::newRow("full-width digits refused") << "１２" << false << "";
        QTest::newRow("huge refused") << "99999999999999999999" << false << "";
    }
    void parseAndText()
    {
        QFETCH(QString, input);
        QFETCH(bool, valid);
        QFETCH(QString, text);
        const auto value = Currency::parse(input);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(value->toText(), text);
    }

    void sumsStayExact()
    {
        Currency total;
        for (int i = 0; i < 1000; ++i)
            total += Currency::parseOrZero(QStringLiteral("0.1"));
        QCOMPARE(total, Currency::fromUnits(100));
        QCOMPARE((Currency::fromUnits(400000) - Currency::fromUnits(1000000)).toText(), QStringLiteral("-600000"));
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
