#include "forms/frmAnalysis.h"

#include "core/AppContext.h"
#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/Export.h"
#include "diary/SearchScan.h"
#include "forms/AnalysisModel.h"
#include "forms/BusyCursor.h"
#include "forms/FormHelpers.h"
#include "forms/UnreadableDataFile.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QProgressBar>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QValueAxis>

namespace {

const struct
{
    AnalysisDimension dimension;
    const char16_t* title;
} kDimensions[] = {
    {AnalysisDimension::OboWay, u"応募方法"},   {AnalysisDimension::OboKeishiki, u"応募形式"},
    {AnalysisDimension::SenkoWay, u"選考方法"}, {AnalysisDimension::Cycle, u"サイクル"},
    {AnalysisDimension::Genre, u"ジャンル"},    {AnalysisDimension::Site, u"応募先"},
    {AnalysisDimension::Winners, u"当選人数"},
};

QString csvField(QString text)
{
    text.replace(u'"', u' '); // as in the other saved lists: a quote inside becomes a blank
    return u'"' + text + u'"';
}

// The months of a period as key-date criteria: nothing else is asked of an entry.
SearchCriteria periodCriteria(const QDate& from, const QDate& to)
{
    SearchCriteria criteria;
    criteria.keyDate = DateRange{QDate(from.year(), from.month(), 1),
                                 QDate(to.year(), to.month(), 1).addMonths(1).addDays(-1)};
    return normalizedCriteria(criteria);
}

} // namespace

frmAnalysis::frmAnalysis(const AppContext& context, const Settings& settings, const QDate& from,
                         const QDate& to, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_settings(settings)
{
    setObjectName(QStringLiteral("frmAnalysis"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("分析"));
    buildLayout(from, to);
    setRunning(false);
}

frmAnalysis::~frmAnalysis() = default;

void frmAnalysis::buildLayout(const QDate& from, const QDate& to)
{
    const auto monthPicker = [](const char* name, const QDate& date) {
        auto* picker = named(new QDateEdit(date), name);
        picker->setDisplayFormat(QStringLiteral("yyyy/MM"));
        picker->setCalendarPopup(false);
        return picker;
    };
    dtpFrom = monthPicker("dtpFrom", from);
    dtpTo = monthPicker("dtpTo", to);
    cmdRun = pushButton("cmdRun", QStringLiteral("集計(&S)"),
                        QStringLiteral("期間の月の記録を読んで、種類ごとに集計します"));
    cmdStop = pushButton("cmdStop", QStringLiteral("中止(&T)"));
    cmdSave = pushButton("cmdSave", QStringLiteral("保存(&V)"),
                         QStringLiteral("表示している表をCSVファイルに保存します"));
    cmdClose = pushButton("cmdClose", QStringLiteral("閉じる(&E)"));
    connect(cmdRun, &QPushButton::clicked, this,
            [this] { m_handlers.run([this] { cmdRun_Click(); }); });
    connect(cmdStop, &QPushButton::clicked, this, &frmAnalysis::cmdStop_Click);
    connect(cmdSave, &QPushButton::clicked, this,
            [this] { m_handlers.run([this] { cmdSave_Click(); }); });
    connect(cmdClose, &QPushButton::clicked, this, &frmAnalysis::cmdClose_Click);

    auto* period = new QHBoxLayout;
    period->addWidget(captionFor(dtpFrom, QStringLiteral("期間")));
    period->addWidget(dtpFrom);
    period->addWidget(captionFor(dtpTo, QStringLiteral("から")));
    period->addWidget(dtpTo);
    period->addWidget(new QLabel(QStringLiteral("まで")));
    period->addWidget(cmdRun);
    period->addWidget(cmdStop);
    period->addStretch();

    tabKinds = named(new QTabWidget, "tabKinds");
    for (const auto& d : kDimensions) {
        auto* model = new AnalysisModel(QString::fromUtf16(d.title), this);
        auto* proxy = new QSortFilterProxyModel(this);
        proxy->setSourceModel(model);
        proxy->setSortRole(Qt::UserRole);
        auto* view = new QTableView;
        view->setObjectName(QStringLiteral("lvwAnalysis%1").arg(int(d.dimension)));
        view->setModel(proxy);
        view->setSortingEnabled(true);
        view->sortByColumn(1, Qt::DescendingOrder);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setStretchLastSection(true);
        view->horizontalHeader()->setResizeContentsPrecision(200); // not every site's row
        view->setAccessibleName(QString::fromUtf16(d.title));
        connect(proxy, &QAbstractItemModel::layoutChanged, this, &frmAnalysis::drawChart);
        m_models.append(model);
        m_views.append(view);
        tabKinds->addTab(view, QString::fromUtf16(d.title));
    }
    connect(tabKinds, &QTabWidget::currentChanged, this, &frmAnalysis::drawChart);

    m_chart = new QChart;
    m_chart->legend()->hide();
    chtRate = named(new QChartView(m_chart), "chtRate");
    chtRate->setRenderHint(QPainter::Antialiasing);
    chtRate->setAccessibleName(QStringLiteral("当選率のグラフ"));
    chtRate->setMinimumHeight(fontMetrics().height() * 12);

    prgShinko = named(new QProgressBar, "prgShinko");
    prgShinko->setTextVisible(false);
    prgShinko->setAccessibleName(QStringLiteral("集計の進み具合"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgShinko, 1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(tabKinds, 3);
    layout->addWidget(chtRate, 2);
    layout->addLayout(buttons);
    const int em = fontMetrics().horizontalAdvance(u'0');
    resize(em * 110, fontMetrics().height() * 40);
}

void frmAnalysis::setRunning(bool running)
{
    m_running = running;
    for (QWidget* w : {static_cast<QWidget*>(dtpFrom), static_cast<QWidget*>(dtpTo),
                       static_cast<QWidget*>(cmdRun), static_cast<QWidget*>(cmdSave),
                       static_cast<QWidget*>(cmdClose)})
        w->setEnabled(!running);
    cmdStop->setEnabled(running);
}

void frmAnalysis::cmdRun_Click()
{
    m_stop = false;
    setRunning(true);
    std::optional<BusyCursor> busy(std::in_place);
    prgShinko->setRange(0, 0); // the number of entries is not known before they are read
    SearchScanHooks hooks;
    hooks.progress = [this](const SearchProgress& progress) {
        if (progress.stepCount > 0) {
            prgShinko->setRange(0, progress.stepCount);
            prgShinko->setValue(progress.stepsDone);
        }
        QCoreApplication::processEvents(); // the stop button
    };
    hooks.stopRequested = [this] { return m_stop.load(); };
    QList<UnreadableMonth> unreadable;
    hooks.unreadableFile = [&unreadable](const UnreadableMonthFile& file) {
        unreadable.append({file.path, file.status});
    };
    const PostageLoad postage = loadPostageTable(m_context.paths);
    AnalysisTally tally(m_settings.keyIsEndDay, postage.read.table);
    hooks.matched = [&tally](const EntryRecord& entry) { tally.add(entry); };
    hooks.matchedFields = AnalysisTally::kFieldsRead;
    const SearchOutcome outcome =
        runSearch(m_context.paths, periodCriteria(dtpFrom->date(), dtpTo->date()),
                  m_settings.passwordInForce(), hooks);
    const bool stopped = outcome.interrupted || m_stop;
    for (int i = 0; i < m_models.size(); ++i) {
        m_models[i]->setRows(stopped ? QList<AnalysisRow>() : tally.rows(kDimensions[i].dimension));
        m_views[i]->resizeColumnsToContents();
    }
    prgShinko->setRange(0, 1);
    prgShinko->setValue(stopped ? 0 : 1);
    busy.reset();
    drawChart();
    setRunning(false);
    reportUnreadableDataFiles(m_context.dialogs, unreadable);
    if (!postage.error.isEmpty() || !postage.read.badLines.isEmpty()) {
        QStringList lines;
        for (const int line : postage.read.badLines)
            lines.append(QString::number(line));
        const QString why = postage.error.isEmpty()
                                ? QStringLiteral("%1行目は料金として読めないため、使っていません。")
                                      .arg(lines.join(QStringLiteral("、")))
                                : postage.error;
        m_context.dialogs.message({QStringLiteral("郵送料の表「%1」: %2")
                                       .arg(QDir::toNativeSeparators(postage.path), why),
                                   QStringLiteral("分析"), MessageIcon::Exclamation,
                                   MessageButtons::Ok});
    }
    if (stopped)
        m_context.dialogs.message({QStringLiteral("集計を中止しました"), QStringLiteral("分析"),
                                   MessageIcon::None, MessageButtons::Ok});
}

void frmAnalysis::drawChart()
{
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes())
        m_chart->removeAxis(axis);
    const int current = tabKinds->currentIndex();
    if (current < 0)
        return;
    const QAbstractItemModel* shown = m_views[current]->model();
    auto* rates = new QBarSet(QStringLiteral("当選率"));
    QStringList labels;
    // The bars go upwards in the table's order, the first row at the top.
    for (int row = shown->rowCount() - 1; row >= 0; --row) {
        labels.append(shown->index(row, 0).data().toString());
        *rates << shown->index(row, 6).data().toString().toDouble();
    }
    auto* series = new QHorizontalBarSeries;
    series->append(rates);
    m_chart->addSeries(series);
    auto* labelAxis = new QBarCategoryAxis;
    labelAxis->append(labels);
    m_chart->addAxis(labelAxis, Qt::AlignLeft);
    series->attachAxis(labelAxis);
    auto* rateAxis = new QValueAxis;
    rateAxis->setTitleText(QStringLiteral("当選率（％）"));
    rateAxis->setMin(0);
    m_chart->addAxis(rateAxis, Qt::AlignBottom);
    series->attachAxis(rateAxis);
    m_chart->setTitle(tabKinds->tabText(current) + QStringLiteral("ごとの当選率"));
}

void frmAnalysis::cmdSave_Click()
{
    const int current = tabKinds->currentIndex();
    FileDialogSpec spec;
    spec.caption = QStringLiteral("保存");
    spec.fileName = m_lastFileName.isEmpty()
                        ? QStringLiteral("分析_%1.csv").arg(tabKinds->tabText(current))
                        : m_lastFileName;
    spec.filter = QStringLiteral("*.csv (*.csv)");
    QString path = m_context.dialogs.saveFileName(spec);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    m_lastFileName = path;
    const AnalysisModel* model = m_models[current];
    const QAbstractItemModel* shown = m_views[current]->model();
    QStringList lines;
    QStringList header;
    for (const QString& text : model->headerTexts())
        header.append(csvField(text));
    lines.append(header.join(u','));
    for (int row = 0; row < shown->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < shown->columnCount(); ++column)
            cells.append(csvField(shown->index(row, column).data().toString()));
        lines.append(cells.join(u','));
    }
    const listexport::EncodedExport encoded =
        listexport::encodeExport(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    QString error =
        encoded.unencodable.isEmpty()
            ? writeFileAtomically(path, encoded.bytes)
            : QStringLiteral("「%1」はファイルに書けない文字です。").arg(encoded.unencodable);
    if (!error.isEmpty()) {
        m_context.dialogs.message({QStringLiteral("「%1」を保存できませんでした。\r\n%2")
                                       .arg(QDir::toNativeSeparators(path), error),
                                   QStringLiteral("保存エラー"), MessageIcon::Critical,
                                   MessageButtons::Ok});
        return;
    }
    m_context.dialogs.message({QStringLiteral("保存しました"), QStringLiteral("完了"),
                               MessageIcon::None, MessageButtons::Ok});
}

void frmAnalysis::closeEvent(QCloseEvent* event)
{
    m_stop = true; // a running count ends, then the window closes
    if (m_handlers.closeLater([this] { close(); }))
        event->ignore();
    else
        QWidget::closeEvent(event);
}
