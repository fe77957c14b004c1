#pragma once

#include <QDialog>

class QAbstractButton;
class QDialogButtonBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace veldra {

class SetupGeneral;
class SetupSearch;

// The Preferences dialog: a list of pages on the left, the page on the right,
// Save, Cancel and Reset below. Deletes itself when closed.
class Setup : public QDialog
{
    Q_OBJECT

public:
    explicit Setup(QWidget* parent = nullptr);

    SetupGeneral* generalPage() const { return m_general; }
    SetupSearch* searchPage() const { return m_search; }

private Q_SLOTS:
    void slotChangePage(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void slotClicked(QAbstractButton* button);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QTreeWidget* m_pageList = nullptr;
    QStackedWidget* m_pages = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    SetupGeneral* m_general = nullptr;
    SetupSearch* m_search = nullptr;
};

} // namespace veldra
