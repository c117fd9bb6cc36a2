#include "dataview/fld_wt.h"

#include <QLineEdit>
#include <QListWidget>
#include <QListWidgetItem>

#include <algorithm>

#include "ui_base/slot_guard.h"

namespace {
constexpr int picker_width = 500;
constexpr int picker_height = 30;
constexpr int expanded_list_width = 480;
}  // namespace

fld_wt::fld_wt(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(picker_width, picker_height);
    raise();

    list_ = new QListWidget(this);
    list_->setFrameShape(QFrame::Box);
    list_->setFrameShadow(QFrame::Plain);
    list_->setFlow(QListView::LeftToRight);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setViewMode(QListView::ListMode);
    list_->setIconSize(QSize(8, 8));
    connect(list_, &QListWidget::itemChanged, this, &fld_wt::item_changed);

    summary_ = new QLineEdit(this);
    summary_->setFrame(false);
    summary_->setReadOnly(true);
    summary_->raise();
    summary_->resize(size());
}

fld_wt::~fld_wt() = default;

void fld_wt::add_fields(QString f, bool checked)
{
    slot_guard("add_fields", [&] {
        auto* item = new QListWidgetItem(list_);
        item->setText(f);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        QString text = summary_->text();
        if (checked) text = text.isEmpty() ? f : text + QLatin1Char('|') + f;
        show_summary(text);
    });
}

void fld_wt::cls_fields() { list_->clear(); }

QListWidget* fld_wt::list() { return list_; }

void fld_wt::item_changed(QListWidgetItem*) { emit field_changed(); }

void fld_wt::enterEvent(QEvent* e)
{
    QWidget::enterEvent(e);
    if (!isEnabled()) return;
    list_->setFlow(QListView::TopToBottom);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(16, 16));
    // The list is as tall as its items need (up to the cap), so the whole choice shows at once.
    const int h = fitted_list_height();
    list_->resize(expanded_list_width, h);
    resize(picker_width, h);
    list_->raise();
    summary_->lower();
    expanded_ = true;
}

void fld_wt::leaveEvent(QEvent* e)
{
    slot_guard("leaveEvent", [&] {
        QWidget::leaveEvent(e);
        if (!isEnabled()) return;
        list_->setFlow(QListView::LeftToRight);
        list_->setViewMode(QListView::ListMode);
        resize(picker_width, picker_height);
        summary_->raise();
        list_->lower();
        expanded_ = false;
        show_summary(summary_of_checked());
    });
}

QString fld_wt::summary_of_checked() const
{
    QStringList names;
    for (int i = 0; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        if (item->checkState() == Qt::Checked) names << item->text();
    }
    return names.join(QLatin1Char('|'));
}

void fld_wt::show_summary(const QString& text)
{
    summary_->setText(text);
    summary_->setCursorPosition(0);
    summary_->raise();
    summary_->resize(size());
}

int fld_wt::fitted_list_height() const
{
    // One column of every item, plus the frame and the spacing around each item.
    int h = 2 * list_->frameWidth() + list_->spacing();
    for (int i = 0; i < list_->count(); ++i) h += std::max(list_->sizeHintForRow(i), 1) + list_->spacing();
    // A little slack so a last item never sits under the frame's edge.
    h += 4;
    return std::clamp(h, picker_height, list_height_cap);
}
