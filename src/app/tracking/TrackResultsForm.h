#pragma once

#include "support/DataFolder.h"

#include <QWidget>

class QComboBox;
class QFileDialog;
class QSplitter;
class QTableWidget;

namespace varnok {
class Market;
class TrackingSession;
struct SummaryGrid;
} // namespace varnok

namespace varnok::app {

class SessionChart;

// "Results Of Bucking Session": for the bucker chosen in "Bucker", the session summary or the
// summary of one tree ("Results"), as a grid of the core's texts, with a bar chart of the net
// values beside the optimal ones. Everything is computed afresh from the session on show and on
// every choice. "Export..." writes the session as a comma-separated file, "Print..." prints
// every summary. "Done" or closing the window reports Done.
class TTrackResultsForm : public QWidget {
    Q_OBJECT

public:
    // `data` (the folder of the reports) must outlive the window.
    explicit TTrackResultsForm(const DataFolder& data);

    // The session to show when the window is next shown, and the market whose roundwood names
    // it shows; both must stay alive while the window is shown.
    void Present(const TrackingSession& session, const Market& market);

signals:
    void Done();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FillLists();
    void SelectionChanged(); // of "Bucker" or "Results"
    void ShowGrid(const SummaryGrid& grid);
    void ExportClick();
    void FileChosen(const QString& file);
    void PrintClick();

    const DataFolder& data_;
    const TrackingSession* session_ = nullptr;
    const Market* market_ = nullptr;
    QComboBox* buckers_;
    QComboBox* results_;
    QSplitter* split_;
    QTableWidget* grid_;
    SessionChart* chart_;
    QFileDialog* saveDialog_;
};

} // namespace varnok::app
