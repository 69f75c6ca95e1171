#pragma once

#include "analysis/TextStatistics.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QStringList>

#include <vector>

class LineView;
class QAction;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;

// A frequency table for a grid: the rows stay bytes and are decoded only when a cell is
// drawn, so a table of hundreds of thousands of rows costs no more than its rows.
class TFrequencyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TFrequencyModel(std::vector<TFrequencyRow> rows, QStringList header, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<TFrequencyRow>& Rows() const { return m_rows; }

private:
    std::vector<TFrequencyRow> m_rows;
    QStringList m_header;
};

// The general figures: label and value, no header.
class TGeneralModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TGeneralModel(std::vector<TGeneralRow> rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TGeneralRow> m_rows;
};

// The Analyze window: the statistics of the document at the moment it was created, on
// three pages, with the word table's two clipboard exports. It never touches the document.
class TAnalyzetext : public QDialog {
    Q_OBJECT
public:
    explicit TAnalyzetext(const LineView& lines, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    QTableView *S1 = nullptr, *S2 = nullptr, *S3 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction *CopyWordstoClipboard1 = nullptr, *CopyAllinCSVformat1 = nullptr;

    // A grid read as its cells: for S2 and S3 row 0 is the header row.
    int RowCount(const QTableView* grid) const;
    QString Cell(const QTableView* grid, int col, int row) const;

    void FormResize();
    void Button1Click();
    void Button2Click();
    void CopyWordstoClipboard1Click();
    void CopyAllinCSVformat1Click();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void FormCreate(const LineView& lines);
    QTableView* MakeGrid(QWidget* page, int defaultColumnWidth);

    TFrequencyModel* m_words = nullptr;
};
