#include "businesscardpage.h"

#include "recognition/card/bcr.h"
#include "recognition/card/templatestore.h"
#include "recognitionpageframe.h"
#include "widgetbar.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFutureWatcher>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace veldra {

BusinessCardPage::BusinessCardPage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<RecognitionPageFrame>())
    , m_model(new QStringListModel(this))
    , m_watcher(new QFutureWatcher<std::vector<std::string>>(this))
{
    setObjectName(QStringLiteral("BusinessCardPage"));
    m_view = new QListView(this);
    m_view->setObjectName(QStringLiteral("m_view"));
    m_view->setModel(m_model);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);

    d->setup(this, m_view, "m_businessRecognizeBar", "m_businessResultBar",
        QStringLiteral(":/images/ocr.png"));
    d->loadForm->setObjectName(QStringLiteral("m_businessWidget"));
    d->loadFormLayout->setObjectName(QStringLiteral("m_businessWidgetLayout"));
    d->sourceLabel->setObjectName(QStringLiteral("m_businessLabel"));
    m_businessBtn = d->addButton(this, "m_businessBtn", false);
    retranslate();

    connect(m_watcher, &QFutureWatcher<std::vector<std::string>>::finished, this,
        &BusinessCardPage::finished);
    connect(m_businessBtn, &QToolButton::clicked, this, &BusinessCardPage::recognize);
}

BusinessCardPage::~BusinessCardPage()
{
    // The reading uses the recogniser; it must end before the recogniser goes.
    m_watcher->waitForFinished();
}

WidgetBar* BusinessCardPage::recognizeBar() const
{
    return d->recognizeBar;
}

WidgetBar* BusinessCardPage::resultBar() const
{
    return d->resultBar;
}

QLabel* BusinessCardPage::photoLabel() const
{
    return d->sourceLabel;
}

bool BusinessCardPage::isWorking() const
{
    return m_watcher->isRunning();
}

QStringList BusinessCardPage::resultLines() const
{
    return m_model->stringList();
}

void BusinessCardPage::recognize()
{
    if (!m_recognizer)
        m_recognizer = std::make_unique<BCR>(TemplateStore::installedFiles());
    const QString file = choosePhoto(
        this, QStringLiteral("RecognizeBusinessCardPath"), QStringLiteral("Businesscards"));
    if (!file.isEmpty())
        recognizeFile(file);
}

void BusinessCardPage::recognizeFile(const QString& fileName)
{
    if (!m_recognizer)
        m_recognizer = std::make_unique<BCR>(TemplateStore::installedFiles());
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    d->showPhoto(reader.read());
    m_model->setStringList({ tr("Please wait. OCR is working...") });

    // One recogniser never runs two readings at once.
    if (m_watcher->isRunning()) {
        m_watcher->cancel();
        m_watcher->waitForFinished();
    }
    BCR* recognizer = m_recognizer.get();
    const std::string path = QFile::encodeName(fileName).toStdString();
    m_watcher->setFuture(
        QtConcurrent::run([recognizer, path] { return recognizer->readCard(path); }));
}

void BusinessCardPage::finished()
{
    if (m_watcher->isCanceled() && !m_watcher->future().isResultReadyAt(0))
        return;
    QStringList lines;
    const std::vector<std::string> result = m_watcher->result();
    for (const std::string& line : result)
        lines << QString::fromLatin1(line.c_str(), qsizetype(line.size()));
    if (lines.isEmpty())
        lines
            = QStringList { tr("Trouble with file format."), tr("Can't read the card. Sorry. :(") };
    m_model->setStringList(lines);
    Q_EMIT recognized();
}

bool BusinessCardPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched->isWidgetType())
        stretchButtonPicture(static_cast<QWidget*>(watched));
    return QFrame::eventFilter(watched, event);
}

void BusinessCardPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void BusinessCardPage::retranslate()
{
    setWindowTitle(QStringLiteral("BusinessCardPage"));
    m_businessBtn->setText(tr("Load photo"));
    d->recognizeBar->setText(tr("Business Card OCR"));
    d->resultBar->setText(tr("OCR Result"));
}

} // namespace veldra
