#include "forms/frmChart.h"

#include "core/Dialogs.h"
#include "forms/FormHelpers.h"
#include "forms/ScreenFit.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

frmChart::frmChart(Dialogs& dialogs, std::function<ChartSeries()> source, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmChart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("グラフ"));
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    chtGraph = named(new QChartView(m_chart), "chtGraph");
    chtGraph->setRenderHint(QPainter::Antialiasing);
    chtGraph->setAccessibleName(QStringLiteral("グラフ"));
    cmdSavePng = named(new QPushButton(QStringLiteral("画像保存(&S)")), "cmdSavePng");
    cmdClose = named(new QPushButton(QStringLiteral("閉じる(&E)")), "cmdClose");
    connect(cmdSavePng, &QPushButton::clicked, this,
            [this] { m_handlers.run([this] { cmdSavePng_Click(); }); });
    connect(cmdClose, &QPushButton::clicked, this, &frmChart::cmdClose_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSavePng);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chtGraph, 1);
    layout->addLayout(buttons);
    resize(760, 480);
    keepOnOwnersScreen(this, parent);
    refresh();
}

frmChart::~frmChart() = default;

void frmChart::refresh()
{
    draw(m_source());
}

void frmChart::draw(const ChartSeries& series)
{
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes())
        m_chart->removeAxis(axis);
    m_chart->setTitle(series.title);

    QStringList categories;
    auto* entries = new QBarSet(QStringLiteral("応募総数"));
    auto* wins = new QBarSet(QStringLiteral("当選総数"));
    auto* balance = new QLineSeries;
    balance->setName(QStringLiteral("収支総額（累計）"));
    balance->setPen(QPen(QColor(230, 120, 0), 3)); // apart from the bars' colours
    int maxCount = 0;
    double low = 0;
    double high = 0;
    for (int i = 0; i < series.points.size(); ++i) {
        const ChartPoint& p = series.points.at(i);
        categories.append(p.label);
        *entries << p.entries;
        *wins << p.wins;
        const double yen = yenValue(p.cumulativeBalance);
        balance->append(i, yen);
        maxCount = std::max({maxCount, p.entries, p.wins});
        low = std::min(low, yen);
        high = std::max(high, yen);
    }
    auto* bars = new QBarSeries;
    bars->append(entries);
    bars->append(wins);
    m_chart->addSeries(bars);
    m_chart->addSeries(balance);

    QLineSeries* target = nullptr;
    if (series.target && !series.points.isEmpty()) {
        const double yen = yenValue(*series.target);
        target = new QLineSeries;
        target->setName(QStringLiteral("目標収支金額"));
        target->append(0, yen);
        target->append(qreal(series.points.size() - 1), yen);
        QPen pen(Qt::red);
        pen.setStyle(Qt::DashLine);
        pen.setWidth(2);
        target->setPen(pen);
        m_chart->addSeries(target);
        low = std::min(low, yen);
        high = std::max(high, yen);
    }

    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    m_chart->addAxis(categoryAxis, Qt::AlignBottom);
    auto* countAxis = new QValueAxis;
    countAxis->setTitleText(QStringLiteral("件数"));
    countAxis->setLabelFormat(QStringLiteral("%d"));
    countAxis->setRange(0, std::max(1, maxCount));
    countAxis->applyNiceNumbers();
    m_chart->addAxis(countAxis, Qt::AlignLeft);
    auto* yenAxis = new QValueAxis;
    yenAxis->setTitleText(QStringLiteral("収支（円）"));
    yenAxis->setLabelFormat(QStringLiteral("%.0f"));
    // Some room above and below, so a level line never sits on the frame.
    const double margin = std::max(1.0, (high - low) * 0.05);
    yenAxis->setRange(low < 0 ? low - margin : 0, high + margin);
    yenAxis->applyNiceNumbers();
    m_chart->addAxis(yenAxis, Qt::AlignRight);

    bars->attachAxis(categoryAxis);
    bars->attachAxis(countAxis);
    for (QLineSeries* line : {balance, target}) {
        if (!line)
            continue;
        line->attachAxis(categoryAxis);
        line->attachAxis(yenAxis);
    }
}

QString frmChart::savePng(const QString& path)
{
    const QPixmap picture = chtGraph->grab();
    QImageWriter writer(path, "png");
    if (!writer.write(picture.toImage()))
        return writer.errorString();
    return {};
}

void frmChart::cmdSavePng_Click()
{
    FileDialogSpec spec;
    spec.caption = QStringLiteral("グラフを画像で保存");
    spec.fileName = m_lastFileName;
    spec.filter = QStringLiteral("*.png (*.png)");
    QString chosen = m_dialogs.saveFileName(spec);
    if (chosen.isEmpty())
        return;
    if (!chosen.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        chosen += QStringLiteral(".png");
    m_lastFileName = chosen;
    if (const QString error = savePng(chosen); !error.isEmpty()) {
        m_dialogs.message(
            {QStringLiteral("グラフを「%1」に保存できませんでした。\r\n%2").arg(chosen, error),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    m_dialogs.message({QStringLiteral("保存しました"), QStringLiteral("完了"), MessageIcon::None,
                       MessageButtons::Ok});
}

void frmChart::cmdClose_Click()
{
    close();
}

void frmChart::closeEvent(QCloseEvent* event)
{
    // Closed from the event loop of its own save dialog or box, it would be deleted under it.
    if (m_handlers.closeLater([this] { close(); }))
        event->ignore();
    else
        QWidget::closeEvent(event);
}
