// Favourites: the record value, the menu items, the load from the settings
// store and the writes through to it.
#include "TestSandbox.h"
#include "store/AppPaths.h"
#include "store/FavMenuItems.h"
#include "store/FavRecord.h"
#include "store/Module1.h"

#include <QAction>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

class TestFavourites : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestSandbox> m_sandbox;

    // Writes the store the way an earlier run (or a hand edit) left it.
    void store(const QMap<QString, QString> &values) const
    {
        QSettings settings(m_sandbox->settingsPath(), QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue("Favorites/" + it.key(), it.value());
        settings.sync();
    }
    QVariant stored(const QString &key) const
    {
        return QSettings(m_sandbox->settingsPath(), QSettings::IniFormat).value("Favorites/" + key);
    }
    QStringList captions(const FavMenuItems &items) const
    {
        QStringList all;
        for (int i = 0; i < items.count(); ++i)
            all.append(items.caption(i));
        return all;
    }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<TestSandbox>();
        Module1::reset();
    }
    void cleanup() { m_sandbox.reset(); }

    // --- The record value ---

    void splitsRecord_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << "Site&http://a.tld/" << true << "Site"
                               << "http://a.tld/";
        QTest::newRow("separator first") << "&http://a.tld/" << true << ""
                                         << "http://a.tld/";
        QTest::newRow("separator last") << "Site&" << true << "Site"
                                        << "";
        QTest::newRow("only separator") << "&" << true << ""
                                        << "";
        QTest::newRow("several separators") << "A&http://x/?a=1&b=2" << true << "A"
                                            << "http://x/?a=1&b=2";
        QTest::newRow("no separator") << "Site http://a.tld/" << false << ""
                                      << "";
        QTest::newRow("empty") << "" << false << ""
                               << "";
        QTest::newRow("encoded ampersand")
            << "Tom %26 Jerry&http://tj.tld/" << true << "Tom & Jerry"
            << "http://tj.tld/";
        QTest::newRow("encoded percent") << "100%25 off&u" << true << "100% off"
                                         << "u";
        QTest::newRow("encoded escape") << "%2526&u" << true << "%26"
                                        << "u";
        QTest::newRow("other escapes kept") << "%41%2%&u" << true << "%41%2%"
                                            << "u";
        QTest::newRow("address escapes kept") << "N&http://x/%26%25" << true << "N"
                                              << "http://x/%26%25";
    }
    void splitsRecord()
    {
        QFETCH(QString, value);
        QFETCH(bool, ok);
        QFETCH(QString, name);
        QFETCH(QString, address);
        QString gotName;
        QString gotAddress;
        QCOMPARE(FavRecord::split(value, &gotName, &gotAddress), ok);
        QCOMPARE(gotName, name);
        QCOMPARE(gotAddress, address);
    }

    void namesComeBackWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "Site"
                               << "Site&http://a/";
        QTest::newRow("ampersand first") << "&Site"
                                         << "%26Site&http://a/";
        QTest::newRow("ampersand last") << "Site&"
                                        << "Site%26&http://a/";
        QTest::newRow("several") << "A&B&&C"
                                 << "A%26B%26%26C&http://a/";
        QTest::newRow("percent") << "50% & more"
                                 << "50%25 %26 more&http://a/";
        QTest::newRow("looks encoded") << "%26%25"
                                       << "%2526%2525&http://a/";
        QTest::newRow("empty") << ""
                               << "&http://a/";
    }
    void namesComeBackWhole()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(FavRecord::join(name, "http://a/"), value);
        QString back;
        QString address;
        QVERIFY(FavRecord::split(value, &back, &address));
        QCOMPARE(back, name);
        QCOMPARE(address, QStringLiteral("http://a/"));
    }

    // --- Menu items ---

    void menuStartsWithGoogle()
    {
        QMenu menu;
        menu.addAction("Add to Favorites");
        menu.addSeparator();
        FavMenuItems items(&menu);
        QCOMPARE(items.count(), 1);
        QCOMPARE(items.caption(0), QStringLiteral("Google"));
        QAction *google = items.item(0);
        QVERIFY(google);
        QCOMPARE(menu.actions().last(), google);
        QCOMPARE(google->objectName(), QStringLiteral("mnuItemSite"));
        QCOMPARE(google->property("index").toInt(), 0);
        QCOMPARE(google->text(), QStringLiteral("Google"));
    }

    void itemsLoadAndUnloadAtTheEnd()
    {
        QMenu menu;
        FavMenuItems items(&menu);
        QAction *one = items.load(1);
        QAction *two = items.load(2);
        QVERIFY(one && two);
        QCOMPARE(items.count(), 3);
        QCOMPARE(two->property("index").toInt(), 2);
        QCOMPARE(menu.actions(), (QList<QAction *>{items.item(0), one, two}));
        QCOMPARE(menu.findChildren<QAction *>("mnuItemSite").size(), 3);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("load: index 5"));
        QCOMPARE(items.load(5), nullptr);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unload"));
        items.unload(1); // not the last one
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unload"));
        items.unload(0);
        QCOMPARE(items.count(), 3);

        QPointer<QAction> gone(two);
        items.unload(2);
        QCOMPARE(items.count(), 2);
        QVERIFY(gone.isNull());
        QCOMPARE(menu.actions().size(), 2);
        QCOMPARE(items.load(2)->property("index").toInt(), 2);
    }

    void captionsShowAmpersandLiterally()
    {
        QMenu menu;
        FavMenuItems items(&menu);
        items.load(1);
        items.setCaption(1, "Tom & Jerry &");
        QCOMPARE(items.caption(1), QStringLiteral("Tom & Jerry &"));
        QCOMPARE(items.item(1)->text(), QStringLiteral("Tom && Jerry &&"));
    }

    void triggeredGivesIndex()
    {
        QMenu menu;
        FavMenuItems items(&menu);
        items.load(1);
        items.load(2);
        QSignalSpy spy(&items, &FavMenuItems::triggered);
        items.item(2)->trigger();
        items.item(0)->trigger();
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 0);
    }

    // --- Address table ---

    void tableBounds()
    {
        Module1::SetFavUrl(0, "http://www.google.com/");
        Module1::SetFavUrl(200, "last");
        QCOMPARE(Module1::GetFavUrl(0), QStringLiteral("http://www.google.com/"));
        QCOMPARE(Module1::GetFavUrl(200), QStringLiteral("last"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SetFavUrl.*201"));
        Module1::SetFavUrl(201, "x");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SetFavUrl.*-1"));
        Module1::SetFavUrl(-1, "x");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("GetFavUrl.*201"));
        QCOMPARE(Module1::GetFavUrl(201), QString());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("GetFavUrl.*-5"));
        QCOMPARE(Module1::GetFavUrl(-5), QString());
    }

    // --- Loading the menu ---

    void emptyStoreLeavesGoogleOnly()
    {
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(captions(items), QStringList{"Google"});
        QCOMPARE(Module1::GetFavUrl(1), QString());
    }

    void loadsUpToFirstMissingKey()
    {
        store({{"1", "One&http://one/"}, {"2", "Two&http://two/"}, {"4", "Four&http://four/"}});
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(captions(items), (QStringList{"Google", "One", "Two"}));
        QCOMPARE(Module1::GetFavUrl(1), QStringLiteral("http://one/"));
        QCOMPARE(Module1::GetFavUrl(2), QStringLiteral("http://two/"));
        QCOMPARE(Module1::GetFavUrl(3), QString());
        QCOMPARE(Module1::GetFavUrl(4), QString());
        QVERIFY(items.item(2)->isVisible());
    }

    void valueWithoutSeparatorEndsLoad()
    {
        store({{"1", "One&a"}, {"2", "Two&b"}, {"3", "no separator"}, {"4", "Four&d"}});
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(items.count(), 3);
    }

    void loadsOddSeparators()
    {
        store({{"1", "&http://noname/"},
               {"2", "NoAddress&"},
               {"3", "A&http://x/?a=1&b=2&"},
               {"4", "Tom %26 Jerry%26&http://tj/"},
               {"5", "%26first&http://f/"},
               {"6", "100%25 %26 more&http://m/"},
               {"7", "Old name, with comma&http://old/"}});
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(captions(items), (QStringList{"Google", "", "NoAddress", "A", "Tom & Jerry&",
                                               "&first", "100% & more", "Old name, with comma"}));
        const QStringList addresses{"http://noname/", "",          "http://x/?a=1&b=2&",
                                    "http://tj/",     "http://f/", "http://m/",
                                    "http://old/"};
        for (int slot = 1; slot <= 7; ++slot)
            QCOMPARE(Module1::GetFavUrl(slot), addresses.at(slot - 1));
        QCOMPARE(items.item(4)->text(), QStringLiteral("Tom && Jerry&&"));
    }

    void key201IsNeverLoaded()
    {
        QMap<QString, QString> values;
        for (int key = 1; key <= 205; ++key)
            values.insert(QString::number(key), QString("F%1&http://f%1/").arg(key));
        store(values);
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(items.count(), 201);
        QCOMPARE(items.caption(200), QStringLiteral("F200"));
        QCOMPARE(Module1::GetFavUrl(200), QStringLiteral("http://f200/"));
        QCOMPARE(menu.actions().size(), 201);
    }

    // --- Writing through to the store ---

    void saveWritesThrough()
    {
        QVERIFY(Module1::SaveFav("Tom & Jerry", "http://tj.tld/?a=1&b=2", 1));
        QVERIFY(Module1::SaveFav("Plain", "http://p.tld/", 12));
        QCOMPARE(stored("1").toString(), QStringLiteral("Tom %26 Jerry&http://tj.tld/?a=1&b=2"));
        QCOMPARE(stored("12").toString(), QStringLiteral("Plain&http://p.tld/"));
        QVERIFY(Module1::SaveFav("Renamed", "http://p.tld/", 12));
        QCOMPARE(stored("12").toString(), QStringLiteral("Renamed&http://p.tld/"));

        // The next start reads the name back whole.
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(items.caption(1), QStringLiteral("Tom & Jerry"));
        QCOMPARE(Module1::GetFavUrl(1), QStringLiteral("http://tj.tld/?a=1&b=2"));
    }

    void saveRefusesSlotsWithoutKey_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("built-in slot") << 0;
        QTest::newRow("beyond capacity") << 201;
        QTest::newRow("negative") << -3;
    }
    void saveRefusesSlotsWithoutKey()
    {
        QFETCH(int, slot);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SaveFav"));
        QVERIFY(!Module1::SaveFav("N", "http://a/", slot));
        QVERIFY(!stored(QString::number(slot)).isValid());
    }

    void unwritableStoreReportsFailure()
    {
        // A settings file whose folder is a plain file can never be written,
        // and neither can the fallback here.
        m_sandbox->writeFile("blocker", "x");
        AppPaths::setSettingsPath(m_sandbox->filePath("blocker") + "/Corvane.conf");
        AppPaths::setFallbackFolder(m_sandbox->filePath("blocker") + "/fallback");
        QVERIFY(!Module1::SaveFav("N", "http://a/", 1));
        Module1::DeleteFav(1);
    }

    void storeThatCannotBeWrittenInPlaceMovesToFallback()
    {
        m_sandbox->writeFile("blocker", "x");
        AppPaths::setSettingsPath(m_sandbox->filePath("blocker") + "/Corvane.conf");
        QVERIFY(Module1::SaveFav("N", "http://a/", 1));
        QSettings fallback(m_sandbox->fallbackFolder() + "/Corvane.conf", QSettings::IniFormat);
        QCOMPARE(fallback.value("Favorites/1").toString(), QStringLiteral("N&http://a/"));
    }

    // Left behind by a copy of Corvane killed while saving.
    void lockWithoutOwnerDoesNotStallSave()
    {
        store({{"1", "One&a"}});
        QFile lock(m_sandbox->settingsPath() + ".lock");
        QVERIFY(lock.open(QIODevice::WriteOnly)); // empty: no process id in it
        lock.close();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(Module1::SaveFav("Two", "b", 2));
        // A stale lock would hold the save for 30 s; anything well below is fine.
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(stored("2").toString(), QStringLiteral("Two&b"));
    }

    void oldTemporaryCopiesGoAtStart()
    {
        store({{"1", "One&a"}});
        const QString folder = QFileInfo(m_sandbox->settingsPath()).path();
        const QStringList names{"Corvane.conf.aB3xY9", "Corvane.conf.Qw12Er", "Corvane.conf.bak",
                                "Corvane.conf.aB3xY9x"};
        for (const QString &name : names) {
            QFile file(folder + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (name != "Corvane.conf.Qw12Er") // that one is a save under way
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
        }
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(items.count(), 2);
        QVERIFY(!QFile::exists(folder + "/Corvane.conf.aB3xY9"));
        for (const char *kept : {"Corvane.conf.Qw12Er", "Corvane.conf.bak", "Corvane.conf.aB3xY9x"})
            QVERIFY2(QFile::exists(folder + "/" + kept), kept);
    }

    void saveOverJunkLinesSucceeds()
    {
        QFile file(m_sandbox->settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("junk\n[Favorites]\n2=Two&b\nno equals sign\n1=One&a\n");
        file.close();
        QVERIFY(Module1::SaveFav("Three", "c", 3));
        QMenu menu;
        FavMenuItems items(&menu);
        Module1::LoadFavMenu(items);
        QCOMPARE(captions(items), (QStringList{"Google", "One", "Two", "Three"}));
    }

    void deleteWritesThrough()
    {
        store({{"1", "One&a"}, {"2", "Two&b"}});
        Module1::DeleteFav(2);
        QVERIFY(!stored("2").isValid());
        QCOMPARE(stored("1").toString(), QStringLiteral("One&a"));
        Module1::DeleteFav(2); // a missing key is no failure
        Module1::DeleteFav(0);
        QCOMPARE(stored("1").toString(), QStringLiteral("One&a"));
    }
};

QTEST_MAIN(TestFavourites)
#include "tst_favourites.moc"
