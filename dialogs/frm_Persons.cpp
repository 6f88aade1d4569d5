#include "dialogs/frm_Persons.h"

#include "dialogs/clsPersonRow.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "runtime/clsChainPublisher.h"
#include "model/clsZembaObject.h"
#include "strings/clsStringTable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int HeaderHeight = 17;
constexpr int RowHeight = 16;
constexpr int NameWidth = 150;
constexpr int ValueWidth = 50;
constexpr std::int32_t TextFirstHeader = 2110;
constexpr std::int32_t TextMorePersons = 3220;
constexpr auto RepaintInterval = std::chrono::milliseconds(500);

} // namespace

// Hands every row to the dialog's row painter; rows are as wide as the header,
// so that the list scrolls horizontally exactly as far as the header reaches.
class TfrmPersons::TRowDelegate : public QStyledItemDelegate
{
public:
    explicit TRowDelegate(TfrmPersons& theForm) : QStyledItemDelegate(&theForm), form(theForm) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        form.lbPersonsDrawItem(*painter, index.row(), option.rect, option);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {form.hcPersons->length(), RowHeight};
    }

private:
    TfrmPersons& form;
};

struct TfrmPersons::TClient
{
    QHeaderView* hcPersons = nullptr;
    QListWidget* lbPersons = nullptr;
};

TfrmPersons::TfrmPersons(QWidget* owner)
    : TfrmPersons(owner, TClient{})
{
}

// The client area is built while the base constructor runs, so that the base
// localises it with the rest; `client` carries the components over to the
// members, which do not exist yet at that time.
TfrmPersons::TfrmPersons(QWidget* owner, TClient&& client)
    : TfrmEdit(owner, [&client](QDialog& form, QWidget& pnlClient) { LayoutClient(form, pnlClient, client); }),
      hcPersons(client.hcPersons),
      lbPersons(client.lbPersons),
      timer(new QTimer(this))
{
    for (int k = 0; k < TPersonRow::ColumnCount; ++k)
        hcPersons->model()->setHeaderData(k, Qt::Horizontal, GetStringById(TextFirstHeader + k));
    FitHeaders();

    lbPersons->setItemDelegate(new TRowDelegate(*this));
    connect(hcPersons, &QHeaderView::sectionResized, this, &TfrmPersons::hcPersonsSectionResize);
    connect(lbPersons->horizontalScrollBar(), &QScrollBar::valueChanged, hcPersons, &QHeaderView::setOffset);

    timer->setInterval(RepaintInterval);
    connect(timer, &QTimer::timeout, this, &TfrmPersons::timerTimer);
    timer->start();
}

TfrmPersons::~TfrmPersons() = default;

void TfrmPersons::LayoutClient(QDialog& form, QWidget& pnlClient, TClient& client)
{
    form.setObjectName(QStringLiteral("frmPersons"));
    form.setWindowTitle(QStringLiteral("#2100 Persons"));
    form.resize(430, 252);

    client.lbPersons = new QListWidget(&pnlClient);
    client.lbPersons->setObjectName(QStringLiteral("lbPersons"));
    client.lbPersons->setUniformItemSizes(true);
    client.lbPersons->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    client.hcPersons = new QHeaderView(Qt::Horizontal, &pnlClient);
    QHeaderView* header = client.hcPersons;
    header->setObjectName(QStringLiteral("hcPersons"));
    header->setModel(new QStandardItemModel(0, TPersonRow::ColumnCount, header));
    header->setFixedHeight(HeaderHeight);
    header->setSectionsMovable(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setDefaultSectionSize(ValueWidth);
    header->resizeSection(0, NameWidth);
    header->setStretchLastSection(true);

    // The list's frame moves its rows in by its width; the header is moved in
    // by as much, so that every cell stands under its section.
    const int frame = client.lbPersons->frameWidth();
    auto* headerRow = new QHBoxLayout;
    headerRow->setContentsMargins(frame, 0, frame, 0);
    headerRow->addWidget(header);

    auto* layout = new QVBoxLayout(&pnlClient);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(headerRow);
    layout->addWidget(client.lbPersons);
}

void TfrmPersons::FitHeaders()
{
    // The column widths were chosen for a smaller font than the window's; a
    // column is never narrower than its header, and the dialog opens wide
    // enough for every header, the last one's too.
    int wanted = 2 * lbPersons->frameWidth();
    for (int k = 0; k < TPersonRow::ColumnCount; ++k) {
        const int fitted = std::max(hcPersons->sectionSize(k), hcPersons->sectionSizeHint(k));
        if (k + 1 < TPersonRow::ColumnCount)
            hcPersons->resizeSection(k, fitted);
        wanted += fitted;
    }
    resize(std::max(width(), wanted), height());
}

void TfrmPersons::SetManager(const TZOManager* newManager)
{
    manager = newManager;
    FillList();
}

void TfrmPersons::SetPublisher(TChainPublisher* newPublisher)
{
    publisher = newPublisher;
    timerTimer();
}

void TfrmPersons::SelectPerson(std::int32_t id)
{
    for (int i = 0; i < lbPersons->count(); ++i)
        if (ParseRowId(lbPersons->item(i)->text()) == id)
            lbPersons->setCurrentRow(i);
}

QRect TfrmPersons::CellRect(const QRect& row, int column) const
{
    return {row.left() + hcPersons->sectionPosition(column), row.top(), hcPersons->sectionSize(column), row.height()};
}

void TfrmPersons::FillList()
{
    const QListWidgetItem* current = lbPersons->currentItem();
    const std::optional<std::int32_t> currentId = current ? ParseRowId(current->text()) : std::nullopt;
    lbPersons->clear();
    moreRow = -1;
    if (!manager)
        return;
    constexpr auto listed = static_cast<std::size_t>(TChainPublisher::KeptPersons);
    std::vector<TZembaObject*> persons;
    manager->Collect(persons, TZembaObject::KindPerson, listed + 1);
    const bool more = persons.size() > listed;
    persons.resize(std::min(persons.size(), listed));
    for (const TZembaObject* person : persons) {
        auto* item = new QListWidgetItem(QString::number(person->GetId()), lbPersons);
        // A name never changes: the row keeps it for when its person is off the trail.
        if (const auto* named = dynamic_cast<const TPerson*>(person))
            item->setData(Qt::UserRole, QString::fromStdString(named->GetName()));
    }
    if (more) {
        moreRow = lbPersons->count();
        lbPersons->addItem(QString());
    }
    if (currentId)
        SelectPerson(*currentId);
}

TPersonRow TfrmPersons::RowOf(std::int32_t id, const QString& name) const
{
    const THandlerState* person = shown.Find(id);
    // A person missing from a copy that does not hold everyone may only be unlisted.
    if (person || !publisher || !shown.HoldsEveryPerson())
        return TPersonRow::Of(person);
    const auto arrival = std::find_if(arrivals.begin(), arrivals.end(),
                                      [id](const TScenario::TArrival& a) { return a.id == id; });
    return TPersonRow::OffTrail(name, arrival != arrivals.end() ? std::optional(arrival->step) : std::nullopt, shown.step);
}

void TfrmPersons::lbPersonsDrawItem(QPainter& painter, int index, const QRect& rect, const QStyleOptionViewItem& state)
{
    const QListWidgetItem* item = lbPersons->item(index);
    const std::optional<std::int32_t> id = item ? ParseRowId(item->text()) : std::nullopt;
    const TPersonRow row = id ? RowOf(*id, item->data(Qt::UserRole).toString()) : TPersonRow::Of(nullptr);

    const bool selected = state.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(state.state & QStyle::State_Enabled) ? QPalette::Disabled
        : state.state & QStyle::State_Active                                   ? QPalette::Active
                                                                               : QPalette::Inactive;
    const QBrush background = state.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base);
    painter.save();
    painter.setPen(state.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));

    if (index == moreRow) {
        painter.fillRect(rect, background);
        painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         GetStringById(TextMorePersons).arg(std::max(0, shown.personCount - moreRow)));
    } else if (row.gone && row.Cell(0).isEmpty()) {
        painter.fillRect(rect, background);
        painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row.note);
    } else if (row.gone) {
        painter.fillRect(rect, background);
        painter.drawText(CellRect(rect, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row.Cell(0));
        painter.drawText(rect.adjusted(hcPersons->sectionPosition(1), 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         row.note);
    } else {
        for (int k = 0; k < hcPersons->count(); ++k) {
            const QRect cell = CellRect(rect, k);
            painter.fillRect(cell, background);
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row.Cell(k));
        }
    }

    if (state.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        static_cast<QStyleOption&>(focus) = state;
        focus.rect = rect;
        focus.backgroundColor = background.color();
        lbPersons->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, lbPersons);
    }
    painter.restore();
}

void TfrmPersons::hcPersonsSectionResize()
{
    // Rows follow the header's length, so the list's horizontal range is laid out anew.
    lbPersons->doItemsLayout();
    lbPersons->viewport()->update();
}

void TfrmPersons::timerTimer()
{
    if (publisher)
        shown = publisher->Latest();
    lbPersons->viewport()->update();
}
