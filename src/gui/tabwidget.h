#pragma once

#include <QColor>
#include <QFrame>
#include <QMap>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QLabel;
class QModelIndex;
class QPushButton;
class QToolButton;
class QTreeView;

namespace veldra {

class FolderModel;
class TabWidgetPrivate;

// The left-hand pane: a tab with the indexed folders as a tree with picture
// counts, and a tab with buttons to search through the results again.
class TabWidget : public QFrame
{
    Q_OBJECT

public:
    enum Tab { FolderTab = 0, OptionsTab = 1 };

    explicit TabWidget(QWidget* parent = nullptr);
    ~TabWidget() override;

    // Rebuilds the folder tree from folder path -> thumbnails, all expanded.
    void setFolders(const QMap<QString, QStringList>& folders);
    // Makes the folder of that path current in the tree; unknown paths are
    // ignored.
    void selectFolder(const QString& path);
    bool isFolderTabActive() const;
    int currentTab() const;
    // The text colour of the window's background.
    void updateColor(const QColor& color);

    QPushButton* folderButton() const;
    QPushButton* optionsButton() const;
    QToolButton* colorSearchButton() const;
    QToolButton* moodSearchButton() const;
    QToolButton* faceSearchButton() const;
    QTreeView* folderView() const;
    FolderModel* folderModel() const;
    QLabel* descriptionLabel() const;

Q_SIGNALS:
    void tabChanged();
    void folderClicked(const QModelIndex& _index);

public Q_SLOTS:
    void setCurrentTab(int _currentId);
    // Records a drop on the index page: the pictures of the thumbnails move
    // to folder _dest at position index, and the tree's counts follow.
    void moveItems(const QString& _dest, int index, const QStringList& _files);

private:
    std::unique_ptr<TabWidgetPrivate> d;
};

} // namespace veldra
