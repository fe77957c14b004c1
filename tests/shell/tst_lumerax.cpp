#include "shell/lumerax.h"
#include "support/testindex.h"

#include <QSqlQuery>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

class TestLumerax : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_index.reset(new TestIndex); }
    void cleanup()
    {
        delete Lumerax::instance();
        m_index.reset();
    }

    void instanceIsCreatedOnceAndAfterDestruction()
    {
        Lumerax* first = Lumerax::instance();
        QCOMPARE(Lumerax::instance(), first);
        QVERIFY(first->parent() == nullptr);
        {
            QObject window;
            first->setParent(&window);
        }
        Lumerax* second = Lumerax::instance();
        QVERIFY(second);
        QCOMPARE(Lumerax::instance(), second);
    }

    void typedSettings()
    {
        Lumerax* lumerax = Lumerax::instance();
        QVERIFY(!lumerax->setting(ThumbnailSizeSetting).isValid());
        QCOMPARE(lumerax->setting(SimilaritySetting).toInt(), 0);
        QCOMPARE(lumerax->setting(DatabaseSetting).toString(), QString("lumerax"));
        QVERIFY(!lumerax->setting(7).isValid());

        lumerax->setSetting(ThumbnailSizeSetting, 180);
        QCOMPARE(lumerax->setting(ThumbnailSizeSetting).toInt(), 180);
        QCOMPARE(Config::instance()->value("Lumerax", "Thumbnails").toBool(), true);
        lumerax->setSetting(SimilaritySetting, 2);
        QCOMPARE(Config::instance()->value("Lumerax", "Similarity").toInt(), 2);

        lumerax->setSetting(ResetSettings, QVariant());
        QVERIFY(!lumerax->setting(ThumbnailSizeSetting).isValid());
        QCOMPARE(lumerax->setting(SimilaritySetting).toInt(), 0);
    }

    void changingTheDatabaseReopens()
    {
        Lumerax* lumerax = Lumerax::instance();
        lumerax->setSetting(DatabaseSetting, ":memory:");
        QVERIFY(QSqlQuery(IndexDatabase::connection())
                    .exec("insert into folder ( path ) values ( '/x' )"));
        // The same name again keeps the open (in-memory) database and its rows.
        lumerax->setSetting(DatabaseSetting, ":memory:");
        QCOMPARE(TestIndex::scalar("select count(*) from folder").toInt(), 1);

        lumerax->setSetting(ResetSettings, QVariant());
        QCOMPARE(lumerax->setting(DatabaseSetting).toString(), QString("lumerax"));
        QCOMPARE(TestIndex::scalar("select count(*) from folder").toInt(), 0);
        QVERIFY(QFile::exists(m_index->dataPath() + "/lumerax.db"));
    }

private:
    std::unique_ptr<TestIndex> m_index;
};

QTEST_GUILESS_MAIN(TestLumerax)
#include "tst_lumerax.moc"
