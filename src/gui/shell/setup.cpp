#include "setup.h"

#include "guiresources.h"
#include "setupgeneral.h"
#include "setupsearch.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace veldra {

Setup::Setup(QWidget* parent)
    : QDialog(parent)
    , m_pageList(new QTreeWidget)
    , m_pages(new QStackedWidget)
    , m_buttons(new QDialogButtonBox(
          QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Reset))
{
    initGuiResources();
    setAttribute(Qt::WA_DeleteOnClose);
    resize(460, 340);

    m_pageList->setObjectName(QStringLiteral("m_pageList"));
    m_pageList->setColumnCount(2);
    m_pageList->setColumnHidden(1, true);
    m_pageList->header()->hide();
    m_pageList->setRootIsDecorated(false);
    m_pageList->setItemsExpandable(false);
    m_pageList->setFixedWidth(120);
    m_pages->setObjectName(QStringLiteral("m_pages"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_pageList);
    splitter->addWidget(m_pages);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_buttons);

    // Index 0 stays an empty placeholder: the page list's second column
    // holds the stack index of each page.
    m_pages->addWidget(new QWidget);
    m_general = new SetupGeneral;
    m_search = new SetupSearch;
    m_pages->insertWidget(1, m_general);
    m_pages->insertWidget(2, m_search);

    auto* general = new QTreeWidgetItem(m_pageList);
    general->setIcon(0, QIcon(QStringLiteral(":/new-16")));
    general->setText(1, QStringLiteral("1"));
    auto* search = new QTreeWidgetItem(m_pageList);
    search->setIcon(0, QIcon(QStringLiteral(":/search-16")));
    search->setText(1, QStringLiteral("2"));
    general->setSelected(true);
    retranslate();

    connect(m_pageList, &QTreeWidget::currentItemChanged, this, &Setup::slotChangePage);
    connect(m_buttons, &QDialogButtonBox::clicked, this, &Setup::slotClicked);
    // The dialog opens on the General page rather than on the placeholder.
    m_pageList->setCurrentItem(general);
}

void Setup::slotChangePage(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    QTreeWidgetItem* item = current ? current : previous;
    if (!item)
        return;
    setWindowTitle(tr("Preferences [%1]").arg(item->text(0)));
    setWindowIcon(item->icon(0));
    m_pages->setCurrentIndex(item->text(1).toInt());
}

void Setup::slotClicked(QAbstractButton* button)
{
    switch (m_buttons->standardButton(button)) {
    case QDialogButtonBox::Reset:
        m_general->reset();
        m_search->reset();
        break;
    case QDialogButtonBox::Save:
        m_general->save();
        m_search->save();
        accept();
        break;
    case QDialogButtonBox::Cancel:
        reject();
        break;
    default:
        break;
    }
}

void Setup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void Setup::retranslate()
{
    m_pageList->topLevelItem(0)->setText(0, tr("General"));
    m_pageList->topLevelItem(1)->setText(0, tr("Search"));
    if (QTreeWidgetItem* item = m_pageList->currentItem())
        setWindowTitle(tr("Preferences [%1]").arg(item->text(0)));
}

} // namespace veldra
