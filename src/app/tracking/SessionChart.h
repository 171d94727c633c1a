#pragma once

#include <QChartView>

namespace varnok {
class TrackingSession;
}

namespace varnok::app {

// The bar chart of a session's net values in dollars, the optimal beside the bucker's: per
// bucker over the whole session, or per tree for one bucker. Each series is a bar set named
// "Optimal" or after the bucker; nothing is kept of the session.
class SessionChart : public QChartView {
    Q_OBJECT

public:
    explicit SessionChart(QWidget* parent);

    // Every bucker's session total beside the optimal total of the same trees.
    void ShowSession(const TrackingSession& session);
    // Bucker `user`'s value of each tree of the session beside the tree's optimal value.
    void ShowTrees(const TrackingSession& session, int user);

private:
    void Show(const QString& title, const QStringList& categories, const QString& buckerName,
              const QList<qreal>& optimal, const QList<qreal>& bucker);
};

} // namespace varnok::app
