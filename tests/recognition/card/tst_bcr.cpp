#include "cardtestimages.h"

#include "recognition/card/bcr.h"
#include "recognition/card/templatestore.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

using namespace veldra;
using namespace veldra::test;

namespace {

std::list<std::string> templates()
{
    return TemplateStore::filesIn(QStringLiteral(LUMERAX_CARD_TEMPLATES));
}

const QStringList cardText { "Jens Becker", "Hauptstraße 12", "10115 Berlin", "Tel. 030 4567" };

// Share of the expected text found, by edit distance.
double accuracy(const std::vector<std::string>& lines, const QStringList& expected)
{
    QString read;
    for (const std::string& line : lines)
        read += QString::fromLatin1(line.c_str()) + QLatin1Char('\n');
    const QString truth = expected.join(QLatin1Char('\n')) + QLatin1Char('\n');
    std::vector<int> previous(size_t(truth.size()) + 1), current(previous.size());
    for (int j = 0; j <= truth.size(); ++j)
        previous[size_t(j)] = j;
    for (int i = 1; i <= read.size(); ++i) {
        current[0] = i;
        for (int j = 1; j <= truth.size(); ++j)
            current[size_t(j)] = std::min({ previous[size_t(j)] + 1, current[size_t(j) - 1] + 1,
                previous[size_t(j) - 1] + (read[i - 1] == truth[j - 1] ? 0 : 1) });
        std::swap(previous, current);
    }
    return 1.0 - double(previous[size_t(truth.size())]) / truth.size();
}

} // namespace

class TestBcr : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_card;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(templates().size() > 100);
        m_card = m_dir.filePath("card.jpg");
        QVERIFY(writeFile(m_card, jpegBytes(cardPhoto(cardText, 1600, 1000, 52))));
    }

    void unreadableFilesGiveNoLines_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("empty path") << QString();
        QTest::newRow("missing") << m_dir.filePath("missing.jpg");
        QTest::newRow("png") << m_dir.filePath("card.png");
        QTest::newRow("truncated") << m_dir.filePath("truncated.jpg");
    }
    void unreadableFilesGiveNoLines()
    {
        QFETCH(QString, file);
        cardPhoto(cardText, 800, 500, 30).save(m_dir.filePath("card.png"));
        QFile card(m_card);
        QVERIFY(card.open(QIODevice::ReadOnly));
        QVERIFY(writeFile(m_dir.filePath("truncated.jpg"), card.readAll().left(3000)));
        BCR reader(templates());
        QTest::ignoreMessage(QtWarningMsg, "BCR: Error loading Image: Image is empty!");
        QVERIFY(reader.readCard(file.toStdString()).empty());
    }

    void readsACard()
    {
        BCR reader(templates());
        const std::vector<std::string> lines = reader.readCard(m_card.toStdString());
        QCOMPARE(int(lines.size()), cardText.size());
        const double share = accuracy(lines, cardText);
        QVERIFY2(share > 0.85, qPrintable(QString::number(share)));
        // The same reader gives the same lines again.
        QCOMPARE(reader.readCard(m_card.toStdString()), lines);
    }

    void turnedPhotosReadAlike_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::newRow("stored turned, orientation 6") << 6;
        QTest::newRow("stored turned, orientation 8") << 8;
    }
    void turnedPhotosReadAlike()
    {
        QFETCH(int, orientation);
        QTransform turn;
        turn.rotate(orientation == 6 ? -90 : 90);
        const QImage stored = cardPhoto(cardText, 1600, 1000, 52).transformed(turn);
        const QString file = m_dir.filePath("turned.jpg");
        QVERIFY(writeFile(file, withOrientation(jpegBytes(stored), orientation, orientation == 8)));
        BCR reader(templates());
        const std::vector<std::string> lines = reader.readCard(file.toStdString());
        QVERIFY2(accuracy(lines, cardText) > 0.85,
            lines.empty() ? "nothing read" : lines.front().c_str());
    }

    void portraitPhoto()
    {
        // A card set upright in a portrait photo: the working copies are
        // scaled by height.
        const QString file = m_dir.filePath("portrait.jpg");
        QVERIFY(writeFile(file, jpegBytes(cardPhoto(cardText, 1000, 1600, 40))));
        BCR reader(templates());
        const std::vector<std::string> lines = reader.readCard(file.toStdString());
        QVERIFY2(accuracy(lines, cardText) > 0.8,
            lines.empty() ? "nothing read" : lines.front().c_str());
    }

    void withoutTemplatesEveryCharacterIsADash()
    {
        BCR reader({});
        const std::vector<std::string> lines = reader.readCard(m_card.toStdString());
        QVERIFY(!lines.empty());
        for (const std::string& line : lines)
            for (char c : line)
                QVERIFY2(std::string("- '.,:;").find(c) != std::string::npos, line.c_str());
    }

    void blankCardHasNoLines()
    {
        const QString file = m_dir.filePath("blank.jpg");
        QVERIFY(writeFile(file, jpegBytes(cardPhoto({}, 1600, 1000, 52))));
        BCR reader(templates());
        QVERIFY(reader.readCard(file.toStdString()).empty());
    }
};

QTEST_MAIN(TestBcr)
#include "tst_bcr.moc"
