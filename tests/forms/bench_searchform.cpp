// Measures searches started from the search form over a diary of 20 years × 12 months × 400
// entries (96 000 entries): the scan, the progress rounds, filling the main window's list and
// its figures. Prints the times; a slow machine does not fail it. Give a program folder as the
// first argument to keep the generated diary between runs.
#include "support/DiaryGenerator.h"
#include "core/Clock.h"
#include "forms/frmDataSearch.h"
#include "support/ScriptedDialogs.h"
#include "forms/EntryTableModel.h"
#include "forms/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

class BenchSearchForm : public QObject
{
    Q_OBJECT

public:
    QString folder;

private:
    QTemporaryDir m_temp;
    DiaryShape m_shape;
    qint64 m_entries = 0;
    ScriptedDialogs m_dialogs;
    FixedClock m_clock{QDate(2026, 12, 7)};
    std::unique_ptr<frmMain> m_window;
    frmDataSearch* m_form = nullptr;

    void measure(const char* label, const std::function<void()>& setCriteria, qint64 expectedResults)
    {
        m_form->cmdNewSearch_Click();
        setCriteria();
        auto* start = m_form->findChild<QPushButton*>(QStringLiteral("cmdSearch"));
        QList<qint64> times;
        for (int run = 0; run < 3; ++run) {
            m_window->searchModel()->clear(); // freeing the last results is not part of a search
            QElapsedTimer timer;
            timer.start();
            start->click();
            times.append(timer.elapsed());
            QCOMPARE(m_dialogs.shown.last().box.text, QStringLiteral("検索が終了しました"));
        }
        std::sort(times.begin(), times.end());
        const qint64 results = m_window->searchModel()->rowCount();
        qInfo("%s: %lld results of %lld entries; best %lld ms, median %lld ms", label, results, m_entries,
              times.first(), times[times.size() / 2]);
        if (expectedResults >= 0)
            QCOMPARE(results, expectedResults);
        QVERIFY(results > 0);
    }

private slots:
    void initTestCase()
    {
        if (folder.isEmpty())
            folder = m_temp.path();
        const AppPaths paths(folder);
        m_entries = qint64(m_shape.years) * 12 * m_shape.entriesPerMonth;
        if (!QFileInfo::exists(paths.monthFilePath(QString::number(m_shape.firstYear), "01"))) {
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(writeGeneratedDiary(paths, m_shape), m_entries);
            qInfo("wrote %lld entries in %lld ms", m_entries, timer.elapsed());
        }
        if (!QFileInfo::exists(paths.settingsPath()))
            m_dialogs.queueAnswer(MessageAnswer::No); // no desktop shortcut on the first start
        m_window = std::make_unique<frmMain>(AppContext{paths, m_dialogs, m_clock});
        QVERIFY(m_window->Form_Load());
        m_window->show();
        auto* tabs = m_window->findChild<QTabWidget*>(QStringLiteral("tabMain"));
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->property("tabKey").toString() == u"T_Search")
                tabs->setCurrentIndex(i);
        }
        m_form = m_window->findChild<frmDataSearch*>(QStringLiteral("frmDataSearch"));
        QVERIFY(m_form);
    }

    void cleanupTestCase() { m_window.reset(); }

    void noCriteria() { measure("window, no criteria", [] {}, m_entries); }

    void siteText()
    {
        measure("window, site text \"abc\"",
                [this] { m_form->findChild<QLineEdit*>(QStringLiteral("txtSite"))->setText(QStringLiteral("abc")); },
                -1);
    }

    // How soon a search ends after 中止 is pressed: the press waits for the next progress round.
    void stopLatency()
    {
        m_form->cmdNewSearch_Click();
        auto* start = m_form->findChild<QPushButton*>(QStringLiteral("cmdSearch"));
        auto* stop = m_form->findChild<QPushButton*>(QStringLiteral("cmdClose"));
        constexpr qint64 kDue = 100;
        QElapsedTimer timer;
        qint64 pressedAt = -1;
        QTimer::singleShot(int(kDue), this, [&] {
            pressedAt = timer.elapsed();
            stop->click();
        });
        timer.start();
        start->click();
        const qint64 ended = timer.elapsed();
        QCOMPARE(m_dialogs.shown.last().box.text, QStringLiteral("検索を中断しました"));
        QVERIFY(pressedAt >= kDue);
        qInfo("stop pressed %lld ms after it was due; the search ended %lld ms after it was due", pressedAt - kDue,
              ended - kDue);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BenchSearchForm bench;
    QStringList args = app.arguments();
    if (args.size() > 1 && !args.at(1).startsWith(u'-')) {
        bench.folder = QDir(args.takeAt(1)).absolutePath();
        QDir().mkpath(bench.folder);
    }
    return QTest::qExec(&bench, args);
}

#include "bench_searchform.moc"
