#include "about.h"

#include "guiresources.h"

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

namespace veldra {

namespace {

// The maker's site; the product page lies below it, per language.
constexpr auto makerAddress = "https://www.veldra.example";

} // namespace

About::About(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , txtLogo(new QLabel)
    , txtLine1(new QLabel)
    , txtLine2(new QLabel)
    , txtLine3(new QLabel)
{
    initGuiResources();
    setAttribute(Qt::WA_DeleteOnClose);
    // Links activated in the texts come back here instead of going straight
    // to the browser, so the main window decides when they open.
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "slotOpenHttp");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "slotOpenHttp");

    txtLogo->setObjectName(QStringLiteral("txtLogo"));
    txtLine1->setObjectName(QStringLiteral("txtLine1"));
    txtLine2->setObjectName(QStringLiteral("txtLine2"));
    txtLine3->setObjectName(QStringLiteral("txtLine3"));
    txtLogo->setPixmap(QPixmap(QStringLiteral(":/lumerax")));
    txtLogo->setAlignment(Qt::AlignCenter);
    for (QLabel* line : { txtLine1, txtLine2, txtLine3 })
        line->setAlignment(Qt::AlignCenter);
    txtLine3->setTextFormat(Qt::RichText);
    txtLine3->setOpenExternalLinks(true);
    txtLine3->setTextInteractionFlags(Qt::LinksAccessibleByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(txtLogo);
    layout->addWidget(txtLine1);
    layout->addWidget(txtLine2);
    layout->addWidget(txtLine3);
    setObjectName(QStringLiteral("About"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "#About { background-color: rgb( 34, 34, 34 ); border: 1px solid rgb( 238, 125, 17 ); }"
        "QLabel { color: rgb( 222, 222, 222 ); background: transparent; }"));
    retranslate();
}

About::~About()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

QString About::yearsText(int currentYear)
{
    QString years = QStringLiteral("2008");
    if (currentYear > 2008)
        years += QStringLiteral(" - %1").arg(currentYear);
    return years;
}

QUrl About::linkTarget(const QUrl& link, const QString& language)
{
    const QString languagePath
        = language == QLatin1String("German") ? QStringLiteral("/de") : QString();
    if (link.toString().contains(QLatin1String("veldra")))
        return QUrl(
            QStringLiteral("%1%2/lumeraxapp").arg(QString::fromLatin1(makerAddress), languagePath));
    return link;
}

void About::retranslate()
{
    txtLine1->setText(tr("<b>%1</b> - %2 %3")
                          .arg(QStringLiteral("LUMERAX"), QCoreApplication::applicationName(),
                              QCoreApplication::applicationVersion()));
    txtLine2->setText(
        tr("Copyright %1 %2")
            .arg(yearsText(QDate::currentDate().year()), QCoreApplication::organizationName()));
    const QString product = QString::fromLatin1(makerAddress) + QStringLiteral("/lumeraxapp");
    // The colour goes with the link itself: style sheets do not reach it.
    const QString link = QStringLiteral("<a href=\"%1\" style=\"color: #ee7d11;\">%2</a>")
                             .arg(product, QUrl(product).host() + QUrl(product).path());
    txtLine3->setText(tr("Visit %1 for news and updates").arg(link));
}

void About::slotOpenHttp(const QUrl& url)
{
    if (url.isEmpty() || !url.isValid())
        return;
    const QString language = QSettings()
                                 .value(QStringLiteral("Language"),
                                     QLocale::languageToString(QLocale::system().language()))
                                 .toString();
    Q_EMIT openUrl(linkTarget(url, language));
    close();
}

void About::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void About::mousePressEvent(QMouseEvent*)
{
    m_pressed = true;
}

void About::mouseReleaseEvent(QMouseEvent*)
{
    if (m_pressed)
        close();
}

} // namespace veldra
