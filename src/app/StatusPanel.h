#pragma once

#include "market/Market.h"

#include <QFrame>
#include <QLineEdit>

#include <array>

namespace varnok::app {

// The eight fields that name the market in force, in two rows of four.
enum class StatusField { Market, Veneer, Saw, Roundwood, Scaling, Prices, Filter, Trim };
inline constexpr std::size_t kStatusFieldCount = 8;

class StatusPanel : public QFrame {
    Q_OBJECT

public:
    // `names`: the component name of each field, in StatusField order.
    StatusPanel(const std::array<const char*, kStatusFieldCount>& names, QWidget* parent);

    // The market's name, its rule sets' names and the trim allowance in force (inches).
    void ShowMarket(const Market& market);
    void CopyFrom(const StatusPanel& other);
    QString Text(StatusField field) const;

private:
    std::array<QLineEdit*, kStatusFieldCount> fields_{};
};

} // namespace varnok::app
