#include "analysis/ui/analyze.h"

#include "analysis/WordList.h"
#include "document/LineText.h"
#include "platform/Cp1254.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 24;

// Keys and figures are bytes of the code page; the figures are plain ASCII.
QString CellText(const std::string& bytes) { return cp1254::Decode(bytes); }

void PutOnClipboard(const std::string& bytes) { QGuiApplication::clipboard()->setText(cp1254::Decode(bytes)); }

} // namespace

TFrequencyModel::TFrequencyModel(std::vector<TFrequencyRow> rows, QStringList header, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_header(std::move(header))
{
}

int TFrequencyModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TFrequencyModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant TFrequencyModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const TFrequencyRow& r = m_rows[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return CellText(r.Item);
    case 1:
        return CellText(r.Usage);
    case 2:
        return CellText(r.Percent);
    default:
        return {};
    }
}

QVariant TFrequencyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_header.size())
        return m_header[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TFrequencyModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

TGeneralModel::TGeneralModel(std::vector<TGeneralRow> rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows))
{
}

int TGeneralModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TGeneralModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant TGeneralModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const TGeneralRow& r = m_rows[static_cast<std::size_t>(index.row())];
    if (index.column() == 0)
        return QCoreApplication::translate("TAnalyzetext", r.Label.c_str());
    // "123 bytes": the figure stays, its unit is read in the window's language.
    const std::size_t unit = r.Value.find(" bytes");
    if (unit != std::string::npos)
        return QCoreApplication::translate("TAnalyzetext", "%1 bytes").arg(CellText(r.Value.substr(0, unit)));
    return CellText(r.Value);
}

Qt::ItemFlags TGeneralModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

TAnalyzetext::TAnalyzetext(const LineView& lines, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Analyzetext"));
    setWindowTitle(tr("Analyze"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    // Where Tahoma is missing, a face of similar width keeps the three tabs within the window.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    // The three captions fit the window's width only with tabs as tight as the home desktop's.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));

    auto page = [this](QWidget*& sheet, const char* name, const QString& caption) {
        sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(sheet, caption);
        auto* l = new QVBoxLayout(sheet);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
    };
    page(TabSheet1, "TabSheet1", tr("General"));
    page(TabSheet2, "TabSheet2", tr("Char Frequency"));
    page(TabSheet3, "TabSheet3", tr("Word Frequency"));

    S1 = MakeGrid(TabSheet1, 125);
    S1->setObjectName(QStringLiteral("S1"));
    S1->horizontalHeader()->hide();
    S2 = MakeGrid(TabSheet2, 76);
    S2->setObjectName(QStringLiteral("S2"));
    S3 = MakeGrid(TabSheet3, 76);
    S3->setObjectName(QStringLiteral("S3"));

    Panel1 = new QWidget(TabSheet3);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(28);
    TabSheet3->layout()->addWidget(Panel1);
    Button1 = new QPushButton(tr("Copy Word-list"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 2, 89, 25);
    Button2 = new QPushButton(tr("Copy All as CSV"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(95, 2, 89, 25);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyWordstoClipboard1 = PopupMenu1->addAction(tr("Copy Words to Clipboard"));
    CopyWordstoClipboard1->setObjectName(QStringLiteral("CopyWordstoClipboard1"));
    CopyAllinCSVformat1 = PopupMenu1->addAction(tr("Copy All to Clipboard as CSV"));
    CopyAllinCSVformat1->setObjectName(QStringLiteral("CopyAllinCSVformat1"));
    S3->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(S3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(S3->viewport()->mapToGlobal(at)); });
    connect(CopyWordstoClipboard1, &QAction::triggered, this, &TAnalyzetext::CopyWordstoClipboard1Click);
    connect(CopyAllinCSVformat1, &QAction::triggered, this, &TAnalyzetext::CopyAllinCSVformat1Click);
    connect(Button1, &QPushButton::clicked, this, &TAnalyzetext::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TAnalyzetext::Button2Click);

    FormCreate(lines);
    PageControl1->setCurrentIndex(0);

    resize(254, 200);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

QTableView* TAnalyzetext::MakeGrid(QWidget* page, int defaultColumnWidth)
{
    auto* grid = new QTableView(page);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setWordWrap(false);
    grid->setContextMenuPolicy(Qt::NoContextMenu);
    grid->verticalHeader()->hide();
    // Every row the same height and no per-row measuring: the grid stays instant however
    // many rows the table has.
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultSectionSize(defaultColumnWidth);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setFixedHeight(kRowHeight);
    page->layout()->addWidget(grid);
    return grid;
}

void TAnalyzetext::FormCreate(const LineView& lines)
{
    TTextStatistics stats = AnalyzeText(lines);
    S1->setModel(new TGeneralModel(stats.General(), this));
    S2->setModel(new TFrequencyModel(std::move(stats.CharRows),
                                     {tr("Char"), tr("Usage"), QStringLiteral("%")}, this));
    m_words = new TFrequencyModel(std::move(stats.WordRows),
                                  {tr("Word"), tr("Usage"), QStringLiteral("%")}, this);
    S3->setModel(m_words);
}

void TAnalyzetext::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    FormResize();
}

void TAnalyzetext::FormResize()
{
    const int w = width();
    for (int c = 0; c < 2; ++c)
        S1->setColumnWidth(c, w / 2 - 10);
    for (QTableView* grid : {S2, S3})
        for (int c = 0; c < 3; ++c)
            grid->setColumnWidth(c, w / 3 - 12);
}

int TAnalyzetext::RowCount(const QTableView* grid) const
{
    const int rows = grid->model()->rowCount();
    return grid == S1 ? rows : rows + 1;
}

QString TAnalyzetext::Cell(const QTableView* grid, int col, int row) const
{
    const QAbstractItemModel* model = grid->model();
    if (grid == S1)
        return model->index(row, col).data().toString();
    if (row == 0)
        return model->headerData(col, Qt::Horizontal).toString();
    return model->index(row - 1, col).data().toString();
}

void TAnalyzetext::Button1Click() { CopyWordstoClipboard1->trigger(); }

void TAnalyzetext::Button2Click() { CopyAllinCSVformat1->trigger(); }

void TAnalyzetext::CopyWordstoClipboard1Click() { PutOnClipboard(WordListText(m_words->Rows())); }

void TAnalyzetext::CopyAllinCSVformat1Click() { PutOnClipboard(WordCsvText(m_words->Rows())); }
