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
        QTest::newRow("only the fifth place rounds") << "0.000049" << true << "0";
        QTest::newRow("blanks") << "  42 " << true << "42";
        QTest::newRow("grouping refused") << "1,000" << false << "";
        QTest::newRow("text refused") << "abc" << false << "";
        QTest::newRow("empty refused") << "" << false << "";
        QTest::newRow("full-width digits refused") << "１２" << false << "";
        QTest::newRow("huge refused") << "99999999999999999999" << false << "";
        QTest::newRow("largest") << "922337203685477.5807" << true << "922337203685477.5807";
        QTest::newRow("smallest but one")
            << "-922337203685477.5807" << true << "-922337203685477.5807";
        QTest::newRow("15 digits beyond range") << "922337203685478" << false << "";
        QTest::newRow("fraction beyond range") << "922337203685477.5808" << false << "";
        QTest::newRow("rounding beyond range") << "922337203685477.58075" << false << "";
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

    void outOfRangeIsToldApartFromText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("outOfRange");
        QTest::newRow("beyond range") << "922337203685478" << true;
        QTest::newRow("beyond range, then text") << "922337203685478x" << false;
        QTest::newRow("text") << "12a" << false;
    }
    void outOfRangeIsToldApartFromText()
    {
        QFETCH(QString, input);
        QFETCH(bool, outOfRange);
        bool flagged = !outOfRange;
        QVERIFY(!Currency::parse(input, &flagged));
        QCOMPARE(flagged, outOfRange);
    }

    void checkedSumsReportOverflow()
    {
        const Currency top = *Currency::parse(QStringLiteral("922337203685477"));
        QCOMPARE(Currency::checkedSum(top, Currency::fromUnits(-1))->toText(),
                 QStringLiteral("922337203685476"));
        QVERIFY(!Currency::checkedSum(top, Currency::fromUnits(1)));
        QVERIFY(!Currency::checkedDifference(Currency() - top, top));
    }

    void sumsStayExact()
    {
        Currency total;
        for (int i = 0; i < 1000; ++i)
            total += Currency::parseOrZero(QStringLiteral("0.1"));
        QCOMPARE(total, Currency::fromUnits(100));
        QCOMPARE((Currency::fromUnits(400000) - Currency::fromUnits(1000000)).toText(),
                 QStringLiteral("-600000"));
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
