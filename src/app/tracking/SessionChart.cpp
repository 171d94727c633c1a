#include "app/tracking/SessionChart.h"

#include "tracking/TrackingSummary.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>

#include <algorithm>

namespace varnok::app {

SessionChart::SessionChart(QWidget* parent) : QChartView(parent) {
    setObjectName("SessionChart");
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->setAnimationOptions(QChart::NoAnimation);
    setMinimumHeight(260);
}

void SessionChart::ShowSession(const TrackingSession& session) {
    QStringList categories;
    QList<qreal> optimal;
    QList<qreal> bucker;
    for (int user = 1; user <= session.UserCount(); ++user) {
        const TreeSums sums = SumSession(session, user);
        categories << "Bucker " + QString::number(user);
        optimal << sums.OV;
        bucker << sums.BV;
    }
    Show("Session value of each bucker", categories, "Bucker", optimal, bucker);
}

void SessionChart::ShowTrees(const TrackingSession& session, int user) {
    QStringList categories;
    QList<qreal> optimal;
    QList<qreal> bucker;
    for (const TreeValues& tree : ValuesPerTree(session, user)) {
        // As the "Results" list names the position, with the tree's own number.
        categories << QString("Tree%1 (%2)").arg(tree.Position).arg(tree.TreeNumber);
        optimal << tree.Optimal;
        bucker << tree.Bucker;
    }
    const QString name = "Bucker " + QString::number(user);
    Show("Value of each tree, " + name, categories, name, optimal, bucker);
}

void SessionChart::Show(const QString& title, const QStringList& categories,
                        const QString& buckerName, const QList<qreal>& optimal,
                        const QList<qreal>& bucker) {
    QChart* chart = this->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(title);
    auto* series = new QBarSeries;
    auto* optimalSet = new QBarSet("Optimal");
    optimalSet->append(optimal);
    auto* buckerSet = new QBarSet(buckerName);
    buckerSet->append(bucker);
    series->append(optimalSet);
    series->append(buckerSet);
    chart->addSeries(series);

    auto* across = new QBarCategoryAxis;
    across->append(categories);
    chart->addAxis(across, Qt::AlignBottom);
    series->attachAxis(across);
    // Net values go below zero when a pattern is mostly cull.
    const QList<qreal> all = optimal + bucker;
    const qreal low =
        std::min<qreal>(0, all.isEmpty() ? 0 : *std::min_element(all.begin(), all.end()));
    const qreal high =
        std::max<qreal>(0, all.isEmpty() ? 0 : *std::max_element(all.begin(), all.end()));
    auto* values = new QValueAxis;
    values->setTitleText("Net value ($)");
    values->setLabelFormat("%.0f");
    values->setRange(low, high > low ? high : low + 1);
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
}

} // namespace varnok::app
