#pragma once

#include <QColor>
#include <QMainWindow>
#include <QModelIndex>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace veldra {

struct LumeraxGUIForm;

// The application's only window: frameless, with its own title bar, the tool
// bar that switches pages, the folder tabs, the stack of pages, the grid-size
// slider with the background buttons, and a status bar showing indexing
// progress. Wires the pages to the controller and the search manager.
class LumeraxGUI : public QMainWindow
{
    Q_OBJECT

public:
    // Opens the index database and shows the window.
    explicit LumeraxGUI(QWidget* parent = nullptr);
    ~LumeraxGUI() override;

    // The file-dialog filter of every image format the toolkit reads.
    static QString imageFileFilter(const QList<QByteArray>& formats);
    // Gives central the white or black background with text of the other
    // colour, which it returns for the bars that draw their own text.
    static QColor paintBackground(QWidget* central, bool white);

public Q_SLOTS:
    void slotOpenUrl(const QUrl& _url);
    void slotRealOpenUrl();

private Q_SLOTS:
    void showIndex();
    void showColorSearch();
    void showMoodSearch();
    void showFaceSearch();
    void showLicensePlateOcr();
    void showBusinessCardOcr();
    void indexViewClicked(const QModelIndex& _index);
    void folderViewClicked(const QModelIndex& _index);
    void indexStarted();
    void indexFinished();
    void searchFinished();
    void changeBackgroundColor(int _index);
    void tabChanged();
    void progressStatusChanged(int _progress);
    void showSetup();
    void showAbout();
    void addToIndex();
    // Asks before taking the pictures out of the index; the files stay.
    void removeFromIndex(const QStringList& _thumbnails);
    void connectSlider();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showPage(QWidget* page);
    void makeCurrent(QWidget* page);
    void synchronizeToolBar();
    void applyTabRule();
    void reloadIndex();

    std::unique_ptr<LumeraxGUIForm> ui;
    int lastPageIndex = -1;
    QUrl pendingUrl;
};

} // namespace veldra
