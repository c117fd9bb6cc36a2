#pragma once
// The field picker of the table data view: at rest one read-only line with the chosen
// field names joined by "|"; while the mouse is over it, the list of every field with a
// check box, raised over the widgets below. The list's check states are the choice.
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

class fld_wt : public QWidget {
    Q_OBJECT
public:
    explicit fld_wt(QWidget* parent = nullptr);
    ~fld_wt() override;

    // Height of the expanded list at most (it wraps into further columns beyond it).
    static constexpr int list_height_cap = 360;

signals:
    // Some item's text or check state changed.
    void field_changed();

public slots:
    void add_fields(QString f, bool checked);
    void cls_fields();
    QListWidget* list();
    void item_changed(QListWidgetItem* item);
    void enterEvent(QEvent* e) override;
    void leaveEvent(QEvent* e) override;

public:
    // The checked item texts in list order, joined by "|".
    QString summary_of_checked() const;
    // The summary line (read-only); tests read what it shows.
    QLineEdit* summary_line() const { return summary_; }
    bool expanded() const { return expanded_; }

private:
    void show_summary(const QString& text);
    int fitted_list_height() const;

    QListWidget* list_ = nullptr;
    QLineEdit* summary_ = nullptr;
    bool expanded_ = false;
};
