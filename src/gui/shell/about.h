#pragma once

#include <QWidget>

class QLabel;
class QUrl;

namespace veldra {

// The small frameless window of the tool bar's help button: logo, name and
// version, the years and the maker, and a link to the product's web page.
// Links are handed out through openUrl(); a click closes the window.
class About : public QWidget
{
    Q_OBJECT

public:
    explicit About(QWidget* parent = nullptr);
    ~About() override;

    // "2008", followed by " - " and the current year when that is later.
    static QString yearsText(int currentYear);
    // Where a link of the About texts leads: links naming the maker go to the
    // product page on the maker's site, in German for language "German".
    static QUrl linkTarget(const QUrl& link, const QString& language);

Q_SIGNALS:
    void openUrl(const QUrl& _url);

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private Q_SLOTS:
    void slotOpenHttp(const QUrl& _url);

private:
    void retranslate();

    QLabel* txtLogo = nullptr;
    QLabel* txtLine1 = nullptr;
    QLabel* txtLine2 = nullptr;
    QLabel* txtLine3 = nullptr;
    bool m_pressed = false;
};

} // namespace veldra
